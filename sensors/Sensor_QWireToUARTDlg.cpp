#include "sensors/Sensor_QWireToUARTDlg.h"

#include <iterator>
#include <optional>

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/StepMachine.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace converter_ids;
using sensor_steps::Input;
using telemetry::ExchangeValueText;

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:5(Host)/6(Remote)";
constexpr const char* kAppIdHint = "Application ID:    Range:0-15    Default:0(Host)/1(Remote)";
constexpr const char* kBaudHint = "BaudRate:    Value:300,600,1200,2400,4800,9600    Default:300";
constexpr const char* kAdc1Hint = "ADC1:    Range:0-3.3V    Precise:0.1V";
constexpr const char* kAdc2Hint = "ADC2:    Range:0-3.3V    Precise:0.1V";

constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kAppIdLabel, kAppIdHint, kAppIdEdit},
    {kBaudLabel, kBaudHint, kBaudEdit},
    {kAdc1Label, kAdc1Hint, kAdc1Edit},
    {kAdc2Label, kAdc2Hint, kAdc2Edit},
    {kEnableSelfCorrect, "Enable self-correct:    Default:0"},
    {kDisableSelfCorrect, "Disable self-correct:    Default:0"},
    {kTxEnable, "TX enable:    TX enable when disable self-correct"},
    {kTxDisable, "TX disable:    Receive only mode"},
};

// The converter is configured on 0xFD00 plus its application ID, taken as a whole byte.
constexpr WORD kStreams[] = {0xFD00};

// The UART rates the converter knows, by their code.
constexpr int kBaudRates[] = {300, 600, 1200, 2400, 4800, 9600};
constexpr int kBaudCodeCount = static_cast<int>(std::size(kBaudRates));

CSensor_QWireToUARTDlg& Converter(CSensorPage& page) {
    return static_cast<CSensor_QWireToUARTDlg&>(page);
}

// The code of the rate typed into the baud edit (read as every edit that feeds a Write: leading
// blanks, a sign, the digits up to the first other character). A rate the converter does not
// know has no code: sending code 0 for it would set 300 baud and cut the user's UART link.
std::optional<int> TypedBaudCode(CSensorPage& page) {
    const int rate = sensor_steps::EditNumber(page, kBaudEdit);
    for (int code = 0; code < kBaudCodeCount; ++code)
        if (kBaudRates[code] == rate) return code;
    return std::nullopt;
}

// The radio indexes as the bus values they stand for.
std::optional<int> SelfCorrectValue(CSensorPage& page) {
    return Converter(page).m_nSelfCorrect == 0 ? 1 : 0;
}
std::optional<int> TxValue(CSensorPage& page) {
    return Converter(page).m_nTxMode == 0 ? 1 : 0;
}

// What a Read shows: the rate of the code (nothing for a code the page does not know), and the
// radio groups from the switches.
void ShowBaudText(CSensorPage& page, int id, const BYTE* body) {
    const int code = body[4];
    CString text;
    if (code < kBaudCodeCount) text.Format("%d", kBaudRates[code]);
    page.SetDlgItemText(id, text);
}
void ShowSelfCorrect(CSensorPage& page, int, const BYTE* body) {
    Converter(page).m_nSelfCorrect = body[4] == 1 ? 0 : 1;
    page.RefreshDisplay();
}
void ShowTxMode(CSensorPage& page, int, const BYTE* body) {
    Converter(page).m_nTxMode = body[4] == 1 ? 0 : 1;
    page.RefreshDisplay();
}

Input PageInput(sensor_steps::ReadFn read) {
    return Input{.source = Input::Source::Page, .read = read};
}

// The standard machines less the data rate: three stream polls in the Read, the baud code,
// self-correct and transmit mode read after the firmware and written before the IDs.
const sensor_steps::StandardMachines& ConverterMachines() {
    using namespace converter_params;
    static const sensor_steps::StandardMachines machines({
        .readPolls = 3,
        .shown = {{0, kBaudCode, ShowBaudText, kBaudEdit},
                  {0, kSelfCorrect, ShowSelfCorrect, kEnableSelfCorrect},
                  {0, kTxMode, ShowTxMode, kTxEnable}},
        .written = {{0, kBaudCode, PageInput(TypedBaudCode)},
                    {0, kSelfCorrect, PageInput(SelfCorrectValue)},
                    {0, kTxMode, PageInput(TxValue)}},
        .readFactor = 7.5,
        .writeFactor = 5.5,
        .defaultFactor = 17,
    });
    return machines;
}

}  // namespace

const platform::MessageMap* CSensor_QWireToUARTDlg::GetMessageMap() const {
    using Self = CSensor_QWireToUARTDlg;
    static const platform::MessageMap map{
        CSensorPage::GetMessageMap(),
        {
            platform::OnBnClicked(kEnableSelfCorrect, &Self::OnBnClickedEnableSelfCorrect),
            platform::OnBnClicked(kDisableSelfCorrect, &Self::OnBnClickedDisableSelfCorrect),
            platform::OnBnClicked(kTxEnable, &Self::OnBnClickedTxEnable),
            platform::OnBnClicked(kTxDisable, &Self::OnBnClickedTxDisable),
        }};
    return &map;
}

void CSensor_QWireToUARTDlg::OnBnClickedEnableSelfCorrect() {
    m_nSelfCorrect = 0;
    EnableItem(kTxEnable, TRUE);
    EnableItem(kTxDisable, TRUE);
    RefreshDisplay();
}

void CSensor_QWireToUARTDlg::OnBnClickedDisableSelfCorrect() {
    m_nSelfCorrect = 1;
    m_nTxMode = 0;
    EnableItem(kTxEnable, FALSE);
    EnableItem(kTxDisable, FALSE);
    RefreshDisplay();
}

void CSensor_QWireToUARTDlg::OnBnClickedTxEnable() {
    m_nTxMode = 0;
    RefreshDisplay();
}

void CSensor_QWireToUARTDlg::OnBnClickedTxDisable() {
    m_nTxMode = 1;
    m_nSelfCorrect = 0;
    RefreshDisplay();
}

std::span<const CSensorPage::Hint> CSensor_QWireToUARTDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_QWireToUARTDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_QWireToUARTDlg::Machines() const {
    return ConverterMachines().Machines();
}

void CSensor_QWireToUARTDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kAdc1Edit, m_dAdc1);
    ExchangeValueText(dx, kAdc2Edit, m_dAdc2);
    // A frame decoded before the page is laid out refreshes it too: no radios, nothing to do.
    if (GetDlgItem(kEnableSelfCorrect) && GetDlgItem(kTxEnable)) {
        DDX_Radio(dx, kEnableSelfCorrect, m_nSelfCorrect);
        DDX_Radio(dx, kTxEnable, m_nTxMode);
    }
}

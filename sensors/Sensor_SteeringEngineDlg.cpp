#include "sensors/Sensor_SteeringEngineDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"

namespace {

using namespace sensor_ids;
using namespace servo_ids;

constexpr BYTE kParamChannel = 0x80;  // output channel minus 1
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 16;

constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, "Physical ID:    Range:0-27    Default:9", kPhysIdEdit},
    {kChannelLabel, "Channel:    Range:0-15    Default:0", kChannelEdit},
};

constexpr WORD kStreams[] = {0x0B40};

// The servo keeps channel 1..16 as 0..15.
void ShowChannel(CSensorPage& page, int id, const BYTE* body) {
    CString text;
    text.Format("%.d", body[4] + kFirstChannel);
    page.SetDlgItemText(id, text);
}

const sensor_steps::StandardMachines& ServoMachines() {
    using namespace sensor_steps;
    static const StandardMachines machines({
        .shown = {{0, kParamChannel, ShowChannel, kChannelEdit}},
        .written = {{0, kParamChannel,
                     Input{.id = kChannelEdit,
                           .lo = kFirstChannel,
                           .hi = kLastChannel,
                           .offset = -kFirstChannel}}},
        .hasDefault = false,
        .readFactor = 12,
        .writeFactor = 8,
    });
    return machines;
}

}  // namespace

const platform::MessageMap* CSensor_SteeringEngineDlg::GetMessageMap() const {
    static const platform::MessageMap map{
        CSensorPage::GetMessageMap(),
        {platform::OnBnClicked(kRead, &CSensor_SteeringEngineDlg::OnBnClickedRead)}};
    return &map;
}

std::span<const CSensorPage::Hint> CSensor_SteeringEngineDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_SteeringEngineDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_SteeringEngineDlg::Machines() const {
    return ServoMachines().Machines();
}

BOOL CSensor_SteeringEngineDlg::OnInitDialog() {
    CSensorPage::OnInitDialog();
    if (CWnd* button = GetDlgItem(kDefault)) button->ShowWindow(SW_HIDE);
    return TRUE;
}

void CSensor_SteeringEngineDlg::OnBnClickedRead() {
    // A Read that fails leaves no IDs a Write could trust, whatever an earlier one found.
    m_idsFromRead = false;
    CSensorPage::OnBnClickedRead();
}

void CSensor_SteeringEngineDlg::MachineCompleted(const sensor_steps::Machine& machine) {
    if (machine.timer == sensor_timers::kRead) m_idsFromRead = true;
}

void CSensor_SteeringEngineDlg::EnableAfterOperation(int operation) {
    CSensorPage::EnableAfterOperation(operation);
    if (!m_idsFromRead) EnableItem(kWrite, FALSE);
}

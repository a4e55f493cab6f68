#include "sensors/Sensor_Reserve2Dlg.h"

#include <algorithm>
#include <optional>

#include "resources/messages.h"
#include "sensors/StepMachine.h"

// The labels of the 48 channel and band pairs, defined with the program's other globals.
extern const CString kVideoChannelFrequencies[48];

namespace {

using namespace sensor_ids;
using namespace vtx_ids;
using namespace vtx_params;
using namespace sensor_steps;

constexpr const char* kChannelItems[kChannels] = {"CH1", "CH2", "CH3", "CH4",
                                                  "CH5", "CH6", "CH7", "CH8"};
constexpr const char* kBandItems[kBands] = {"A", "B", "C", "D", "E", "F"};
constexpr const char* kPowerItems[kPowers] = {"PIT", "25mW", "200mW", "600mW"};
constexpr const char* kAllFrqItems[] = {"YES", "NO"};
// What the Version edit shows once a setting was shown.
constexpr const char* kVersionText = "2.2";
// Channels a search for the All Frq. switch starts from where they are; CH7 and CH8 start
// from CH1.
constexpr int kLastChannelKeptByAllFrq = 5;

// The transmitter's one stream: its setting on 0x0E10 + application ID.
constexpr WORD kStreams[] = {0x0E10};

CComboBox* Combo(CSensorPage& page, int id) {
    return dynamic_cast<CComboBox*>(page.GetDlgItem(id));
}

// The chosen item of a combo box, or -1 while it has none.
int Chosen(CSensorPage& page, int id) {
    CComboBox* combo = Combo(page, id);
    const int sel = combo ? combo->GetCurSel() : CB_ERR;
    return sel >= 0 ? sel : -1;
}

// Selecting by program raises no CBN_SELCHANGE, so the corrections never feed each other.
void Choose(CSensorPage& page, int id, int index) {
    if (CComboBox* combo = Combo(page, id)) combo->SetCurSel(index);
}

bool Allowed(int channel, int band) {
    return kVtxAllowedPairs[channel * kBands + band] == 1;
}

// The setting the four combos choose, as the three value bytes; nothing while one of them has
// no choice.
std::optional<int> ChosenSetting(CSensorPage& page) {
    const int channel = Chosen(page, kChannel);
    const int band = Chosen(page, kBand);
    const int power = Chosen(page, kPower);
    const int allFrq = Chosen(page, kAllFrq);
    if (channel < 0 || band < 0 || power < 0 || allFrq < 0) return std::nullopt;
    return (power + 10 * allFrq) | band << 8 | channel << 16;
}

void ShowSetting(CSensorPage& page, int, const BYTE* body) {
    static_cast<CSensor_Reserve2Dlg&>(page).ShowVtxSettings(body);
}

// Read: no configuration access; four polls of the transmitter's telemetry, each shown, then a
// tick without a bus action. It starts again only when its last poll and an earlier one missed.
Machine MakeRead() {
    Machine m{.timer = sensor_timers::kRead,
              .periodMs = sensor_timers::kReadPeriodMs,
              .timeoutMs = sensor_timers::kReadTimeoutMs,
              .progressMs = sensor_timers::kReadProgressMs,
              .operation = sensor_operation::kReadWrite,
              .counter = &CSensorPage::m_nReadStep,
              .progressFactor = 28,
              .clearGotReplyOnRestart = false,
              .closingMessage = messages::kSuccessfulOperation};
    for (int i = 0; i < 3; ++i) m.steps.push_back(TelemetryPoll(ShowSetting));
    m.steps.push_back(TelemetryPoll(ShowSetting, /*last=*/true));
    m.steps.push_back(Idle());
    return m;
}

// Write: enter, four stream polls, then the setting written and read back three times, each
// answer waited for four ticks and taken from a pair of polls (the last one shown), and leave.
Machine MakeWrite() {
    Machine m{.timer = sensor_timers::kWrite,
              .periodMs = sensor_timers::kWritePeriodMs,
              .timeoutMs = sensor_timers::kWriteTimeoutMs,
              .progressMs = sensor_timers::kWriteProgressMs,
              .operation = sensor_operation::kReadWrite,
              .counter = &CSensorPage::m_nDefaultStep,
              .progressFactor = 3,
              .closingMessage = messages::kSuccessfulOperation,
              .inputs = {Input{.source = Input::Source::Page, .read = ChosenSetting}}};
    auto& s = m.steps;
    s.push_back(Enter());
    for (int i = 0; i < 4; ++i) s.push_back(StreamPoll());
    for (int pass = 0; pass < 3; ++pass) {
        Step write = WriteParam(kSetting, In(0));
        write.width = 3;
        s.push_back(write);
        s.push_back(ReadParam(kSetting));
        for (int i = 0; i < 4; ++i) s.push_back(Idle());
        AppendPairShowing(s, pass == 2 ? ShowSetting : nullptr, 0);
    }
    s.push_back(Leave());
    return m;
}

std::span<const Machine* const> VtxMachines() {
    static const Machine read = MakeRead();
    static const Machine write = MakeWrite();
    static const Machine* const all[] = {&read, &write};
    return all;
}

}  // namespace

const platform::MessageMap* CSensor_Reserve2Dlg::GetMessageMap() const {
    using Self = CSensor_Reserve2Dlg;
    static const platform::MessageMap map{
        CSensorPage::GetMessageMap(),
        {
            platform::OnCbnSelchange(kAllFrq, &Self::OnCbnSelchangeAllFrq),
            platform::OnCbnSelchange(kChannel, &Self::OnCbnSelchangeChannel),
            platform::OnCbnSelchange(kBand, &Self::OnCbnSelchangeBand),
        }};
    return &map;
}

BOOL CSensor_Reserve2Dlg::OnInitDialog() {
    CSensorPage::OnInitDialog();
    if (CWnd* button = GetDlgItem(kDefault)) button->ShowWindow(SW_HIDE);
    auto fill = [this](int id, std::span<const char* const> items) {
        CComboBox* combo = Combo(*this, id);
        if (!combo) return;
        for (std::size_t i = 0; i < items.size(); ++i)
            combo->InsertString(static_cast<int>(i), items[i]);
    };
    fill(kChannel, kChannelItems);
    fill(kBand, kBandItems);
    fill(kPower, kPowerItems);
    fill(kAllFrq, kAllFrqItems);
    return TRUE;
}

void CSensor_Reserve2Dlg::ShowVtxSettings(const BYTE* body) {
    int channel = body[6];
    int band = body[5];
    int power = body[4];
    int allFrq = 0;
    if (power >= 10) {
        allFrq = kAllFrqNo;
        power -= 10;
    }
    channel = std::min(channel, kChannels - 1);
    band = std::min(band, kBands - 1);
    power = std::min(power, kPowers - 1);
    Choose(*this, kChannel, channel);
    Choose(*this, kBand, band);
    Choose(*this, kPower, power);
    Choose(*this, kAllFrq, allFrq);
    SetDlgItemText(kFrequency, kVideoChannelFrequencies[channel * kBands + band]);
    SetDlgItemText(kVersion, kVersionText);
}

namespace {

// The pair the combos hold when it needs correcting: All Frq. "NO" and a pair not allowed.
// While a combo has no choice yet there is no pair, and nothing to correct.
bool PairToCorrect(CSensorPage& page, int& channel, int& band) {
    const int allFrq = Chosen(page, kAllFrq);
    channel = Chosen(page, kChannel);
    band = Chosen(page, kBand);
    if (allFrq != kAllFrqNo || channel < 0 || channel >= kChannels || band < 0 || band >= kBands)
        return false;
    return !Allowed(channel, band);
}

}  // namespace

void CSensor_Reserve2Dlg::OnCbnSelchangeBand() {
    int channel = 0, band = 0;
    if (!PairToCorrect(*this, channel, band)) return;
    // The next allowed band above the chosen one, else the first from A.
    for (int b = band + 1; b < kBands; ++b)
        if (Allowed(channel, b)) return Choose(*this, kBand, b);
    for (int b = 0; b < kBands; ++b)
        if (Allowed(channel, b)) return Choose(*this, kBand, b);
}

void CSensor_Reserve2Dlg::OnCbnSelchangeChannel() {
    int channel = 0, band = 0;
    if (!PairToCorrect(*this, channel, band)) return;
    // The next channel up to CH8 that allows the band, else the first from CH1; bands that no
    // channel allows stay as they are.
    for (int c = channel; c < kChannels; ++c)
        if (Allowed(c, band)) return Choose(*this, kChannel, c);
    for (int c = 0; c < kChannels; ++c)
        if (Allowed(c, band)) return Choose(*this, kChannel, c);
}

void CSensor_Reserve2Dlg::OnCbnSelchangeAllFrq() {
    int channel = 0, band = 0;
    if (!PairToCorrect(*this, channel, band)) return;
    // Band by band from A; band A keeps the chosen channel where it can.
    for (int b = 0; b < kBands; ++b) {
        const int from = b == 0 && channel <= kLastChannelKeptByAllFrq ? channel : 0;
        for (int c = from; c < kChannels; ++c) {
            if (!Allowed(c, b)) continue;
            Choose(*this, kChannel, c);
            Choose(*this, kBand, b);
            return;
        }
    }
}

std::span<const WORD> CSensor_Reserve2Dlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_Reserve2Dlg::Machines() const {
    return VtxMachines();
}

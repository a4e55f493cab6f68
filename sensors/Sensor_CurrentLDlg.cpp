#include "sensors/Sensor_CurrentLDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace current40_ids;

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:2";
constexpr const char* kCurrentHint = "Current:    Range:0.1-40.0A    Precise:0.1A";
constexpr const char* kVoltageHint = "Voltage:    Range:0-24.0V    Precise:0.5V";
constexpr const char* kVoltageRateHint = "Voltage DataRate:    Range:100-25500ms    Default:500ms";

// The current-rate label and its edit differ by one blank after the colon.
constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kCurrentLabel, kCurrentHint, kCurrentEdit},
    {kVoltageLabel, kVoltageHint, kVoltageEdit},
    {kCurrentRateLabel, "Current DataRate:   Range:100-25500ms    Default:500ms"},
    {kCurrentRateEdit, "Current DataRate:    Range:100-25500ms    Default:500ms"},
    {kVoltageRateLabel, kVoltageRateHint, kVoltageRateEdit},
};

// Current on 0x0200 + application ID (the same data IDs as the 150 A sensor's current),
// voltage on 0x0210 + application ID.
constexpr WORD kStreams[] = {0x0200, 0x0210};

const sensor_steps::StandardMachines& PageMachines() {
    static const sensor_steps::StandardMachines machines(
        sensor_steps::TwoStreamPage(kCurrentRateEdit, kVoltageRateEdit, 7, 5));
    return machines;
}

}  // namespace

std::span<const CSensorPage::Hint> CSensor_CurrentLDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_CurrentLDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_CurrentLDlg::Machines() const {
    return PageMachines().Machines();
}

void CSensor_CurrentLDlg::DoDataExchange(CDataExchange* dx) {
    using telemetry::ExchangeValueText;
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kCurrentEdit, m_dCurrent);
    ExchangeValueText(dx, kVoltageEdit, m_dVoltage);
}

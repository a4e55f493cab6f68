#include "sensors/Sensor_VariometerDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace variometer_ids;

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:0";
constexpr const char* kAltitudeHint = "Altitude:    Range:-500-90000m    Precise:0.2m";
constexpr const char* kAltitudeRateHint = "AltitudeRate:    Range:-10.24-10.24s    Precise:0.5s";
constexpr const char* kAltitudeDataRateHint =
    "AltitudeDataRate:    Range:100-25500ms    Default:300ms";
constexpr const char* kAltitudeRateDataRateHint =
    "AltitudeRateDataRate:    Range:100-25500ms    Default:300ms";

constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kAltitudeLabel, kAltitudeHint, kAltitudeEdit},
    {kAltitudeRateLabel, kAltitudeRateHint, kAltitudeRateEdit},
    {kAltitudeDataRateLabel, kAltitudeDataRateHint, kAltitudeDataRateEdit},
    {kAltitudeRateDataRateLabel, kAltitudeRateDataRateHint, kAltitudeRateDataRateEdit},
};

// Altitude on 0x0100 + application ID, altitude rate on 0x0110 + application ID.
constexpr WORD kStreams[] = {0x0100, 0x0110};

const sensor_steps::StandardMachines& PageMachines() {
    static const sensor_steps::StandardMachines machines(
        sensor_steps::TwoStreamPage(kAltitudeDataRateEdit, kAltitudeRateDataRateEdit, 7.5, 5.5));
    return machines;
}

}  // namespace

std::span<const CSensorPage::Hint> CSensor_VariometerDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_VariometerDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_VariometerDlg::Machines() const {
    return PageMachines().Machines();
}

void CSensor_VariometerDlg::DoDataExchange(CDataExchange* dx) {
    using telemetry::ExchangeValueText;
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kAltitudeEdit, m_dAltitude);
    ExchangeValueText(dx, kAltitudeRateEdit, m_dAltitudeRate);
}

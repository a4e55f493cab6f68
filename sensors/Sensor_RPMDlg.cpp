#include "sensors/Sensor_RPMDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace rpm_ids;
using sensor_steps::Input;
using sensor_steps::RateInput;
using sensor_steps::ShowDataRate;

constexpr int kMinPoles = 1;
constexpr int kMaxPoles = 15;

// The streams, in the order every operation enters and leaves them.
enum Stream { kTemperature1, kTemperature2, kSpeed };
constexpr WORD kStreams[] = {0x0400, 0x0410, 0x0500};

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:4";
constexpr const char* kSpeedRateHint = "SpeedDataRate:    Range:100-25500ms    Default:500ms";
constexpr const char* kTemperature1RateHint =
    "Tempareture1 DataRate:    Range:100-25500ms    Default:1000ms";
constexpr const char* kTemperature2RateHint =
    "Tempareture2 DataRate:    Range:100-25500ms    Default:1000ms";
constexpr const char* kPolesHint = "Number Of Magnetic Poles:    Range:1-15    Default:1";
constexpr const char* kSpeedHint = "Speed:    Range:0-60000    Unit:RPM";
constexpr const char* kTemperature1Hint = "Temperature1:    Range:-30-250°C    Precise:1°C";
constexpr const char* kTemperature2Hint = "Temperature2:    Range:-30-250°C    Precise:1°C";

constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kSpeedRateLabel, kSpeedRateHint, kSpeedRateEdit},
    {kTemperature1RateLabel, kTemperature1RateHint, kTemperature1RateEdit},
    {kTemperature2RateLabel, kTemperature2RateHint, kTemperature2RateEdit},
    {kPolesLabel, kPolesHint, kPolesEdit},
    {kSpeedLabel, kSpeedHint, kSpeedEdit},
    {kTemperature1Label, kTemperature1Hint, kTemperature1Edit},
    {kTemperature2Label, kTemperature2Hint, kTemperature2Edit},
};

// Firmware, IDs and the factory reset go to the first temperature stream; the poles to the
// speed stream, after its rate. The three rates are one parameter on three streams, so a pair
// takes only the answer to its own request.
const sensor_steps::StandardMachines& PageMachines() {
    static const sensor_steps::StandardMachines machines({
        .streams = 3,
        .shown = {{kTemperature1, bus::kParamDataRate, ShowDataRate, kTemperature1RateEdit},
                  {kTemperature2, bus::kParamDataRate, ShowDataRate, kTemperature2RateEdit},
                  {kSpeed, bus::kParamDataRate, ShowDataRate, kSpeedRateEdit},
                  {kSpeed, rpm_params::kMagneticPoles, sensor_steps::ShowByte, kPolesEdit}},
        .written = {{kTemperature1, bus::kParamDataRate, RateInput(kTemperature1RateEdit)},
                    {kTemperature2, bus::kParamDataRate, RateInput(kTemperature2RateEdit)},
                    {kSpeed, bus::kParamDataRate, RateInput(kSpeedRateEdit)},
                    {kSpeed, rpm_params::kMagneticPoles,
                     Input{.id = kPolesEdit, .lo = kMinPoles, .hi = kMaxPoles}}},
        .defaultStream = kTemperature1,
        .readFactor = 5,
        .writeFactor = 3.5,
        .defaultFactor = 8.5,
    });
    return machines;
}

}  // namespace

std::span<const CSensorPage::Hint> CSensor_RPMDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_RPMDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_RPMDlg::Machines() const {
    return PageMachines().Machines();
}

void CSensor_RPMDlg::DoDataExchange(CDataExchange* dx) {
    using telemetry::ExchangeValueText;
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kTemperature1Edit, m_nTemperature1);
    ExchangeValueText(dx, kTemperature2Edit, m_nTemperature2);
    ExchangeValueText(dx, kSpeedEdit, m_nSpeed);
}

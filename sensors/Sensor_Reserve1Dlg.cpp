#include "sensors/Sensor_Reserve1Dlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/StepMachine.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace esc_ids;
using telemetry::ExchangeValueText;

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:10";
constexpr const char* kSpeedRateHint =
    "Speed and Consumption DataRate:    Range:100-25500ms    Default:100ms";
constexpr const char* kTemperatureRateHint =
    "Temperature DataRate:    Range:100-25500ms    Default:100ms";
constexpr const char* kSpeedHint = "Speed:    Range:0-65535 RPM    Precise:1 RPM";
constexpr const char* kTemperatureHint = "Temperature:    Range:0-255°C    Precise:1°C";
constexpr const char* kVoltageHint = "Voltage:    Range:0-655.35V    Precise:0.01V";
constexpr const char* kCurrentHint = "Current:    Range:0-655.35A    Precise:0.01A";

// Label and edit differ in two hints: blanks and a trailing blank as they were written.
constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kPowerRateLabel, "Voltage and Current DataRate:   Range:100-25500ms    Default:100ms"},
    {kPowerRateEdit, "Voltage and Current DataRate:    Range:100-25500ms    Default:100ms"},
    {kSpeedRateLabel, kSpeedRateHint, kSpeedRateEdit},
    {kTemperatureRateLabel, kTemperatureRateHint, kTemperatureRateEdit},
    {kPoleLabel, "Pole:    Range: 0-255   Precise:1 "},
    {kPoleEdit, "Pole:    Range:0-255   Precise:1"},
    {kSpeedLabel, kSpeedHint, kSpeedEdit},
    {kTemperatureLabel, kTemperatureHint, kTemperatureEdit},
    {kVoltageLabel, kVoltageHint, kVoltageEdit},
    {kCurrentLabel, kCurrentHint, kCurrentEdit},
};

// Three streams, entered and left in this order; the IDs, the firmware and the factory reset
// go to the first.
enum Stream { kPower, kSpeedAndConsumption, kTemperature };
constexpr WORD kStreams[] = {0x0B50, 0x0B60, 0x0B70};

const sensor_steps::StandardMachines& EscMachines() {
    using namespace sensor_steps;
    static const StandardMachines machines({
        .streams = 3,
        .shown = {{kPower, bus::kParamDataRate, ShowDataRate, kPowerRateEdit},
                  {kSpeedAndConsumption, bus::kParamDataRate, ShowDataRate, kSpeedRateEdit},
                  {kTemperature, bus::kParamDataRate, ShowDataRate, kTemperatureRateEdit}},
        .written = {{kPower, bus::kParamDataRate, RateInput(kPowerRateEdit)},
                    {kSpeedAndConsumption, bus::kParamDataRate, RateInput(kSpeedRateEdit)},
                    {kTemperature, bus::kParamDataRate, RateInput(kTemperatureRateEdit)}},
        .readFactor = 5.6,
        .writeFactor = 4.3,
        .defaultFactor = 8.7,
    });
    return machines;
}

}  // namespace

std::span<const CSensorPage::Hint> CSensor_Reserve1Dlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_Reserve1Dlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_Reserve1Dlg::Machines() const {
    return EscMachines().Machines();
}

void CSensor_Reserve1Dlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kVoltageEdit, m_dVoltage);
    ExchangeValueText(dx, kCurrentEdit, m_dCurrent);
    ExchangeValueText(dx, kSpeedEdit, m_nSpeed);
    // The pole count is read as every typed number is, never refused: a count below 1 is
    // kept as typed, and the decoding raises it to 1 before it divides.
    if (dx->m_bSaveAndValidate)
        m_nPole = sensor_steps::EditNumber(*this, kPoleEdit);
    else
        DDX_Text(dx, kPoleEdit, m_nPole);
    ExchangeValueText(dx, kTemperatureEdit, m_dTemperature);
    ExchangeValueText(dx, kConsumptionEdit, m_nConsumption);
}

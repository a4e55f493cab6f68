#pragma once

#include "sensors/SensorPage.h"

// The ESC page's own controls.
namespace esc_ids {
constexpr int kVoltageEdit = 1060;
constexpr int kCurrentEdit = 1059;
constexpr int kSpeedEdit = 1093;
constexpr int kPoleEdit = 1221;
constexpr int kConsumptionEdit = 1270;
constexpr int kTemperatureEdit = 1223;
constexpr int kVoltageLabel = 1113;
constexpr int kCurrentLabel = 1112;
constexpr int kSpeedLabel = 1116;
constexpr int kPoleLabel = 1220;
constexpr int kTemperatureLabel = 1222;
// The data rates of the voltage-and-current, speed-and-consumption and temperature streams.
constexpr int kPowerRateEdit = 1224;
constexpr int kSpeedRateEdit = 1225;
constexpr int kTemperatureRateEdit = 1069;
constexpr int kPowerRateLabel = 1226;
constexpr int kSpeedRateLabel = 1227;
constexpr int kTemperatureRateLabel = 1122;
}  // namespace esc_ids

// The ESC page.
class CSensor_Reserve1Dlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 200;
    CSensor_Reserve1Dlg() : CSensorPage(IDD) {}

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

    // Telemetry values, written by the decoders.
    double m_dVoltage = 0.0;      // V
    double m_dCurrent = 0.0;      // A
    int m_nSpeed = 0;             // rpm
    int m_nPole = 1;              // typed by the user; the speed divides by it
    double m_dTemperature = 0.0;  // °C
    int m_nConsumption = 0;       // mAh

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

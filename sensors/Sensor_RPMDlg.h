#pragma once

#include "sensors/SensorPage.h"

class CSensor_RPMDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 133;
    CSensor_RPMDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    int m_nTemperature1 = 0;  // °C
    int m_nTemperature2 = 0;  // °C
    int m_nSpeed = 0;         // rpm

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

// The sensor's own parameter, on the speed stream: how many magnetic poles the motor has. The
// page only stores it on the sensor; the speed it shows is the sensor's.
namespace rpm_params {
constexpr BYTE kMagneticPoles = 0x80;
}  // namespace rpm_params

// The RPM page's own controls: the three values, the data rate of each stream and the number of
// magnetic poles.
namespace rpm_ids {
constexpr int kSpeedEdit = 1093;
constexpr int kTemperature1Edit = 1017;
constexpr int kTemperature2Edit = 1018;
constexpr int kSpeedRateEdit = 1068;
constexpr int kTemperature1RateEdit = 1094;
constexpr int kTemperature2RateEdit = 1095;
constexpr int kPolesEdit = 1016;
constexpr int kSpeedLabel = 1116;
constexpr int kTemperature1Label = 1117;
constexpr int kTemperature2Label = 1118;
constexpr int kSpeedRateLabel = 1121;
constexpr int kTemperature1RateLabel = 1162;
constexpr int kTemperature2RateLabel = 1163;
constexpr int kPolesLabel = 1164;
}  // namespace rpm_ids

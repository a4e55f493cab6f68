#pragma once

#include "sensors/SensorPage.h"

class CSensor_VariometerDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 134;
    CSensor_VariometerDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dAltitude = 0.0;      // m
    double m_dAltitudeRate = 0.0;  // m/s

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

// The variometer page's own controls: the altitude stream (0x00) and the altitude-rate stream
// (0x10), each with its value and its data rate.
namespace variometer_ids {
constexpr int kAltitudeEdit = 1074;
constexpr int kAltitudeRateEdit = 1015;
constexpr int kAltitudeDataRateEdit = 1077;
constexpr int kAltitudeRateDataRateEdit = 1014;
constexpr int kAltitudeLabel = 1127;
constexpr int kAltitudeRateLabel = 1168;
constexpr int kAltitudeDataRateLabel = 1130;
constexpr int kAltitudeRateDataRateLabel = 1169;
}  // namespace variometer_ids

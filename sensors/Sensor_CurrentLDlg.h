#pragma once

#include "sensors/SensorPage.h"

class CSensor_CurrentLDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 132;
    CSensor_CurrentLDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dCurrent = 0.0;  // A
    double m_dVoltage = 0.0;  // V

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

// The 40 A page's own controls: the current stream (0x00) and the voltage stream (0x10), each
// with its value and its data rate.
namespace current40_ids {
constexpr int kCurrentEdit = 1059;
constexpr int kVoltageEdit = 1060;
constexpr int kCurrentRateEdit = 1062;
constexpr int kVoltageRateEdit = 1061;
constexpr int kCurrentLabel = 1112;
constexpr int kVoltageLabel = 1113;
constexpr int kCurrentRateLabel = 1115;
constexpr int kVoltageRateLabel = 1114;
}  // namespace current40_ids

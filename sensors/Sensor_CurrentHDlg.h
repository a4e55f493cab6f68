#pragma once

#include "sensors/SensorPage.h"

class CSensor_CurrentHDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 131;
    CSensor_CurrentHDlg() : CSensorPage(IDD) {}
    double m_dCurrent = 0.0;  // A, written by the telemetry decoders

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

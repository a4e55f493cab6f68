#pragma once

#include "sensors/SensorPage.h"

class CSensor_AirSpeedDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 129;
    CSensor_AirSpeedDlg() : CSensorPage(IDD) {}
    double m_dAirSpeed = 0.0;  // km/h, written by the telemetry decoders

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

#pragma once

#include "sensors/SensorPage.h"

class CSensor_VariometerDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 134;
    CSensor_VariometerDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dAltitude = 0.0;      // m
    double m_dAltitudeRate = 0.0;  // m/s

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

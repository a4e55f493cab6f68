#pragma once

#include "sensors/SensorPage.h"

class CSensor_FuelKitDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 135;
    CSensor_FuelKitDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    int m_nTemperature1 = 0;    // °C, may be negative
    int m_nTemperature2 = 0;    // °C, may be negative
    int m_nRevolvingSpeed = 0;  // r/min
    int m_nResidualVolume = 0;  // mL
    int m_nResidualPercent = 0;
    int m_nFlow = 0;  // mL/min
    int m_nMaximumFlow = 0;
    int m_nAverageFlow = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

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

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

#pragma once

#include "sensors/SensorPage.h"

class CSensor_CurrentLDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 132;
    CSensor_CurrentLDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dCurrent = 0.0;  // A
    double m_dVoltage = 0.0;  // V

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

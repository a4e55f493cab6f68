#pragma once

#include "sensors/SensorPage.h"

class CSensor_QWireToUARTDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 138;
    CSensor_QWireToUARTDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dAdc1 = 0.0;  // V
    double m_dAdc2 = 0.0;  // V

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

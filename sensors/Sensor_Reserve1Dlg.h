#pragma once

#include "sensors/SensorPage.h"

// The ESC page.
class CSensor_Reserve1Dlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 200;
    CSensor_Reserve1Dlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dVoltage = 0.0;      // V
    double m_dCurrent = 0.0;      // A
    int m_nSpeed = 0;             // rpm
    int m_nPole = 1;              // typed by the user; the speed divides by it
    double m_dTemperature = 0.0;  // °C
    int m_nConsumption = 0;       // mAh

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

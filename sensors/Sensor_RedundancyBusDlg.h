#pragma once

#include "sensors/SensorPage.h"

class CSensor_RedundancyBusDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 136;
    CSensor_RedundancyBusDlg() : CSensorPage(IDD) {}

    // The page's display refresh: battery values, then all 27 status edits from m_nBusStatus.
    void ShowBusStatus();

    // Telemetry values, written by the decoders.
    double m_dBattery1Voltage = 0.0;  // V
    double m_dBattery1Current = 0.0;  // A
    double m_dBattery2Voltage = 0.0;
    double m_dBattery2Current = 0.0;
    int m_nBusStatus = 0;         // bits 0-26, one per status edit
    int m_nBattery1Capacity = 0;  // mAh consumed
    int m_nBattery2Capacity = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

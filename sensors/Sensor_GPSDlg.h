#pragma once

#include "sensors/SensorPage.h"

class CSensor_GPSDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 137;
    CSensor_GPSDlg() : CSensorPage(IDD) {}

    // The page's display refresh: values through data exchange, position and date/time as text.
    void RefreshGpsDisplay();

    // Telemetry values, written by the decoders. Position words: bits 31-30 hemisphere,
    // bits 29-0 minutes × 10000.
    int m_nLatitude = 0;
    int m_nLongitude = 0;
    int m_nDateTime = 0;    // byte 0: 0 time, 1 date; bytes 3, 2, 1 the three parts
    int m_nAltitude = 0;    // cm
    double m_dSpeed = 0.0;  // knots
    // The date/time word's parts; a time frame and a date frame each fill half of them.
    int m_nYear = 0;
    int m_nMonth = 0;
    int m_nDay = 0;
    int m_nHour = 0;
    int m_nMinute = 0;
    int m_nSecond = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

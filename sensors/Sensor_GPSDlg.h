#pragma once

#include "sensors/SensorPage.h"

// The GPS page's own controls.
namespace gps_ids {
constexpr int kLatitudeEdit = 1072;
constexpr int kLongitudeEdit = 1073;
constexpr int kAltitudeEdit = 1074;
constexpr int kSpeedEdit = 1063;
constexpr int kTimeEdit = 1075;
constexpr int kLatitudeLabel = 1125;
constexpr int kLongitudeLabel = 1126;
constexpr int kAltitudeLabel = 1127;
constexpr int kSpeedLabel = 1116;
constexpr int kTimeLabel = 1128;
// The data rates of the position, altitude, speed and time streams.
constexpr int kPositionRateEdit = 1076;
constexpr int kAltitudeRateEdit = 1077;
constexpr int kSpeedRateEdit = 1068;
constexpr int kTimeRateEdit = 1078;
constexpr int kPositionRateLabel = 1129;
constexpr int kAltitudeRateLabel = 1130;
constexpr int kSpeedRateLabel = 1121;
constexpr int kTimeRateLabel = 1131;
}  // namespace gps_ids

class CSensor_GPSDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 137;
    CSensor_GPSDlg() : CSensorPage(IDD) {}

    // The page's display refresh: values through data exchange, position and date/time as text.
    void RefreshGpsDisplay();

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

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

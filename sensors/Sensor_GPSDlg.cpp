#include "sensors/Sensor_GPSDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace gps_ids;
using telemetry::ExchangeValueText;

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:3";
constexpr const char* kPositionRateHint =
    "Latitude and Longitude DataRate:    Range:100-25500ms    Default:1000ms";
constexpr const char* kAltitudeRateHint =
    "AltitudeDataRate:    Range:100-25500ms    Default:1000ms";
constexpr const char* kSpeedRateHint = "SpeedDataRate:    Range:100-25500ms    Default:500ms";
constexpr const char* kTimeRateHint = "TimeDataRate:    Range:100-25500ms    Default:1000ms";

constexpr CSensorPage::Hint kHints[] = {
    {kLatitudeLabel, "Latitude:    Default:GPS", kLatitudeEdit},
    {kLongitudeLabel, "Longitude:    Default:GPS", kLongitudeEdit},
    {kAltitudeLabel, "Altitude:    Unit:1cm", kAltitudeEdit},
    {kSpeedLabel, "Speed:    Unit:Knots", kSpeedEdit},
    {kTimeLabel, "Time:    Default:UTC", kTimeEdit},
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kPositionRateLabel, kPositionRateHint, kPositionRateEdit},
    {kAltitudeRateLabel, kAltitudeRateHint, kAltitudeRateEdit},
    {kSpeedRateLabel, kSpeedRateHint, kSpeedRateEdit},
    {kTimeRateLabel, kTimeRateHint, kTimeRateEdit},
};

// Four streams, entered and left in this order: position (latitude and longitude in turn),
// altitude, speed, date and time. The IDs, the firmware and the factory reset go to the first.
enum Stream { kPosition, kAltitude, kSpeed, kTime };
constexpr WORD kStreams[] = {0x0800, 0x0820, 0x0830, 0x0850};

const sensor_steps::StandardMachines& GpsMachines() {
    using namespace sensor_steps;
    static const StandardMachines machines({
        .streams = 4,
        .shown = {{kPosition, bus::kParamDataRate, ShowDataRate, kPositionRateEdit},
                  {kAltitude, bus::kParamDataRate, ShowDataRate, kAltitudeRateEdit},
                  {kSpeed, bus::kParamDataRate, ShowDataRate, kSpeedRateEdit},
                  {kTime, bus::kParamDataRate, ShowDataRate, kTimeRateEdit}},
        // The rates go out in another order than the Read shows them.
        .written = {{kPosition, bus::kParamDataRate, RateInput(kPositionRateEdit)},
                    {kSpeed, bus::kParamDataRate, RateInput(kSpeedRateEdit)},
                    {kTime, bus::kParamDataRate, RateInput(kTimeRateEdit)},
                    {kAltitude, bus::kParamDataRate, RateInput(kAltitudeRateEdit)}},
        .readFactor = 4,
        .writeFactor = 3,
        .defaultFactor = 7,
    });
    return machines;
}

}  // namespace

std::span<const CSensorPage::Hint> CSensor_GPSDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_GPSDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_GPSDlg::Machines() const {
    return GpsMachines().Machines();
}

void CSensor_GPSDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kAltitudeEdit, m_nAltitude);
    ExchangeValueText(dx, kSpeedEdit, m_dSpeed);
}

void CSensor_GPSDlg::RefreshGpsDisplay() {
    UpdateData(FALSE);
    CString text;
    if (telemetry::GpsPositionText(m_nLatitude, false, text)) SetDlgItemText(kLatitudeEdit, text);
    if (telemetry::GpsPositionText(m_nLongitude, true, text)) SetDlgItemText(kLongitudeEdit, text);
    telemetry::GpsDateTime parts{m_nYear, m_nMonth, m_nDay, m_nHour, m_nMinute, m_nSecond};
    telemetry::SplitGpsDateTime(m_nDateTime, parts);
    m_nYear = parts.year, m_nMonth = parts.month, m_nDay = parts.day;
    m_nHour = parts.hour, m_nMinute = parts.minute, m_nSecond = parts.second;
    SetDlgItemText(kTimeEdit, telemetry::GpsDateTimeText(parts));
}

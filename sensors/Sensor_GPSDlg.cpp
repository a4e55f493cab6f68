#include "sensors/Sensor_GPSDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_GPSDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1074, m_nAltitude);
    ExchangeValueText(dx, 1063, m_dSpeed);
}

void CSensor_GPSDlg::RefreshGpsDisplay() {
    UpdateData(FALSE);
    CString text;
    if (telemetry::GpsPositionText(m_nLatitude, false, text)) SetDlgItemText(1072, text);
    if (telemetry::GpsPositionText(m_nLongitude, true, text)) SetDlgItemText(1073, text);
    telemetry::GpsDateTime parts{m_nYear, m_nMonth, m_nDay, m_nHour, m_nMinute, m_nSecond};
    telemetry::SplitGpsDateTime(m_nDateTime, parts);
    m_nYear = parts.year, m_nMonth = parts.month, m_nDay = parts.day;
    m_nHour = parts.hour, m_nMinute = parts.minute, m_nSecond = parts.second;
    SetDlgItemText(1075, telemetry::GpsDateTimeText(parts));
}

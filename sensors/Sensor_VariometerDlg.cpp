#include "sensors/Sensor_VariometerDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_VariometerDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1074, m_dAltitude);
    ExchangeValueText(dx, 1015, m_dAltitudeRate);
}

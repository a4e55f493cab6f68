#include "sensors/Sensor_RPMDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_RPMDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1017, m_nTemperature1);
    ExchangeValueText(dx, 1018, m_nTemperature2);
    ExchangeValueText(dx, 1093, m_nSpeed);
}

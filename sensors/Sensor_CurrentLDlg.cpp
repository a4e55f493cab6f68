#include "sensors/Sensor_CurrentLDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_CurrentLDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1059, m_dCurrent);
    ExchangeValueText(dx, 1060, m_dVoltage);
}

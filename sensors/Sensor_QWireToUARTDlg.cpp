#include "sensors/Sensor_QWireToUARTDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_QWireToUARTDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1096, m_dAdc1);
    ExchangeValueText(dx, 1097, m_dAdc2);
}

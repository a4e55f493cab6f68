#include "sensors/Sensor_LipoVoltageDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_LipoVoltageDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1079, m_dCellCount);
    ExchangeValueText(dx, 1080, m_dCell1);
    ExchangeValueText(dx, 1081, m_dCell2);
    ExchangeValueText(dx, 1082, m_dCell3);
    ExchangeValueText(dx, 1083, m_dCell4);
    ExchangeValueText(dx, 1084, m_dCell5);
    ExchangeValueText(dx, 1085, m_dCell6);
    ExchangeValueText(dx, 1060, m_dTotalVoltage);
}

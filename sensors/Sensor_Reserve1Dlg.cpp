#include "sensors/Sensor_Reserve1Dlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_Reserve1Dlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1060, m_dVoltage);
    ExchangeValueText(dx, 1059, m_dCurrent);
    ExchangeValueText(dx, 1093, m_nSpeed);
    ExchangeValueText(dx, 1221, m_nPole);
    ExchangeValueText(dx, 1223, m_dTemperature);
    ExchangeValueText(dx, 1270, m_nConsumption);
}

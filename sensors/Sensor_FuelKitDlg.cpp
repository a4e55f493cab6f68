#include "sensors/Sensor_FuelKitDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_FuelKitDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1239, m_nTemperature1);
    ExchangeValueText(dx, 1010, m_nTemperature2);
    ExchangeValueText(dx, 1011, m_nRevolvingSpeed);
    ExchangeValueText(dx, 1243, m_nResidualVolume);
    ExchangeValueText(dx, 1014, m_nResidualPercent);
    ExchangeValueText(dx, 1242, m_nFlow);
    ExchangeValueText(dx, 1244, m_nMaximumFlow);
    ExchangeValueText(dx, 1016, m_nAverageFlow);
}

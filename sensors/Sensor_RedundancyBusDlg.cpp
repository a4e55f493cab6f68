#include "sensors/Sensor_RedundancyBusDlg.h"

#include "sensors/TelemetryDisplay.h"

using telemetry::ExchangeValueText;

void CSensor_RedundancyBusDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, 1090, m_dBattery1Voltage);
    ExchangeValueText(dx, 1091, m_dBattery1Current);
    ExchangeValueText(dx, 1092, m_nBattery1Capacity);
    ExchangeValueText(dx, 1022, m_dBattery2Voltage);
    ExchangeValueText(dx, 1019, m_dBattery2Current);
    ExchangeValueText(dx, 1020, m_nBattery2Capacity);
}

void CSensor_RedundancyBusDlg::ShowBusStatus() {
    UpdateData(FALSE);
    const unsigned status = static_cast<unsigned>(m_nBusStatus);
    for (int bit = 0; bit < telemetry::kBusStatusBits; ++bit)
        SetDlgItemText(telemetry::BusStatusEdit(bit), telemetry::BusStatusText(status, bit));
}

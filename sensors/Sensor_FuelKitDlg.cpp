#include "sensors/Sensor_FuelKitDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/TelemetryDisplay.h"
#include "sensors/fuel_kit_machines.h"

using telemetry::ExchangeValueText;

namespace {

using namespace sensor_ids;
using namespace fuel_kit_ids;

// Where a label's hint differs from its control's, it is by the blanks before "Default".
constexpr CSensorPage::Hint kHints[] = {
    {kTemperature1Label, "Temperature1:    Range:-30℃-350℃", kTemperature1Edit},
    {kTemperature2Label, "Temperature2:    Range:-30℃-350℃", kTemperature2Edit},
    {kRevolvingSpeedLabel, "RevolvingSpeed:    Range:0-100000 r/min", kRevolvingSpeedEdit},
    {kFlowLabel, "Flow:    Range:0-2000 mL/min", kFlowEdit},
    {kResidualVolumeLabel, "Residual Volume:    Range:0-60000 mL", kResidualVolumeEdit},
    {kResidualPercentLabel, "Residual Percent:    Range:0-100%", kResidualPercentEdit},
    {kMaximumFlowLabel, "Maximum Flow:    Range:0-2000 mL/min", kMaximumFlowEdit},
    {kAverageFlowLabel, "Average Flow:    Range:0-2000 mL/min", kAverageFlowEdit},
    {kPhysIdLabel, "Physical ID:    Range:0-26    Default:22", kPhysIdEdit},
    {kDataRateLabel, "Data Rate:    Range:100-25500ms    Default:100ms", kDataRateEdit},
    {kCdiLimitLabel, "CDI Limit:    Range:10-1000(*100r/min)    Default:100", kCdiLimitEdit},
    {kFlowPulseLabel, "Flow Pulse:    Range:1-2000(*0.001mL/pulse)    Default:100", kFlowPulseEdit},
    {kVolumeLabel, "Volume:    Range:10-60000mL    Default:1000mL", kVolumeEdit},
    {kFlowTriggerLabel, "Flow Trigger:    Range:5-30(mL/min)    Default:10", kFlowTriggerEdit},
    {kAutoResetLabel, "Auto Reset:    Range:ON/OFF    Default:OFF", kAutoResetCombo},
    {kFactorySettingsLabel, "Factory Settings:    Range:YES/NO   Default:YES"},
    {kFactorySettingsEdit, "Factory Settings:    Range:YES/NO    Default:YES"},
    {kVolumeLowAlarmLabel, "Residual Volume Low Alarm:    Range:0-90%   Default:10"},
    {kVolumeLowAlarmEdit, "Residual Volume Low Alarm:    Range:0-90%    Default:10"},
    {kOverFlowAlarmLabel, "Over Flow Alarm:    Range:0-2000(mL/min)   Default:200"},
    {kOverFlowAlarmEdit, "Over Flow Alarm:    Range:0-2000(mL/min)    Default:200"},
    {kOverSpeedAlarmLabel, "Over Speed Alarm:    Range:0-1000(*100r/min)   Default:90"},
    {kOverSpeedAlarmEdit, "Over Speed Alarm:    Range:0-1000(*100r/min)    Default:90"},
    {kOverTemp1AlarmLabel, "Over Temp1 Alarm:    Range:0-250   Default:200"},
    {kOverTemp1AlarmEdit, "Over Temp1 Alarm:    Range:0-250    Default:200"},
    {kOverTemp2AlarmLabel, "Over Temp2 Alarm:    Range:0-310   Default:200"},
    {kOverTemp2AlarmEdit, "Over Temp2 Alarm:    Range:0-310    Default:200"},
    {kResetResidualVolume, "Use to reset the ResidualVolume."},
    {kResetMaximumFlow, "Use to reset the MaximumFlow."},
    {kResetAverageFlow, "Use to reset the AverageFlow."},
};

// Eight streams; every setting travels on the first.
constexpr WORD kStreams[] = {0x0D00, 0x0D10, 0x0D20, 0x0D30, 0x0D40, 0x0D50, 0x0D60, 0x0D70};

}  // namespace

const platform::MessageMap* CSensor_FuelKitDlg::GetMessageMap() const {
    static const platform::MessageMap map{
        CSensorPage::GetMessageMap(),
        {
            platform::OnBnClicked(kResetResidualVolume,
                                  &CSensor_FuelKitDlg::OnBnClickedResetResidualVolume),
            platform::OnBnClicked(kResetMaximumFlow,
                                  &CSensor_FuelKitDlg::OnBnClickedResetMaximumFlow),
            platform::OnBnClicked(kResetAverageFlow,
                                  &CSensor_FuelKitDlg::OnBnClickedResetAverageFlow),
        }};
    return &map;
}

std::span<const CSensorPage::Hint> CSensor_FuelKitDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_FuelKitDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_FuelKitDlg::Machines() const {
    return sensor_steps::FuelKitMachineList();
}

BOOL CSensor_FuelKitDlg::OnInitDialog() {
    CSensorPage::OnInitDialog();
    // No item is selected: the combo shows nothing until a Read or the user picks one.
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kAutoResetCombo))) {
        combo->InsertString(kAutoResetOn, "ON");
        combo->InsertString(kAutoResetOff, "OFF");
    }
    return TRUE;
}

std::span<const int> CSensor_FuelKitDlg::ButtonsWithDefault() const {
    // A reset writes to the kit as Default Settings does, and like it may run only in Configure.
    static constexpr int kResets[] = {kResetResidualVolume, kResetMaximumFlow, kResetAverageFlow};
    return kResets;
}

void CSensor_FuelKitDlg::OnBnClickedResetResidualVolume() {
    StartOperation(sensor_steps::FuelKit().resetResidualVolume);
}

void CSensor_FuelKitDlg::OnBnClickedResetMaximumFlow() {
    StartOperation(sensor_steps::FuelKit().resetMaximumFlow);
}

void CSensor_FuelKitDlg::OnBnClickedResetAverageFlow() {
    StartOperation(sensor_steps::FuelKit().resetAverageFlow);
}

void CSensor_FuelKitDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kTemperature1Edit, m_nTemperature1);
    ExchangeValueText(dx, kTemperature2Edit, m_nTemperature2);
    ExchangeValueText(dx, kRevolvingSpeedEdit, m_nRevolvingSpeed);
    ExchangeValueText(dx, kResidualVolumeEdit, m_nResidualVolume);
    ExchangeValueText(dx, kResidualPercentEdit, m_nResidualPercent);
    ExchangeValueText(dx, kFlowEdit, m_nFlow);
    ExchangeValueText(dx, kMaximumFlowEdit, m_nMaximumFlow);
    ExchangeValueText(dx, kAverageFlowEdit, m_nAverageFlow);
}

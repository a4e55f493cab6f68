#pragma once
// The fuel-engine sensor kit's page: eight live values, twelve settings read and written on the
// kit's own request address without configuration access, the factory settings, and three
// counter resets, each on a timer of its own.

#include "sensors/SensorPage.h"

// The page's own controls and timers.
namespace fuel_kit_ids {
// Telemetry edits.
constexpr int kTemperature1Edit = 1239;
constexpr int kTemperature2Edit = 1010;
constexpr int kRevolvingSpeedEdit = 1011;
constexpr int kResidualVolumeEdit = 1243;
constexpr int kResidualPercentEdit = 1014;
constexpr int kFlowEdit = 1242;
constexpr int kMaximumFlowEdit = 1244;
constexpr int kAverageFlowEdit = 1016;
// Settings.
constexpr int kCdiLimitEdit = 1022;
constexpr int kFlowPulseEdit = 1023;
constexpr int kFlowTriggerEdit = 1024;
constexpr int kAutoResetCombo = 1025;
constexpr int kFactorySettingsEdit = 1026;
constexpr int kVolumeLowAlarmEdit = 1027;
constexpr int kOverFlowAlarmEdit = 1028;
constexpr int kOverSpeedAlarmEdit = 1029;
constexpr int kOverTemp1AlarmEdit = 1030;
constexpr int kOverTemp2AlarmEdit = 1031;
constexpr int kVolumeEdit = 1245;
// Labels.
constexpr int kTemperature1Label = 1117;
constexpr int kTemperature2Label = 1118;
constexpr int kRevolvingSpeedLabel = 1246;
constexpr int kFlowLabel = 1247;
constexpr int kResidualVolumeLabel = 1248;
constexpr int kResidualPercentLabel = 1249;
constexpr int kMaximumFlowLabel = 1250;
constexpr int kAverageFlowLabel = 1251;
constexpr int kVolumeLabel = 1252;
constexpr int kCdiLimitLabel = 1253;
constexpr int kFlowPulseLabel = 1254;
constexpr int kFlowTriggerLabel = 1255;
constexpr int kAutoResetLabel = 1256;
constexpr int kFactorySettingsLabel = 1257;
constexpr int kVolumeLowAlarmLabel = 1258;
constexpr int kOverFlowAlarmLabel = 1259;
constexpr int kOverSpeedAlarmLabel = 1260;
constexpr int kOverTemp1AlarmLabel = 1261;
constexpr int kOverTemp2AlarmLabel = 1262;
// The counter resets.
constexpr int kResetResidualVolume = 1240;
constexpr int kResetMaximumFlow = 1241;
constexpr int kResetAverageFlow = 1007;
// The combo's items, as the kit's auto-reset value: 0 on, 1 off.
constexpr int kAutoResetOn = 0;
constexpr int kAutoResetOff = 1;
}  // namespace fuel_kit_ids

namespace fuel_kit_timers {
inline constexpr UINT kResetResidualVolume = 5;
inline constexpr UINT kResetMaximumFlow = 6;
inline constexpr UINT kResetAverageFlow = 7;
// Timers 0 to 7: the common five and the three resets.
inline constexpr int kTimerCount = 8;
}  // namespace fuel_kit_timers

class CSensor_FuelKitDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 135;
    CSensor_FuelKitDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    int m_nTemperature1 = 0;    // °C, may be negative
    int m_nTemperature2 = 0;    // °C, may be negative
    int m_nRevolvingSpeed = 0;  // r/min
    int m_nResidualVolume = 0;  // mL
    int m_nResidualPercent = 0;
    int m_nFlow = 0;  // mL/min
    int m_nMaximumFlow = 0;
    int m_nAverageFlow = 0;

    BOOL OnInitDialog() override;
    const platform::MessageMap* GetMessageMap() const override;

    void OnBnClickedResetResidualVolume();
    void OnBnClickedResetMaximumFlow();
    void OnBnClickedResetAverageFlow();
    void RunResetResidualVolumeSequence() {
        RunMachineOnTimer(fuel_kit_timers::kResetResidualVolume);
    }
    void RunResetMaximumFlowSequence() { RunMachineOnTimer(fuel_kit_timers::kResetMaximumFlow); }
    void RunResetAverageFlowSequence() { RunMachineOnTimer(fuel_kit_timers::kResetAverageFlow); }

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;
    std::span<const int> ButtonsWithDefault() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    int TimerCount() const override { return fuel_kit_timers::kTimerCount; }
    int OperationTimerCount() const override { return fuel_kit_timers::kTimerCount; }
};

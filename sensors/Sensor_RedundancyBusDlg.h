#pragma once

#include "sensors/SensorPage.h"

// The redundancy bus page's own controls.
namespace redundancy_bus_ids {
// The status edits: channels 1 to 16, the receivers' inputs and the SBus output, then the
// receivers' fail-safe, lost-frame, signal and connection states.
constexpr int kChannelEdits[16] = {1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030,
                                   1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039};
constexpr int kRx1InEdit = 1031;
constexpr int kRx2InEdit = 1040;
constexpr int kSBusOutEdit = 1049;
constexpr int kRx1FailSafeEdit = 1041;
constexpr int kRx2FailSafeEdit = 1042;
constexpr int kRx1LostFrameEdit = 1043;
constexpr int kRx2LostFrameEdit = 1044;
constexpr int kRx1NoSignalEdit = 1045;
constexpr int kRx2NoSignalEdit = 1046;
constexpr int kRx1ConnectionEdit = 1047;
constexpr int kRx2ConnectionEdit = 1048;
constexpr int kBattery1Voltage = 1090;
constexpr int kBattery1Current = 1091;
constexpr int kBattery1Capacity = 1092;
constexpr int kBattery2Voltage = 1022;
constexpr int kBattery2Current = 1019;
constexpr int kBattery2Capacity = 1020;
constexpr int kBattery1VoltageLabel = 1143;
constexpr int kBattery1CurrentLabel = 1144;
constexpr int kBattery1CapacityLabel = 1145;
constexpr int kBattery2VoltageLabel = 1146;
constexpr int kBattery2CurrentLabel = 1147;
constexpr int kBattery2CapacityLabel = 1148;
// The data rates of the Battery 1, Battery 2, capacity and output-state streams.
constexpr int kBattery1RateEdit = 1086;
constexpr int kBattery2RateEdit = 1087;
constexpr int kCapacityRateEdit = 1088;
constexpr int kOutputStateRateEdit = 1089;
constexpr int kBattery1RateLabel = 1139;
constexpr int kBattery2RateLabel = 1140;
constexpr int kCapacityRateLabel = 1141;
constexpr int kOutputStateRateLabel = 1142;
// Labels of the receiver and SBus states (the channel labels have no hint).
constexpr int kRx1InLabel = 1151;
constexpr int kRx1FailSafeLabel = 1152;
constexpr int kRx1LostFrameLabel = 1153;
constexpr int kRx1NoSignalLabel = 1154;
constexpr int kRx2InLabel = 1155;
constexpr int kRx2FailSafeLabel = 1156;
constexpr int kRx2LostFrameLabel = 1157;
constexpr int kRx2NoSignalLabel = 1158;
constexpr int kRx1ConnectionLabel = 1159;
constexpr int kRx2ConnectionLabel = 1160;
constexpr int kSBusOutLabel = 1161;
}  // namespace redundancy_bus_ids

class CSensor_RedundancyBusDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 136;
    CSensor_RedundancyBusDlg() : CSensorPage(IDD) {}

    // The page's display refresh: battery values, then all 27 status edits from m_nBusStatus.
    void ShowBusStatus();

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

    // Telemetry values, written by the decoders.
    double m_dBattery1Voltage = 0.0;  // V
    double m_dBattery1Current = 0.0;  // A
    double m_dBattery2Voltage = 0.0;
    double m_dBattery2Current = 0.0;
    int m_nBusStatus = 0;         // bits 0-26, one per status edit
    int m_nBattery1Capacity = 0;  // mAh consumed
    int m_nBattery2Capacity = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

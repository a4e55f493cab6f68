#include "sensors/Sensor_RedundancyBusDlg.h"

#include <vector>

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace redundancy_bus_ids;
using telemetry::ExchangeValueText;

// The hints keep the blanks they were written with: five after the first colon of some.
constexpr CSensorPage::Hint kParamAndBatteryHints[] = {
    {kPhysIdLabel, "Physical ID:    Range:0-27    Default:25", kPhysIdEdit},
    {kBattery1RateLabel, "Battery 1 DataRate:    Range:100-25500ms    Default:300ms",
     kBattery1RateEdit},
    {kBattery2RateLabel, "Battery 2 DataRate:    Range:100-25500ms    Default:300ms",
     kBattery2RateEdit},
    {kCapacityRateLabel, "Capacity DataRate:    Range:100-25500ms    Default:300ms",
     kCapacityRateEdit},
    {kOutputStateRateLabel, "OutputStateDataRate:    Range:100-25500ms    Default:300ms",
     kOutputStateRateEdit},
    {kBattery1VoltageLabel, "Battery 1 Voltage:    Range:0-10V    Precise:0.001V",
     kBattery1Voltage},
    {kBattery1CurrentLabel, "Battery 1 Current:    Range:0-33A    Precise:0.01A"},
    {kBattery1Current, "Battery 1 Current:     Range:0-33A    Precise:0.01A"},
    {kBattery1CapacityLabel, "Battery 1 Capacity:    Battery 1 Consume", kBattery1Capacity},
    {kBattery2VoltageLabel, "Battery 2 Voltage:    Range:0-10V    Precise:0.001V",
     kBattery2Voltage},
    {kBattery2CurrentLabel, "Battery 2 Current:     Range:0-33A    Precise:0.01A",
     kBattery2Current},
    {kBattery2CapacityLabel, "Battery 2 Capacity:    Battery 2 Consume", kBattery2Capacity},
};

// The status edits' hints in the order they are tested, by status bit; the label beside an
// edit shares its hint, the two channel labels have none.
struct StatusHint {
    int bit;
    int label;  // 0: none
    const char* text;
};
constexpr StatusHint kStatusHints[] = {
    {0, 0, "Channel 1:    Normal/Overload"},
    {1, 0, "Channel 2:    Normal/Overload"},
    {2, 0, "Channel 3:    Normal/Overload"},
    {3, 0, "Channel 4:    Normal/Overload"},
    {4, 0, "Channel 5:    Normal/Overload"},
    {5, 0, "Channel 6:    Normal/Overload"},
    {6, 0, "Channel 7:    Normal/Overload"},
    {7, 0, "Channel 8:    Normal/Overload"},
    {8, 0, "Channel 9:    Normal/Overload"},
    {9, 0, "Channel 10:    Normal/Overload"},
    {10, 0, "Channel 11:    Normal/Overload"},
    {11, 0, "Channel 12:    Normal/Overload"},
    {12, 0, "Channel 13:    Normal/Overload"},
    {13, 0, "Channel 14:    Normal/Overload"},
    {14, 0, "Channel 15:    Normal/Overload"},
    {15, 0, "Channel 16:    Normal/Overload"},
    {16, kRx1InLabel, "RX 1 In:    Normal/Overload"},
    {17, kRx2InLabel, "RX 2 In:    Normal/Overload"},
    {18, kSBusOutLabel, "SBusOut:    Normal/Overload"},
    {19, kRx1FailSafeLabel, "Rx 1 FailSafe:    Normal/FailSafe"},
    {21, kRx2FailSafeLabel, "Rx 2 FailSafe:     Normal/FailSafe"},
    {20, kRx1LostFrameLabel, "Rx 1 LostFrame:    Normal/Lost"},
    {22, kRx2LostFrameLabel, "Rx 2 LostFrame:    Normal/Lost"},
    {25, kRx1NoSignalLabel, "Rx 1 NoSignal:    Normal/NoSignal"},
    {26, kRx2NoSignalLabel, "Rx 2 NoSignal:    Normal/NoSignal"},
    {23, kRx1ConnectionLabel, "Rx 1 PhysicalConnectionLost:    Normal/Lost"},
    {24, kRx2ConnectionLabel, "Rx 2 PhysicalConnectionLost:    Normal/Lost"},
};

const std::vector<CSensorPage::Hint>& PageHints() {
    static const std::vector<CSensorPage::Hint> hints = [] {
        std::vector<CSensorPage::Hint> h(std::begin(kParamAndBatteryHints),
                                         std::end(kParamAndBatteryHints));
        for (const StatusHint& s : kStatusHints)
            h.push_back({telemetry::BusStatusEdit(s.bit), s.text, s.label});
        return h;
    }();
    return hints;
}

// Four streams, entered and left in this order: Battery 1, Battery 2, output state, capacity.
// The IDs, the firmware and the factory reset go to the first.
enum Stream { kBattery1, kBattery2, kOutputState, kCapacity };
constexpr WORD kStreams[] = {0x0B00, 0x0B10, 0x0B20, 0x0B30};

const sensor_steps::StandardMachines& RedundancyBusMachines() {
    using namespace sensor_steps;
    static const StandardMachines machines({
        .streams = 4,
        .shown = {{kBattery1, bus::kParamDataRate, ShowDataRate, kBattery1RateEdit},
                  {kBattery2, bus::kParamDataRate, ShowDataRate, kBattery2RateEdit},
                  {kOutputState, bus::kParamDataRate, ShowDataRate, kOutputStateRateEdit},
                  {kCapacity, bus::kParamDataRate, ShowDataRate, kCapacityRateEdit}},
        // The Write sends the capacity rate before the output state's, the Read reads it after.
        .written = {{kBattery1, bus::kParamDataRate, RateInput(kBattery1RateEdit)},
                    {kBattery2, bus::kParamDataRate, RateInput(kBattery2RateEdit)},
                    {kCapacity, bus::kParamDataRate, RateInput(kCapacityRateEdit)},
                    {kOutputState, bus::kParamDataRate, RateInput(kOutputStateRateEdit)}},
        .readFactor = 4,
        .writeFactor = 3,
        .defaultFactor = 7,
    });
    return machines;
}

}  // namespace

std::span<const CSensorPage::Hint> CSensor_RedundancyBusDlg::Hints() const {
    return PageHints();
}

std::span<const WORD> CSensor_RedundancyBusDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_RedundancyBusDlg::Machines() const {
    return RedundancyBusMachines().Machines();
}

void CSensor_RedundancyBusDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kBattery1Voltage, m_dBattery1Voltage);
    ExchangeValueText(dx, kBattery1Current, m_dBattery1Current);
    ExchangeValueText(dx, kBattery1Capacity, m_nBattery1Capacity);
    ExchangeValueText(dx, kBattery2Voltage, m_dBattery2Voltage);
    ExchangeValueText(dx, kBattery2Current, m_dBattery2Current);
    ExchangeValueText(dx, kBattery2Capacity, m_nBattery2Capacity);
}

void CSensor_RedundancyBusDlg::ShowBusStatus() {
    UpdateData(FALSE);
    const unsigned status = static_cast<unsigned>(m_nBusStatus);
    for (int bit = 0; bit < telemetry::kBusStatusBits; ++bit)
        SetDlgItemText(telemetry::BusStatusEdit(bit), telemetry::BusStatusText(status, bit));
}

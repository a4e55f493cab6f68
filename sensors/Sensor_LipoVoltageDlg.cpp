#include "sensors/Sensor_LipoVoltageDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"
#include "sensors/TelemetryDisplay.h"

namespace {

using namespace sensor_ids;
using namespace lipo_ids;

constexpr const char* kPhysIdHint = "Physical ID:    Range:0-27    Default:1";
constexpr const char* kDataRateHint = "Data Rate:    Range:100-25500ms    Unit:300ms";
constexpr const char* kCellCountHint = "TotalCell:    Range:2-6s";
constexpr const char* kVoltageHint = "Voltage:    Range:0-25.2V    Precise:0.1V";
constexpr const char* kCellHints[] = {
    "Cell1:    Range:0-4.2V    Precise:0.1V", "Cell2:    Range:0-4.2V    Precise:0.1V",
    "Cell3:    Range:0-4.2V    Precise:0.1V", "Cell4:    Range:0-4.2V    Precise:0.1V",
    "Cell5:    Range:0-4.2V    Precise:0.1V", "Cell6:    Range:0-4.2V    Precise:0.1V",
};

constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, kPhysIdHint, kPhysIdEdit},
    {kDataRateLabel, kDataRateHint, kDataRateEdit},
    {kCellCountLabel, kCellCountHint, kCellCountEdit},
    {kVoltageLabel, kVoltageHint, kVoltageEdit},
    {kCellLabels[0], kCellHints[0]},
    {kCellEdits[0], kCellHints[0]},
    {kCellLabels[1], kCellHints[1]},
    {kCellEdits[1], kCellHints[1]},
    {kCellLabels[2], kCellHints[2]},
    {kCellEdits[2], kCellHints[2]},
    {kCellLabels[3], kCellHints[3]},
    {kCellEdits[3], kCellHints[3]},
    {kCellLabels[4], kCellHints[4]},
    {kCellEdits[4], kCellHints[4]},
    {kCellLabels[5], kCellHints[5]},
    {kCellEdits[5], kCellHints[5]},
};

// One stream: the cells on 0x0300 + application ID, two to a frame.
constexpr WORD kStreams[] = {0x0300};

}  // namespace

std::span<const CSensorPage::Hint> CSensor_LipoVoltageDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_LipoVoltageDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_LipoVoltageDlg::Machines() const {
    return sensor_steps::OneStreamMachines().Machines();
}

void CSensor_LipoVoltageDlg::DoDataExchange(CDataExchange* dx) {
    using telemetry::ExchangeValueText;
    CSensorPage::DoDataExchange(dx);
    ExchangeValueText(dx, kCellCountEdit, m_dCellCount);
    ExchangeValueText(dx, kCellEdits[0], m_dCell1);
    ExchangeValueText(dx, kCellEdits[1], m_dCell2);
    ExchangeValueText(dx, kCellEdits[2], m_dCell3);
    ExchangeValueText(dx, kCellEdits[3], m_dCell4);
    ExchangeValueText(dx, kCellEdits[4], m_dCell5);
    ExchangeValueText(dx, kCellEdits[5], m_dCell6);
    ExchangeValueText(dx, kVoltageEdit, m_dTotalVoltage);
}

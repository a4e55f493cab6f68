#pragma once

#include "sensors/SensorPage.h"

class CSensor_LipoVoltageDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 130;
    CSensor_LipoVoltageDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    // Cell voltages in V; a cell keeps its value until a frame carries it again, and a cell above
    // the pack's cell count shows 0.
    double m_dCell1 = 0.0;
    double m_dCell2 = 0.0;
    double m_dCell3 = 0.0;
    double m_dCell4 = 0.0;
    double m_dCell5 = 0.0;
    double m_dCell6 = 0.0;
    double m_dCellCount = 0.0;
    double m_dTotalVoltage = 0.0;  // sum of the six cell fields

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

// The LiPo page's own controls.
namespace lipo_ids {
constexpr int kCellCountEdit = 1079;
constexpr int kVoltageEdit = 1060;
// Cells 1 to 6, in order.
constexpr int kCellEdits[] = {1080, 1081, 1082, 1083, 1084, 1085};
constexpr int kCellCountLabel = 1132;
constexpr int kVoltageLabel = 1113;
constexpr int kCellLabels[] = {1133, 1134, 1135, 1136, 1137, 1138};
}  // namespace lipo_ids

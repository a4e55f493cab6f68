#pragma once

#include "sensors/SensorPage.h"

class CSensor_LipoVoltageDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 130;
    CSensor_LipoVoltageDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    // Cell voltages in V; a cell keeps its value until a frame carries it again.
    double m_dCell1 = 0.0;
    double m_dCell2 = 0.0;
    double m_dCell3 = 0.0;
    double m_dCell4 = 0.0;
    double m_dCell5 = 0.0;
    double m_dCell6 = 0.0;
    double m_dCellCount = 0.0;
    double m_dTotalVoltage = 0.0;  // sum of the six cell fields

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

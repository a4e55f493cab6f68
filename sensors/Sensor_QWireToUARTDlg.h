#pragma once

#include "sensors/SensorPage.h"

class CSensor_QWireToUARTDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 138;
    CSensor_QWireToUARTDlg() : CSensorPage(IDD) {}
};

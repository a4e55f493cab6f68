#pragma once

#include "sensors/SensorPage.h"

class CSensor_VariometerDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 134;
    CSensor_VariometerDlg() : CSensorPage(IDD) {}
};

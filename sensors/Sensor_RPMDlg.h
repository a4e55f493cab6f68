#pragma once

#include "sensors/SensorPage.h"

class CSensor_RPMDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 133;
    CSensor_RPMDlg() : CSensorPage(IDD) {}
};

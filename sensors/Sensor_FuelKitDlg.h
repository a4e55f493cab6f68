#pragma once

#include "sensors/SensorPage.h"

class CSensor_FuelKitDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 135;
    CSensor_FuelKitDlg() : CSensorPage(IDD) {}
};

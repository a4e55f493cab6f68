#pragma once

#include "sensors/SensorPage.h"

class CSensor_Reserve1Dlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 200;
    CSensor_Reserve1Dlg() : CSensorPage(IDD) {}
};

#pragma once

#include "sensors/SensorPage.h"

class CSensor_GPSDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 137;
    CSensor_GPSDlg() : CSensorPage(IDD) {}
};

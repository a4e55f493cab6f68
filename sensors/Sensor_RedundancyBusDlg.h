#pragma once

#include "sensors/SensorPage.h"

class CSensor_RedundancyBusDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 136;
    CSensor_RedundancyBusDlg() : CSensorPage(IDD) {}
};

#pragma once

#include "sensors/SensorPage.h"

class CSensor_Reserve2Dlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 201;
    CSensor_Reserve2Dlg() : CSensorPage(IDD) {}
};

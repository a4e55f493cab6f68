#pragma once

#include "sensors/SensorPage.h"

class CSensor_LipoVoltageDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 130;
    CSensor_LipoVoltageDlg() : CSensorPage(IDD) {}
};

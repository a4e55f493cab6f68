#pragma once

#include "sensors/SensorPage.h"

class CSensor_SteeringEngineDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 199;
    CSensor_SteeringEngineDlg() : CSensorPage(IDD) {}
};

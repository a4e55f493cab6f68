#pragma once

#include "sensors/SensorPage.h"

class CSensor_CurrentLDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 132;
    CSensor_CurrentLDlg() : CSensorPage(IDD) {}
};

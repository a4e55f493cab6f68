#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Glider_V_Tal1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 396;
    CRadios_ModelCreate_T70_Glider_V_Tal1Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Airplane_V_Tal1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 375;
    CRadios_ModelCreate_T70_Airplane_V_Tal1Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Multicopter1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 394;
    CRadios_ModelCreate_T70_Multicopter1Dlg() : CDialogEx(IDD) {}
};

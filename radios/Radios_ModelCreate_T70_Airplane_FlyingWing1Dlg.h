#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 374;
    CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg() : CDialogEx(IDD) {}
};

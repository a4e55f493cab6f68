#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Helicopter_HR31Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 387;
    CRadios_ModelCreate_T70_Helicopter_HR31Dlg() : CDialogEx(IDD) {}
};

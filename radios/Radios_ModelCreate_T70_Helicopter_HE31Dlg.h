#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Helicopter_HE31Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 386;
    CRadios_ModelCreate_T70_Helicopter_HE31Dlg() : CDialogEx(IDD) {}
};

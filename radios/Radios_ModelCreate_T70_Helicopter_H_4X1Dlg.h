#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Helicopter_H_4X1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 385;
    CRadios_ModelCreate_T70_Helicopter_H_4X1Dlg() : CDialogEx(IDD) {}
};

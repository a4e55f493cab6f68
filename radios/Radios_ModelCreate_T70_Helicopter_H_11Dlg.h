#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Helicopter_H_11Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 382;
    CRadios_ModelCreate_T70_Helicopter_H_11Dlg() : CDialogEx(IDD) {}
};

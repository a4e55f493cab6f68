#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Helicopter_H_41Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 384;
    CRadios_ModelCreate_T70_Helicopter_H_41Dlg() : CDialogEx(IDD) {}
};

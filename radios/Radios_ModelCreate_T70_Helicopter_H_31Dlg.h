#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Helicopter_H_31Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 383;
    CRadios_ModelCreate_T70_Helicopter_H_31Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Custom1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 397;
    CRadios_ModelCreate_T70_Custom1Dlg() : CDialogEx(IDD) {}
};

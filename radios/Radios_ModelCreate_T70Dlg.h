#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 368;
    CRadios_ModelCreate_T70Dlg() : CDialogEx(IDD) {}
};

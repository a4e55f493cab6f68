#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T90Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 369;
    CRadios_ModelCreate_T90Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CRadios_Reserve3Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 217;
    CRadios_Reserve3Dlg() : CDialogEx(IDD) {}
};

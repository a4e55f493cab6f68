#pragma once

#include "platform/afx.h"

class CRadios_Reserve1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 215;
    CRadios_Reserve1Dlg() : CDialogEx(IDD) {}
};

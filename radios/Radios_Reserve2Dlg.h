#pragma once

#include "platform/afx.h"

class CRadios_Reserve2Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 216;
    CRadios_Reserve2Dlg() : CDialogEx(IDD) {}
};

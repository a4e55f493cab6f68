#pragma once

#include "platform/afx.h"

// Radio page 2, kept for a radio to come: only its number in the corner.
class CRadios_Reserve2Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 216;
    CRadios_Reserve2Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

// Radio page 3, kept for a radio to come: only its number in the corner.
class CRadios_Reserve3Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 217;
    CRadios_Reserve3Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CSensor_Reserve4Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 203;
    CSensor_Reserve4Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CSensor_Reserve3Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 202;
    CSensor_Reserve3Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CSensor_Reserve5Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 204;
    CSensor_Reserve5Dlg() : CDialogEx(IDD) {}
};

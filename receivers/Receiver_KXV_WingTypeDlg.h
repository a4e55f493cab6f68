#pragma once

#include "platform/afx.h"

class CReceiver_KXV_WingTypeDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 168;
    CReceiver_KXV_WingTypeDlg() : CDialogEx(IDD) {}
};

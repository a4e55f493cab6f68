#pragma once

#include "platform/afx.h"

class CReceiver_K5VDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 140;
    CReceiver_K5VDlg() : CDialogEx(IDD) {}
};

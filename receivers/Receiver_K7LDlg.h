#pragma once

#include "platform/afx.h"

class CReceiver_K7LDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 141;
    CReceiver_K7LDlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CReceiver_K4VDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 139;
    CReceiver_K4VDlg() : CDialogEx(IDD) {}
};

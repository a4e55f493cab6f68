#pragma once

#include "platform/afx.h"

class CReceiver_KXV_InformationDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 196;
    CReceiver_KXV_InformationDlg() : CDialogEx(IDD) {}
};

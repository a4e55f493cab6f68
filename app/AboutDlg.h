#pragma once
// The about box: the program's icon and a "Confirm" button.

#include "platform/afx.h"

class CAboutDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 100;
    CAboutDlg() : CDialogEx(IDD) {}
};

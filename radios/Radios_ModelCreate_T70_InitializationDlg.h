#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_InitializationDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 372;
    CRadios_ModelCreate_T70_InitializationDlg() : CDialogEx(IDD) {}
};

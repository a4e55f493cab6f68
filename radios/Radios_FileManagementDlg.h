#pragma once

#include "platform/afx.h"

class CRadios_FileManagementDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 214;
    CRadios_FileManagementDlg() : CDialogEx(IDD) {}
};

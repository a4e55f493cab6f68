#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 406;
    CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg() : CDialogEx(IDD) {}
};

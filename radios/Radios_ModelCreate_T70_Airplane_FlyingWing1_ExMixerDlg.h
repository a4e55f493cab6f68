#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 405;
    CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg() : CDialogEx(IDD) {}
};

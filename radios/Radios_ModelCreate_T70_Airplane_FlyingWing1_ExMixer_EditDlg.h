#pragma once

#include "platform/afx.h"

// The form of one extra mixer, shown modally from the mixer list. Nothing fills its lists or
// reads its fields yet.
class CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 406;
    CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Glider_Normal1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 395;
    CRadios_ModelCreate_T70_Glider_Normal1Dlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CRadios_ModelCreate_T70_Airplane_Normal1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 373;
    CRadios_ModelCreate_T70_Airplane_Normal1Dlg() : CDialogEx(IDD) {}
};

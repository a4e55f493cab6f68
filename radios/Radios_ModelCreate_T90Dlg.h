#pragma once

#include "platform/afx.h"

// The T90 page of the model-creation host: the radio's picture and name, nothing to operate.
class CRadios_ModelCreate_T90Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 369;
    CRadios_ModelCreate_T90Dlg() : CDialogEx(IDD) {}
};

#pragma once
// Information, tab 5 of the KXV page: help texts on the flight modes, Quick Mode and the other
// switches. It has no operations of its own.

#include "platform/afx.h"

class CReceiver_KXV_InformationDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 196;
    CReceiver_KXV_InformationDlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CReceiver_KXV_MountingTypeDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 169;
    CReceiver_KXV_MountingTypeDlg() : CDialogEx(IDD) {}
};

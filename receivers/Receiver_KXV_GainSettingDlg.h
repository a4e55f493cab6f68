#pragma once

#include "platform/afx.h"

class CReceiver_KXV_GainSettingDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 170;
    CReceiver_KXV_GainSettingDlg() : CDialogEx(IDD) {}
};

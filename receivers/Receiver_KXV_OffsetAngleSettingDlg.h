#pragma once

#include "platform/afx.h"

class CReceiver_KXV_OffsetAngleSettingDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 171;
    CReceiver_KXV_OffsetAngleSettingDlg() : CDialogEx(IDD) {}
};

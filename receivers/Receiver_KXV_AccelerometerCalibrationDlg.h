#pragma once

#include "platform/afx.h"

class CReceiver_KXV_AccelerometerCalibrationDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 172;
    CReceiver_KXV_AccelerometerCalibrationDlg() : CDialogEx(IDD) {}
};

#pragma once

#include "platform/afx.h"

class CReceiver_KXVDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 166;
    CReceiver_KXVDlg() : CDialogEx(IDD) {}

    // Ends whatever exchange with the receiver runs.
    void StopTimers();
    // The calibration sub-page's button follows the port state.
    void EnableCalibrationButton(int mode, int flag) {}
};

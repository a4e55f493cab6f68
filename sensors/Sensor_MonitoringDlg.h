#pragma once
// Asks the user to hang the sensor on a receiver before a page switches Monitoring on. Confirm
// and Cancel end it through the dialog's own handling of IDOK and IDCANCEL.

#include "platform/afx.h"

class CSensor_MonitoringDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 152;
    explicit CSensor_MonitoringDlg(CWnd* parent = nullptr) : CDialogEx(IDD, parent) {}
};

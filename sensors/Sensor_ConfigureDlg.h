#pragma once
// Asks the user to take the receiver off the bus before a page switches Configure on.

#include "platform/afx.h"

class CSensor_ConfigureDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 151;
    explicit CSensor_ConfigureDlg(CWnd* parent = nullptr) : CDialogEx(IDD, parent) {}

    void OnBnClickedOk();
    const platform::MessageMap* GetMessageMap() const override;
};

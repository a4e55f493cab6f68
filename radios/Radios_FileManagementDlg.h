#pragma once

#include "platform/afx.h"

// Radio page 0, file management. "Connect" reports the PC's drives from C: on in message
// boxes; "Back-up" does nothing yet. No file is read or written.
class CRadios_FileManagementDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 214;
    CRadios_FileManagementDlg() : CDialogEx(IDD) {}

    void OnBnClickedConnect();
    // One line about the drive `letter`: 0 its name, 1 its serial number, 2 its file system,
    // 3 its type, 4 its size, 5 its free space.
    CString GetDriveInfoText(char letter, int kind);
    const platform::MessageMap* GetMessageMap() const override;

    CButton m_btnConnect;
    CButton m_btnBackup;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

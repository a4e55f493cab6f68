#pragma once

#include "platform/afx.h"

// The flying wing's ten extra mixers, each with Edit and Reset; shown modally.
class CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 405;
    static constexpr int kMixers = 10;
    // Row n (1 to 10) has Edit kFirstEdit + n - 1 and Reset kFirstReset + n - 1.
    static constexpr int kFirstEdit = 1295;
    static constexpr int kFirstReset = 1284;

    CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg() : CDialogEx(IDD) {}

    void OnBnClickedEdit();
    void OnBnClickedReset();
    const platform::MessageMap* GetMessageMap() const override;

    CButton m_btnEdit[kMixers];
    CButton m_btnReset[kMixers];

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

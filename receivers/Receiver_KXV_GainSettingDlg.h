#pragma once
// Gain Setting, tab 2 of the KXV page: the five compensation directions and the nine gains.

#include "platform/afx.h"

class CReceiver_KXV_GainSettingDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 170;
    static constexpr int kDirections = 5;  // parameters k = 2..6
    static constexpr int kGains = 9;       // parameters k = 7..15
    CReceiver_KXV_GainSettingDlg() : CDialogEx(IDD) {}

    BOOL OnInitDialog() override;
    const platform::MessageMap* GetMessageMap() const override;
    // 1: held values to the controls, no item chosen for a direction neither item names;
    // 2: the controls to the held values, gains clamped to 0..200, a direction with no item
    // chosen kept as held; 3: factory values into both.
    void ExchangeData(int mode);

    // Held parameters, by exchange order: directions k = 2..6, gains k = 7..15.
    int m_nDirection[kDirections] = {};
    int m_nGain[kGains] = {};
    // What the gain edits exchange.
    int m_nGainEdit[kGains] = {};
    // The direction lists, in the order of m_nDirection.
    CComboBox m_comboDirection[kDirections];

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

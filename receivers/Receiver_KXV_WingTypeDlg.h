#pragma once
// Wing Type, tab 0 of the KXV page: the wing type (a radio group with its picture) and the
// AUX1, AUX2 and Quick Mode switches.

#include "platform/afx.h"

class CReceiver_KXV_WingTypeDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 168;
    CReceiver_KXV_WingTypeDlg() : CDialogEx(IDD) {}

    // 1: held values to the controls; 2: the controls to the held values; 3: factory values
    // into both. Other modes do nothing. A value no radio or check state names shows none
    // (no radio, a check box neither ticked nor clear) and is kept as held by mode 2.
    void ExchangeData(int mode);
    // The picture of the checked radio into picture control 1181.
    void ShowWingPicture();
    void OnBnClickedWingType();
    void OnPaint();
    const platform::MessageMap* GetMessageMap() const override;

    // Held parameters: WingType, AUX1, AUX2, QuickMode.
    int m_nWingType = 0;
    int m_nAux1 = 0;
    int m_nAux2 = 0;
    int m_nQuickMode = 0;
    // What the controls exchange: the index of the checked radio (-1 for none) and the three
    // check boxes' states (BST_INDETERMINATE for neither). The parameters follow them only in
    // mode 2.
    int m_nWingRadio = 0;
    int m_nAux1Check = 0;
    int m_nAux2Check = 0;
    int m_nQuickModeCheck = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

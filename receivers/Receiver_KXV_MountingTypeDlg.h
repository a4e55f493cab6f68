#pragma once
// Mounting Type, tab 1 of the KXV page: how the receiver sits in the model, a radio group with
// its picture.

#include "platform/afx.h"

class CReceiver_KXV_MountingTypeDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 169;
    CReceiver_KXV_MountingTypeDlg() : CDialogEx(IDD) {}

    // 1: held value to the radios; 2: the radios to the held value; 3: factory value into both.
    void ExchangeData(int mode);
    // The picture of the checked radio into picture control 1182.
    void ShowMountingPicture();
    void OnBnClickedMountingType();
    void OnPaint();
    const platform::MessageMap* GetMessageMap() const override;

    // Held parameter MountingType, and the index of the checked radio (-1 for none).
    int m_nMountingType = 0;
    int m_nMountingRadio = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

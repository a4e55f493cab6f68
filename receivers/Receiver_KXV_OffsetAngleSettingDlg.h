#pragma once
// Offset Angle Setting, tab 3 of the KXV page: the six offset angles, shown in degrees and held
// as degrees + 128.

#include "platform/afx.h"

class CReceiver_KXV_OffsetAngleSettingDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 171;
    static constexpr int kAngles = 6;  // parameters k = 16..21
    CReceiver_KXV_OffsetAngleSettingDlg() : CDialogEx(IDD) {}

    // 1: held values to the edits; 2: the edits to the held values, clamped to -20..20°;
    // 3: factory values (0°) into both.
    void ExchangeData(int mode);
    const platform::MessageMap* GetMessageMap() const override;

    // Held parameters k = 16..21 (bus form), untouched 0°; and what the edits exchange
    // (degrees).
    int m_nAngle[kAngles] = {128, 128, 128, 128, 128, 128};
    int m_nAngleEdit[kAngles] = {};

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

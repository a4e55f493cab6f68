#include "receivers/Receiver_KXV_OffsetAngleSettingDlg.h"

#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_parameters.h"

namespace {

const int kFirstAngle = kxv::FirstOfKind(kxv::Kind::kAngle).k;  // k of m_nAngle[0]
// The order the template's edits are exchanged in: knife edge, then hover and auto level from
// the rudder's side.
constexpr int kExchangeOrder[] = {4, 5, 3, 2, 1, 0};

}  // namespace

const platform::MessageMap* CReceiver_KXV_OffsetAngleSettingDlg::GetMessageMap() const {
    static const platform::MessageMap map{CDialogEx::ThisMessageMap(),
                                          kxv::UserChoiceEntries(kxv::Holder::kOffsetAngleSetting)};
    return &map;
}

void CReceiver_KXV_OffsetAngleSettingDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    for (int i : kExchangeOrder)
        DDX_Text(dx, kxv::kParameters[static_cast<std::size_t>(kFirstAngle + i)].control,
                 m_nAngleEdit[i]);
}

void CReceiver_KXV_OffsetAngleSettingDlg::ExchangeData(int mode) {
    switch (mode) {
        case 1:
            for (int i = 0; i < kAngles; ++i) m_nAngleEdit[i] = m_nAngle[i] - kxv::kAngleZero;
            UpdateData(FALSE);
            break;
        case 2:
            UpdateData(TRUE);
            for (int i = 0; i < kAngles; ++i) {
                m_nAngleEdit[i] = kxv::ClampAngleDegrees(m_nAngleEdit[i]);
                m_nAngle[i] = m_nAngleEdit[i] + kxv::kAngleZero;
            }
            // The edits show the clamped angles that are now held.
            UpdateData(FALSE);
            break;
        case 3:
            for (int i = 0; i < kAngles; ++i) {
                m_nAngle[i] = kxv::kAngleZero;
                m_nAngleEdit[i] = 0;
            }
            UpdateData(FALSE);
            break;
        default:
            break;
    }
}

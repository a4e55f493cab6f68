#include "receivers/Receiver_KXV_GainSettingDlg.h"

#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_parameters.h"

namespace {

const int kFirstDirection = kxv::FirstOfKind(kxv::Kind::kDirection).k;  // k of m_nDirection[0]
const int kFirstGain = kxv::FirstOfKind(kxv::Kind::kGain).k;            // k of m_nGain[0]
// The edits exchange the mode gains first, then the three gyro gains.
constexpr int kGyroGains = 3;

const kxv::Parameter& Direction(int i) {
    return kxv::kParameters[static_cast<std::size_t>(kFirstDirection + i)];
}

int Control(int k) {
    return kxv::kParameters[static_cast<std::size_t>(k)].control;
}

}  // namespace

const platform::MessageMap* CReceiver_KXV_GainSettingDlg::GetMessageMap() const {
    static const platform::MessageMap map{CDialogEx::ThisMessageMap(),
                                          kxv::UserChoiceEntries(kxv::Holder::kGainSetting)};
    return &map;
}

BOOL CReceiver_KXV_GainSettingDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    // In the order of kxv::kDirectionItems.
    for (CComboBox& list : m_comboDirection) {
        list.AddString("Positive");
        list.AddString("Reverse");
    }
    return TRUE;
}

void CReceiver_KXV_GainSettingDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    for (int i = 0; i < kDirections; ++i)
        DDX_Control(dx, Control(kFirstDirection + i), m_comboDirection[i]);
    for (int n = 0; n < kGains; ++n) {
        const int i = (n + kGyroGains) % kGains;
        DDX_Text(dx, Control(kFirstGain + i), m_nGainEdit[i]);
    }
}

void CReceiver_KXV_GainSettingDlg::ExchangeData(int mode) {
    switch (mode) {
        case 1:
            for (int i = 0; i < kDirections; ++i)
                m_comboDirection[i].SetCurSel(kxv::ItemShowing(Direction(i), m_nDirection[i]));
            for (int i = 0; i < kGains; ++i) m_nGainEdit[i] = m_nGain[i];
            UpdateData(FALSE);
            break;
        case 2:
            UpdateData(TRUE);
            for (int i = 0; i < kDirections; ++i)
                m_nDirection[i] = kxv::ValueOfItem(Direction(i), m_comboDirection[i].GetCurSel(),
                                                   m_nDirection[i]);
            for (int i = 0; i < kGains; ++i) {
                m_nGain[i] = kxv::ClampGain(m_nGainEdit[i]);
                // The edit shows what is held, so what is sent or saved is what the page shows.
                m_nGainEdit[i] = m_nGain[i];
            }
            UpdateData(FALSE);
            break;
        case 3:
            for (int i = 0; i < kDirections; ++i) {
                m_nDirection[i] = Direction(i).factory;
                m_comboDirection[i].SetCurSel(kxv::ItemShowing(Direction(i), m_nDirection[i]));
            }
            for (int i = 0; i < kGains; ++i)
                m_nGain[i] = m_nGainEdit[i] =
                    kxv::kParameters[static_cast<std::size_t>(kFirstGain + i)].factory;
            UpdateData(FALSE);
            break;
        default:
            break;
    }
}

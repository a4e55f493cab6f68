#include "receivers/Receiver_KXV_WingTypeDlg.h"

#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_ids.h"
#include "receivers/kxv_picture.h"
#include "resources/resource_ids.h"

using namespace kxv;

namespace {

const Parameter& WingTypeParameter() {
    return FirstHeld(Holder::kWingType, Kind::kChoice);
}
// AUX1, AUX2 and Quick Mode by their place on the page.
const Parameter& Switch(int place) {
    return kParameters[static_cast<std::size_t>(FirstHeld(Holder::kWingType, Kind::kFlag).k +
                                                place)];
}

}  // namespace

const platform::MessageMap* CReceiver_KXV_WingTypeDlg::GetMessageMap() const {
    static const platform::MessageMap map = [] {
        platform::MessageMap m{CDialogEx::ThisMessageMap(), {}};
        for (int i = 0; i < wing_ids::kRadioCount; ++i)
            m.entries.push_back(platform::OnBnClicked(
                wing_ids::kFirstRadio + i, &CReceiver_KXV_WingTypeDlg::OnBnClickedWingType));
        m.entries.push_back(platform::OnWmPaint(&CReceiver_KXV_WingTypeDlg::OnPaint));
        for (platform::MessageMapEntry& e : UserChoiceEntries(Holder::kWingType))
            m.entries.push_back(std::move(e));
        return m;
    }();
    return &map;
}

void CReceiver_KXV_WingTypeDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Check(dx, wing_ids::kAux1, m_nAux1Check);
    DDX_Check(dx, wing_ids::kQuickMode, m_nQuickModeCheck);
    DDX_Radio(dx, wing_ids::kFirstRadio, m_nWingRadio);
    DDX_Check(dx, wing_ids::kAux2, m_nAux2Check);
}

void CReceiver_KXV_WingTypeDlg::ExchangeData(int mode) {
    switch (mode) {
        case 1:
            // The picture follows on the next paint or tab change.
            m_nWingRadio = ItemShowing(WingTypeParameter(), m_nWingType);
            m_nAux1Check = ItemShowing(Switch(0), m_nAux1);
            m_nAux2Check = ItemShowing(Switch(1), m_nAux2);
            m_nQuickModeCheck = ItemShowing(Switch(2), m_nQuickMode);
            UpdateData(FALSE);
            break;
        case 2:
            UpdateData(TRUE);
            m_nWingType = ValueOfItem(WingTypeParameter(), m_nWingRadio, m_nWingType);
            m_nAux1 = ValueOfItem(Switch(0), m_nAux1Check, m_nAux1);
            m_nAux2 = ValueOfItem(Switch(1), m_nAux2Check, m_nAux2);
            m_nQuickMode = ValueOfItem(Switch(2), m_nQuickModeCheck, m_nQuickMode);
            break;
        case 3:
            m_nWingRadio = 0;
            ShowWingPicture();
            m_nAux1 = m_nAux2 = m_nQuickMode = 0;
            m_nAux1Check = m_nAux2Check = m_nQuickModeCheck = 0;
            UpdateData(FALSE);
            m_nWingType = 0;
            break;
        default:
            break;
    }
}

void CReceiver_KXV_WingTypeDlg::ShowWingPicture() {
    UINT bitmap = IDB_KXV_WING_NORMAL;
    if (m_nWingRadio == 1) bitmap = IDB_KXV_WING_FLYING;
    if (m_nWingRadio == 2) bitmap = IDB_KXV_WING_VTAIL;
    ShowPicture(*this, wing_ids::kPicture, bitmap);
}

void CReceiver_KXV_WingTypeDlg::OnBnClickedWingType() {
    // The clicked radio is the checked one by now.
    UpdateData(TRUE);
    UpdateData(FALSE);
    ShowWingPicture();
    UserChose(*this, WingTypeParameter().k);
}

void CReceiver_KXV_WingTypeDlg::OnPaint() {
    CPaintDC dc(this);
    ShowWingPicture();
}

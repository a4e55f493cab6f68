#include "receivers/Receiver_KXV_MountingTypeDlg.h"

#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_ids.h"
#include "receivers/kxv_picture.h"
#include "resources/resource_ids.h"

using namespace kxv;

namespace {

const Parameter& MountingTypeParameter() {
    return FirstHeld(Holder::kMountingType, Kind::kChoice);
}

}  // namespace

const platform::MessageMap* CReceiver_KXV_MountingTypeDlg::GetMessageMap() const {
    static const platform::MessageMap map = [] {
        platform::MessageMap m{CDialogEx::ThisMessageMap(), {}};
        for (int i = 0; i < mounting_ids::kRadioCount; ++i)
            m.entries.push_back(
                platform::OnBnClicked(mounting_ids::kFirstRadio + i,
                                      &CReceiver_KXV_MountingTypeDlg::OnBnClickedMountingType));
        m.entries.push_back(platform::OnWmPaint(&CReceiver_KXV_MountingTypeDlg::OnPaint));
        return m;
    }();
    return &map;
}

void CReceiver_KXV_MountingTypeDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Radio(dx, mounting_ids::kFirstRadio, m_nMountingRadio);
}

void CReceiver_KXV_MountingTypeDlg::ExchangeData(int mode) {
    switch (mode) {
        case 1:
            m_nMountingRadio = ItemShowing(MountingTypeParameter(), m_nMountingType);
            UpdateData(FALSE);
            break;
        case 2:
            UpdateData(TRUE);
            m_nMountingType =
                ValueOfItem(MountingTypeParameter(), m_nMountingRadio, m_nMountingType);
            break;
        case 3:
            m_nMountingRadio = 0;
            ShowMountingPicture();
            UpdateData(FALSE);
            m_nMountingType = 0;
            break;
        default:
            break;
    }
}

void CReceiver_KXV_MountingTypeDlg::ShowMountingPicture() {
    static constexpr UINT kBitmaps[] = {IDB_KXV_MOUNT_LEVEL, IDB_KXV_MOUNT_BOTTOM,
                                        IDB_KXV_MOUNT_RIGHT_UP, IDB_KXV_MOUNT_LEFT_UP};
    const bool known = m_nMountingRadio >= 0 && m_nMountingRadio < mounting_ids::kRadioCount;
    ShowPicture(*this, mounting_ids::kPicture,
                known ? kBitmaps[m_nMountingRadio] : IDB_KXV_MOUNT_LEVEL);
}

void CReceiver_KXV_MountingTypeDlg::OnBnClickedMountingType() {
    // The radio shows the click itself; only its index and the picture follow.
    UpdateData(TRUE);
    ShowMountingPicture();
    UserChose(*this, MountingTypeParameter().k);
}

void CReceiver_KXV_MountingTypeDlg::OnPaint() {
    CPaintDC dc(this);
    ShowMountingPicture();
}

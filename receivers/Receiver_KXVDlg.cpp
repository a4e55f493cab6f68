// The KXV page itself: its controls, tooltips, sub-pages and their tab, the controls an
// operation locks, and where each of the 26 held values lives.

#include "receivers/Receiver_KXVDlg.h"

#include <algorithm>
#include <array>

#include "app/Globals.h"
#include "receivers/kxv_messages.h"
#include "sensors/SensorPage.h"

using namespace kxv;

namespace {

// The sub-pages by tab index.
std::array<CDialogEx*, 6> SubPagesByTab() {
    return {&g_receiverKXV_WingType,
            &g_receiverKXV_MountingType,
            &g_receiverKXV_GainSetting,
            &g_receiverKXV_OffsetAngleSetting,
            &g_receiverKXV_AccelerometerCalibration,
            &g_receiverKXV_Information};
}

constexpr const char* kTabTexts[6] = {
    "Wing Type",
    "Mounting Type",
    "Gain Setting",
    "Offset Angle Setting",
    "Accelerometer Calibration",
    "Information",
};

void Place(CDialogEx& page, const CRect& r, bool show) {
    page.SetWindowPos(&CWnd::wndTop, r.left, r.top, r.Width(), r.Height(),
                      show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
}

// The tab strip sits above the sub-pages.
constexpr int kTabStripHeight = 25;

static_assert(kNeitherCheck == BST_INDETERMINATE);

const Parameter& EnableParameter() {
    return FirstHeld(Holder::kPage, Kind::kFlag);
}

}  // namespace

const platform::MessageMap* CReceiver_KXVDlg::GetMessageMap() const {
    using Self = CReceiver_KXVDlg;
    static const platform::MessageMap map = [] {
        platform::MessageMap m{
            CDialogEx::ThisMessageMap(),
            {
                platform::OnNotifyCode(TCN_SELCHANGE, page_ids::kSubPageTab,
                                       &Self::OnTcnSelchangeTab),
                platform::OnWmTimer(&Self::OnTimer),
                platform::OnBnClicked(page_ids::kLoad, &Self::OnBnClickedLoad),
                platform::OnBnClicked(page_ids::kSave, &Self::OnBnClickedSave),
                platform::OnBnClicked(page_ids::kRead, &Self::OnBnClickedRead),
                platform::OnBnClicked(page_ids::kWrite, &Self::OnBnClickedWrite),
                platform::OnBnClicked(page_ids::kDefault, &Self::OnBnClickedDefault),
            }};
        for (platform::MessageMapEntry& e : UserChoiceEntries(Holder::kPage))
            m.entries.push_back(std::move(e));
        return m;
    }();
    return &map;
}

void CReceiver_KXVDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, page_ids::kSubPageTab, m_tabSubPages);
    DDX_Control(dx, page_ids::kDefault, m_btnDefault);
    DDX_Control(dx, page_ids::kLoad, m_btnLoad);
    DDX_Control(dx, page_ids::kRead, m_btnRead);
    DDX_Control(dx, page_ids::kSave, m_btnSave);
    DDX_Control(dx, page_ids::kWrite, m_btnWrite);
    DDX_Control(dx, page_ids::kProgress, m_progress);
    DDX_Control(dx, page_ids::kKxvEnable, m_checkKxvEnable);
}

BOOL CReceiver_KXVDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_progress.SetRange(0, static_cast<short>(kProgressTicks));
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_HIDE);
    m_progress.SetBarColor(0x66FF66);
    m_progress.SetBkColor(0x242424);

    EnableToolTips(TRUE);
    g_kxvToolTip.Create(this, 0);
    g_kxvToolTip.Activate(TRUE);
    g_kxvToolTip.AddTool(&m_btnRead, "Read the configuration from receiver (K4V/K5V/K7L)");
    g_kxvToolTip.AddTool(&m_btnWrite, "Write the configuration to receiver (K4V/K5V/K7L)");
    g_kxvToolTip.AddTool(&m_btnDefault,
                         "Write the default configuration to receiver (K4V/K5V/K7L)");
    g_kxvToolTip.AddTool(&m_btnLoad, "Load a configuration parameter file to the software ");
    g_kxvToolTip.AddTool(&m_btnSave, "Save the configuration parameters to a file");

    CreateSubPages();
    return TRUE;
}

BOOL CReceiver_KXVDlg::PreTranslateMessage(MSG* msg) {
    g_kxvToolTip.RelayEvent(msg);
    return CDialogEx::PreTranslateMessage(msg);
}

CRect CReceiver_KXVDlg::SubPageRect() {
    CRect r;
    m_tabSubPages.GetClientRect(&r);
    r.DeflateRect(1, kTabStripHeight, 1, 1);
    return r;
}

void CReceiver_KXVDlg::CreateSubPages() {
    // The values the sub-pages start with are nobody's choice.
    m_fillingControls = true;
    for (int i = 0; i < 6; ++i) m_tabSubPages.InsertItem(i, kTabTexts[i]);
    const CRect r = SubPageRect();
    // Created in the order the exchange visits them; Information last.
    for (CDialogEx* page : {static_cast<CDialogEx*>(&g_receiverKXV_AccelerometerCalibration),
                            static_cast<CDialogEx*>(&g_receiverKXV_GainSetting),
                            static_cast<CDialogEx*>(&g_receiverKXV_MountingType),
                            static_cast<CDialogEx*>(&g_receiverKXV_OffsetAngleSetting),
                            static_cast<CDialogEx*>(&g_receiverKXV_WingType),
                            static_cast<CDialogEx*>(&g_receiverKXV_Information)})
        page->Create(page->TemplateId(), &m_tabSubPages);
    m_fillingControls = false;
    for (int i = 0; i < 6; ++i) Place(*SubPagesByTab()[static_cast<std::size_t>(i)], r, i == 0);
}

void CReceiver_KXVDlg::OnTcnSelchangeTab(NMHDR*, LRESULT* result) {
    *result = 0;
    const CRect r = SubPageRect();
    const int selected = m_tabSubPages.GetCurSel();
    if (selected > 5) return;
    for (int i = 0; i < 6; ++i)
        Place(*SubPagesByTab()[static_cast<std::size_t>(i)], r, i == selected);
    if (selected == 0) g_receiverKXV_WingType.ShowWingPicture();
    if (selected == 1) g_receiverKXV_MountingType.ShowMountingPicture();
    if (selected == 4) g_receiverKXV_AccelerometerCalibration.ShowOrientationPicture();
}

void CReceiver_KXVDlg::OnTimer(UINT_PTR id) {
    switch (id) {
        case timers::kReadSequence:
            RunReadSequence();
            break;
        case timers::kReadReply:
            ParseReadReply();
            break;
        case timers::kWriteSequence:
            RunWriteSequence();
            break;
        case timers::kWriteReply:
            ParseWriteReply();
            break;
        case timers::kCalibration:
            RunCalibrationSequence();
            break;
        case timers::kProgress:
            StepProgress();
            break;
        case timers::kTimeout:
            FinishOperation();
            break;
        default:
            break;
    }
    CDialogEx::OnTimer(id);
}

void CReceiver_KXVDlg::ExchangeEnableFlag(int mode) {
    switch (mode) {
        case 1:
            m_checkKxvEnable.SetCheck(ItemShowing(EnableParameter(), m_nKxvEnable));
            UpdateData(FALSE);
            break;
        case 2:
            UpdateData(TRUE);
            m_nKxvEnable =
                ValueOfItem(EnableParameter(), m_checkKxvEnable.GetCheck(), m_nKxvEnable);
            break;
        case 3:
            m_nKxvEnable = 1;
            m_checkKxvEnable.SetCheck(BST_CHECKED);
            UpdateData(FALSE);
            break;
        default:
            break;
    }
}

void CReceiver_KXVDlg::EnableCalibrationButton(int mode, int enable) {
    if (mode != 1 || (enable != 0 && enable != 1)) return;
    CButton& button = g_receiverKXV_AccelerometerCalibration.m_btnCalibration;
    if (button.m_hWnd) button.EnableWindow(enable);
}

void CReceiver_KXVDlg::EnableControls(BOOL enable) {
    for (CButton* b : {&m_btnLoad, &m_btnSave, &m_btnRead, &m_btnWrite, &m_btnDefault})
        if (b->m_hWnd) b->EnableWindow(enable);
    EnableCalibrationButton(1, enable ? 1 : 0);
    // The main window: the parent of the tab control that hosts this page.
    CWnd* tab = GetParent();
    CWnd* main = tab ? tab->GetParent() : nullptr;
    if (!main) return;
    for (int id : {sensor_ids::kMainTree, sensor_ids::kMainOpen, sensor_ids::kMainTab})
        if (CWnd* w = main->GetDlgItem(id)) w->EnableWindow(enable);
}

int& CReceiver_KXVDlg::HeldValue(int k) {
    const Parameter& p =
        kParameters[static_cast<std::size_t>(std::clamp(k, 0, kParameterCount - 1))];
    const int place = PlaceInHolder(p);
    CReceiver_KXV_WingTypeDlg& wing = g_receiverKXV_WingType;
    CReceiver_KXV_GainSettingDlg& gain = g_receiverKXV_GainSetting;
    switch (p.holder) {
        case Holder::kWingType: {
            int* const flags[] = {&wing.m_nAux1, &wing.m_nAux2, &wing.m_nQuickMode};
            return p.kind == Kind::kChoice ? wing.m_nWingType : *flags[place];
        }
        case Holder::kMountingType:
            return g_receiverKXV_MountingType.m_nMountingType;
        case Holder::kGainSetting:
            return p.kind == Kind::kDirection ? gain.m_nDirection[place] : gain.m_nGain[place];
        case Holder::kOffsetAngleSetting:
            return g_receiverKXV_OffsetAngleSetting.m_nAngle[place];
        case Holder::kPage:
            break;
    }
    return m_nKxvEnable;
}

kxv::Values CReceiver_KXVDlg::HeldValues() {
    kxv::Values v{};
    for (int k = 0; k < kParameterCount; ++k) v[static_cast<std::size_t>(k)] = HeldValue(k);
    return v;
}

void CReceiver_KXVDlg::ExchangeSubPages(int mode) {
    m_fillingControls = true;
    g_receiverKXV_AccelerometerCalibration.ExchangeData(mode);
    g_receiverKXV_GainSetting.ExchangeData(mode);
    g_receiverKXV_MountingType.ExchangeData(mode);
    g_receiverKXV_OffsetAngleSetting.ExchangeData(mode);
    g_receiverKXV_WingType.ExchangeData(mode);
    ExchangeEnableFlag(mode);
    m_fillingControls = false;
}

void CReceiver_KXVDlg::UserChose(int k) {
    if (!m_fillingControls && k >= 0 && k < kParameterCount)
        m_known.set(static_cast<std::size_t>(k));
}

std::string CReceiver_KXVDlg::UnknownKeys() const {
    std::string keys;
    for (const Parameter& p : kParameters) {
        if (m_known.test(static_cast<std::size_t>(p.k))) continue;
        if (!keys.empty()) keys += ", ";
        keys += p.key;
    }
    return keys;
}

bool CReceiver_KXVDlg::AllKnown(const char* consequence) {
    const std::string unknown = UnknownKeys();
    if (unknown.empty()) return true;
    // All 26 keys would say no more than that none is known.
    const std::string why =
        m_known.none() ? std::string(texts::kNoneKnownYet) : texts::kNotKnownYet + unknown;
    const std::string text = std::string(consequence) + " " + why + texts::kHowToKnow;
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONWARNING);
    return false;
}

void kxv::UserChose(CWnd& on, int k) {
    for (CWnd* w = &on; w; w = w->GetParent())
        if (auto* page = dynamic_cast<CReceiver_KXVDlg*>(w)) return page->UserChose(k);
}

std::vector<platform::MessageMapEntry> kxv::UserChoiceEntries(Holder holder) {
    std::vector<platform::MessageMapEntry> entries;
    for (const Parameter& p : kParameters) {
        if (p.holder != holder || p.kind == Kind::kChoice) continue;
        UINT code = BN_CLICKED;
        if (p.kind == Kind::kDirection) code = CBN_SELCHANGE;
        if (p.kind == Kind::kGain || p.kind == Kind::kAngle) code = EN_CHANGE;
        entries.push_back(
            {platform::kWmCommand, code, p.control, [k = p.k](CWnd* on, WPARAM, LPARAM) -> LRESULT {
                 UserChose(*on, k);
                 return 0;
             }});
    }
    return entries;
}

#include "app/AutoUpdateDlg.h"

CAutoUpdateDlg* g_pUpdateDlg = nullptr;
CWnd* g_pUpdateProgress = nullptr;

namespace {

// A light green bar on dark grey.
constexpr COLORREF kBarColor = 0x66FF66;
constexpr COLORREF kBackgroundColor = 0x242424;

}  // namespace

const platform::MessageMap* CAutoUpdateDlg::GetMessageMap() const {
    static const platform::MessageMap map{CDialogEx::ThisMessageMap(),
                                          {platform::OnWmTimer(&CAutoUpdateDlg::OnTimer)}};
    return &map;
}

void CAutoUpdateDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, 1104, m_progress);
}

BOOL CAutoUpdateDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    g_pUpdateProgress = GetDlgItem(1104);
    // The range stays the bar's own 0 to 100, so the last forty steps show it full.
    g_pUpdateProgress->SendMessage(PBM_SETBARCOLOR, 0, kBarColor);
    g_pUpdateProgress->SendMessage(PBM_SETBKCOLOR, 0, kBackgroundColor);
    return TRUE;
}

void CAutoUpdateDlg::StartAnimation() {
    SetTimer(kAnimationTimer, kAnimationPeriodMs);
}

void CAutoUpdateDlg::OnTimer(UINT_PTR id) {
    if (id == kAnimationTimer) StepAnimation();
    CDialogEx::OnTimer(id);
}

void CAutoUpdateDlg::StepAnimation() {
    g_pUpdateProgress->ShowWindow(SW_SHOW);
    if (++m_nAnimationStep == kAnimationSteps) m_nAnimationStep = 0;
    g_pUpdateProgress->SendMessage(PBM_SETPOS, m_nAnimationStep, 0);
}

#include "radios/Radios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg.h"

#include "app/Globals.h"

using CExMixerDlg = CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg;

const platform::MessageMap* CExMixerDlg::GetMessageMap() const {
    static const platform::MessageMap map = [] {
        platform::MessageMap m{CDialogEx::ThisMessageMap(), {}};
        // Every row's buttons do the same, whichever row they are on.
        for (int i = 0; i < kMixers; ++i)
            m.entries.push_back(
                platform::OnBnClicked(kFirstEdit + i, &CExMixerDlg::OnBnClickedEdit));
        for (int i = 0; i < kMixers; ++i)
            m.entries.push_back(
                platform::OnBnClicked(kFirstReset + i, &CExMixerDlg::OnBnClickedReset));
        return m;
    }();
    return &map;
}

void CExMixerDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    for (int i = 0; i < kMixers; ++i) {
        DDX_Control(dx, kFirstEdit + i, m_btnEdit[i]);
        DDX_Control(dx, kFirstReset + i, m_btnReset[i]);
    }
}

void CExMixerDlg::OnBnClickedEdit() {
    g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer_Edit.DoModal();
}

void CExMixerDlg::OnBnClickedReset() {
    // There is nothing stored to reset yet; either answer leaves the mixers as they are.
    AfxMessageBox("Are you sure you want to reset it?", MB_YESNO | MB_ICONQUESTION);
}

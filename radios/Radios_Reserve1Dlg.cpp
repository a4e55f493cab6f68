#include "radios/Radios_Reserve1Dlg.h"

#include "app/Globals.h"
#include "radios/page_placement.h"

const platform::MessageMap* CRadios_Reserve1Dlg::GetMessageMap() const {
    static const platform::MessageMap map{
        CDialogEx::ThisMessageMap(),
        {platform::OnNotifyCode(TCN_SELCHANGE, 1231,
                                &CRadios_Reserve1Dlg::OnTcnSelchangeRadioTab)}};
    return &map;
}

void CRadios_Reserve1Dlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, 1231, m_tabRadios);
}

BOOL CRadios_Reserve1Dlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    CreateRadioPages();
    return TRUE;
}

CRect CRadios_Reserve1Dlg::RadioPageRect() {
    // Below the tab strip, inside the frame.
    CRect r;
    m_tabRadios.GetClientRect(&r);
    r.left += 1;
    r.top += 25;
    r.right -= 1;
    r.bottom -= 1;
    return r;
}

void CRadios_Reserve1Dlg::CreateRadioPages() {
    m_tabRadios.InsertItem(0, "T70");
    m_tabRadios.InsertItem(1, "T90");
    const CRect r = RadioPageRect();
    g_radiosModelCreate_T70.Create(CRadios_ModelCreate_T70Dlg::IDD, &m_tabRadios);
    g_radiosModelCreate_T90.Create(CRadios_ModelCreate_T90Dlg::IDD, &m_tabRadios);
    radios::PlacePage(g_radiosModelCreate_T70, r, true);
    radios::PlacePage(g_radiosModelCreate_T90, r, false);
}

void CRadios_Reserve1Dlg::OnTcnSelchangeRadioTab(NMHDR*, LRESULT* result) {
    *result = 0;
    const CRect r = RadioPageRect();
    const int tab = m_tabRadios.GetCurSel();
    if (tab == 0) {
        radios::PlacePage(g_radiosModelCreate_T70, r, true);
        radios::PlacePage(g_radiosModelCreate_T90, r, false);
    } else if (tab == 1) {
        radios::PlacePage(g_radiosModelCreate_T70, r, false);
        radios::PlacePage(g_radiosModelCreate_T90, r, true);
    }
}

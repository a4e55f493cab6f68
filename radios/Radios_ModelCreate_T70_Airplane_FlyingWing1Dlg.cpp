#include "radios/Radios_ModelCreate_T70_Airplane_FlyingWing1Dlg.h"

#include "app/Globals.h"

const platform::MessageMap* CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg::GetMessageMap() const {
    static const platform::MessageMap map{
        CDialogEx::ThisMessageMap(),
        {platform::OnBnClicked(
            1294, &CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg::OnBnClickedExMixer)}};
    return &map;
}

void CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg::DoDataExchange(CDataExchange* dx) {
    ModelTemplatePage::DoDataExchange(dx);
    DDX_Control(dx, 1294, m_btnExMixer);
}

void CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg::OnBnClickedExMixer() {
    g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer.DoModal();
}

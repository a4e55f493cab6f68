#include "sensors/Sensor_ConfigureDlg.h"

const platform::MessageMap* CSensor_ConfigureDlg::GetMessageMap() const {
    static const platform::MessageMap map{
        CDialogEx::ThisMessageMap(),
        {platform::OnBnClicked(IDOK, &CSensor_ConfigureDlg::OnBnClickedOk)}};
    return &map;
}

void CSensor_ConfigureDlg::OnBnClickedOk() {
    CDialogEx::OnOK();
}

#include "sensors/SensorPage.h"

namespace {

void Enable(CWnd* page, int id, BOOL on) {
    if (CWnd* w = page->GetDlgItem(id)) w->EnableWindow(on);
}

void Caption(CWnd* page, int id, const char* text) {
    if (CWnd* w = page->GetDlgItem(id)) w->SetWindowText(text);
}

}  // namespace

CWnd* CSensorPage::MainWindow() const {
    CWnd* tab = GetParent();
    return tab ? tab->GetParent() : nullptr;
}

void CSensorPage::ResetPage() {
    using namespace sensor_ids;
    m_bMonitorIdle = 1;
    m_bConfigIdle = 1;
    Caption(this, kMonitoring, "Monitoring");
    Caption(this, kConfigure, "Configure");
    if (CWnd* main = MainWindow()) main->KillTimer(0);
    Enable(this, kMonitoring, m_bPortOpen == 1);
    Enable(this, kConfigure, m_bPortOpen == 1);
    Enable(this, kRead, FALSE);
    Enable(this, kWrite, FALSE);
    Enable(this, kDefault, FALSE);
}

void CSensorPage::StopTimers() {
    for (int id = 0; id < TimerCount(); ++id) KillTimer(static_cast<UINT_PTR>(id));
    if (CWnd* bar = GetDlgItem(sensor_ids::kProgress)) bar->ShowWindow(SW_HIDE);
    m_nProgress = 0;
}

void CSensorPage::DrawConnectionState() {
    CWnd* lamp = GetDlgItem(sensor_ids::kLamp);
    if (!lamp) return;
    HBITMAP bitmap = nullptr;
    if (m_nConnState == 0) bitmap = platform::LoadBitmapResource(sensor_ids::kLampOff);
    if (m_nConnState == 1) bitmap = platform::LoadBitmapResource(sensor_ids::kLampOn);
    lamp->ModifyStyle(0x0F, SS_BITMAP | SS_CENTERIMAGE);
    lamp->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void CSensorPage::RefreshDisplay() {
    UpdateData(FALSE);
}

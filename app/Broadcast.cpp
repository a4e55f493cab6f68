// One call that changes every reachable sensor page at once, and the KXV page's buttons.

#include <array>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "sensors/SensorPage.h"

namespace {

// The order every mode visits them; the video transmitter page comes last and has no
// Monitoring button.
std::array<CSensorPage*, 13> Pages() {
    return {&g_sensorAirSpeed, &g_sensorCurrentH,       &g_sensorCurrentL,
            &g_sensorGPS,      &g_sensorLipoVoltage,    &g_sensorRedundancyBus,
            &g_sensorRPM,      &g_sensorQWireToUART,    &g_sensorVariometer,
            &g_sensorFuelKit,  &g_sensorSteeringEngine, &g_sensorReserve1,
            &g_sensorReserve2};
}

bool HasMonitoring(const CSensorPage* page) {
    return page != &g_sensorReserve2;
}

void Caption(CWnd* page, int id, const char* text) {
    if (CWnd* w = page->GetDlgItem(id)) w->SetWindowText(text);
}

void Enable(CWnd* page, int id, BOOL on) {
    if (CWnd* w = page->GetDlgItem(id)) w->EnableWindow(on);
}

}  // namespace

void CKestrovaDlg::BroadcastToSensorPages(int mode, int flag) {
    using namespace sensor_ids;
    switch (mode) {
        case 0:
            PurgePort();
            for (CSensorPage* p : Pages())
                if (HasMonitoring(p)) p->m_bMonitorIdle = !p->m_bMonitorIdle;
            if (flag != 0 && flag != 1) return;
            for (CSensorPage* p : Pages()) {
                if (HasMonitoring(p)) Caption(p, kMonitoring, flag ? "Stop" : "Monitoring");
                Enable(p, kConfigure, !flag);
            }
            return;
        case 1:
            PurgePort();
            for (CSensorPage* p : Pages()) p->m_bConfigIdle = !p->m_bConfigIdle;
            if (flag != 0 && flag != 1) return;
            for (CSensorPage* p : Pages()) {
                Caption(p, kConfigure, flag ? "Stop" : "Configure");
                if (HasMonitoring(p)) Enable(p, kMonitoring, !flag);
            }
            return;
        case 2:
            for (CSensorPage* p : Pages()) p->ResetPage();
            if (auto* main =
                    dynamic_cast<CKestrovaDlg*>(AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr))
                main->m_btnOpen.EnableWindow(TRUE);
            return;
        case 3:
            for (CSensorPage* p : Pages()) p->m_bPortOpen = flag == 1 ? 1 : 0;
            return;
        case 4:
            if (flag != 0 && flag != 1) return;
            for (CSensorPage* p : Pages()) {
                Enable(p, kRead, !flag);
                p->EnableDefault(!flag);
                if (flag) Enable(p, kWrite, FALSE);
            }
            return;
        default:
            return;
    }
}

void CKestrovaDlg::EnableKxvControls(int mode, int flag) {
    if (mode != 1 || (flag != 0 && flag != 1)) return;
    // Nothing of the page may go on polling a port that closes.
    if (flag == 0) g_receiverKXV.StopTimers();
    using namespace kxv::page_ids;
    for (int id : {kLoad, kSave, kRead, kWrite, kDefault}) Enable(&g_receiverKXV, id, flag);
    g_receiverKXV.EnableCalibrationButton(1, flag);
}

// The program itself, its own entry and start-up, with a user who opens the first port, starts a
// Read on the KXV page and then does what the command line names: opens a message box, a file
// dialog or the About box over it ("message-box", "file-dialog", "about-box"), hangs the program
// ("hang"), or nothing more; or who starts a Write on the air-speed page instead, to the sensor
// at physical ID 9 that a scan would have found ("air-write"). Once that is done it prints
// "ready". No update server is asked and only the ports of $KESTROVA_DEVICES exist.

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/update_server.h"
#include "platform/file_dialog.h"
#include "platform/port_namespace.h"
#include "receivers/kxv_ids.h"
#include "sensors/SensorPage.h"
#include "support/ui_harness.h"

namespace {

using kestrova::test::Click;
using kestrova::test::SelectTreeItem;

HTREEITEM TreeItem(CKestrovaDlg& main, const char* text) {
    for (HTREEITEM item : main.m_hTreeItems)
        if (item && main.m_treeDevices.GetItemText(item) == text) return item;
    return nullptr;
}

// The operation the user starts once the port is open.
bool StartOperation(CKestrovaDlg& main, const std::string& then) {
    if (then != "air-write")
        return SelectTreeItem(&main, 1000, TreeItem(main, "KXV")) &&
               Click(&g_receiverKXV, kxv::page_ids::kRead);
    if (!SelectTreeItem(&main, 1000, TreeItem(main, "AirSpeedSensor"))) return false;
    g_sensorAirSpeed.m_nPhysIdIndex = 9;
    g_sensorAirSpeed.SetDlgItemText(sensor_ids::kPhysIdEdit, "9");
    g_sensorAirSpeed.OnBnClickedWrite();
    return true;
}

bool BoxOpen(CKestrovaDlg& main) {
    QWidget* top = QApplication::activeModalWidget();
    return top && top != main.m_hWnd;
}

void OpenBox(const std::string& what, CKestrovaDlg& main) {
    if (what == "message-box") {
        AfxMessageBox("Keep these values?", MB_YESNO | MB_ICONQUESTION);
    } else if (what == "file-dialog") {
        CFileDialog dialog(TRUE, "csv", nullptr, 0, "Parameter files (*.csv)|*.csv||", &main);
        dialog.DoModal();
    } else if (what == "about-box") {
        main.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
    }
}

// Acts once the main window is up: a timer of the user's own, so the program's loops run it.
void Drive() {
    ::setvbuf(stdout, nullptr, _IOLBF, 0);
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    update::SetUpdateServerForTesting({});
    const QStringList args = QCoreApplication::arguments();
    const std::string then = args.size() > 1 ? args[1].toStdString() : "";
    auto* user = new QTimer(QCoreApplication::instance());
    QObject::connect(user, &QTimer::timeout, [user, then, step = 0]() mutable {
        auto* main = static_cast<CKestrovaDlg*>(theApp.m_pMainWnd);
        if (!main || !main->IsWindowVisible()) return;
        if (step == 0) {
            step = 1;
            if (!Click(main, 1002) || !StartOperation(*main, then)) {
                user->stop();
                std::puts("the operation could not be started");
                return;
            }
            // From the program's loop, as the program's own boxes come from its handlers.
            QTimer::singleShot(0, [then, main] { OpenBox(then, *main); });
            return;
        }
        // The Read writes its enter frame on a timer of its own, which a late tick of this one
        // can come before: a program hung before that would never have entered.
        const bool entered = g_receiverKXV.m_nReadStep > 0;
        const bool plain = then.empty() || then == "air-write";
        if (step == 1 && (plain || (then == "hang" && entered) || BoxOpen(*main))) {
            step = 2;
            user->stop();
            std::puts("ready");
            if (then == "hang")
                for (;;) ::pause();
        }
    });
    user->start(20);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Drive)

// The program itself, its own entry and start-up, with a user who opens the first port, starts a
// Read on the KXV page and then does what the command line names: opens a message box, a file
// dialog or the About box over it ("message-box", "file-dialog", "about-box"), hangs the program
// ("hang"), or nothing more. Once that is done it prints "ready". No update server is asked and
// only the ports of $KESTROVA_DEVICES exist.

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
#include "support/ui_harness.h"

namespace {

using kestrova::test::Click;
using kestrova::test::SelectTreeItem;

HTREEITEM KxvItem(CKestrovaDlg& main) {
    for (HTREEITEM item : main.m_hTreeItems)
        if (item && main.m_treeDevices.GetItemText(item) == "KXV") return item;
    return nullptr;
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
            if (!Click(main, 1002) || !SelectTreeItem(main, 1000, KxvItem(*main)) ||
                !Click(&g_receiverKXV, kxv::page_ids::kRead)) {
                user->stop();
                std::puts("the Read could not be started");
                return;
            }
            // From the program's loop, as the program's own boxes come from its handlers.
            QTimer::singleShot(0, [then, main] { OpenBox(then, *main); });
            return;
        }
        // The Read writes its enter frame on a timer of its own, which a late tick of this one
        // can come before: a program hung before that would never have entered.
        const bool entered = g_receiverKXV.m_nReadStep > 0;
        if (step == 1 && (then.empty() || (then == "hang" && entered) || BoxOpen(*main))) {
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

// The program's entry: make the Qt application, then run the application object's start-up as
// the class library's WinMain does. InitInstance returning FALSE ends the program; so does a
// termination signal, through the main window's close.

#include <QApplication>

#include "platform/device_events.h"
#include "platform/fonts.h"
#include "platform/termination_signals.h"
#include "platform/ui_events.h"
#include "platform/win_app.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    platform::ApplyProgramFont();
    platform::EnsureUiEvents();
    platform::StartDeviceWatch();
    platform::CloseOnTerminationSignals();
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    int code = 0;
    if (!app->InitInstance()) {
        code = app->ExitInstance();
    } else {
        code = QApplication::exec();
        app->ExitInstance();
    }
    platform::StopDeviceWatch();
    return code;
}

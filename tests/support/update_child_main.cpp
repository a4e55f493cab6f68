// The program's start-up in a process of its own, for the update tests: it checks the server
// named on its command line (trusting the authority named after it), answers every box with
// OK and prints each box's caption and text. An update that succeeds ends this process with
// exit code 0 from inside the start-up; a start-up that goes on, or that a termination signal
// closes as it closes the program, ends it with exit code 3.

#include <cstdio>
#include <cstdlib>

#include "app/Globals.h"
#include "app/update_server.h"
#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/termination_signals.h"
#include "support/ui_harness.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SERVER-URL CA-FILE\n", argv[0]);
        return 2;
    }
    // No serial device of this machine takes part.
    ::setenv("KESTROVA_DEVICES", "/nonexistent-kestrova-devices", 1);
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    kestrova::test::EnsureQtApp();
    platform::CloseOnTerminationSignals();
    update::SetUpdateServerForTesting({argv[1], argv[2], true});
    platform::SetModalHook([](const platform::ModalRecord& r) {
        if (r.kind == platform::ModalKind::MessageBox) {
            std::printf("box: %s | %s\n", r.caption.c_str(), r.text.c_str());
            std::fflush(stdout);
            return platform::ModalAnswer{IDOK};
        }
        // The main window: closed at once, which ends the start-up.
        return platform::ModalAnswer{IDCANCEL};
    });
    theApp.InitInstance();
    return 3;
}

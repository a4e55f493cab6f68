#pragma once
// The program as the benchmarks run it in real time: its surroundings as at start-up, and every
// modal UI answered at once so that nothing waits for a user.

#include <string>
#include <vector>

#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/ui_events.h"
#include "resources/resources.h"

namespace bench {

// Once the QApplication exists: the program's events and resources, and none of this machine's
// own serial devices (the simulator's port entry comes through KESTROVA_DEVICES).
inline void PrepareProgram() {
    platform::EnsureUiEvents();
    resources::RegisterAll();
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
}

// Every modal UI answered OK; the texts of the message boxes go to `texts`.
inline void KeepMessageBoxTexts(std::vector<std::string>& texts) {
    platform::SetModalHook([&texts](const platform::ModalRecord& r) {
        if (r.kind == platform::ModalKind::MessageBox) texts.push_back(r.text);
        return platform::ModalAnswer{IDOK};
    });
}

}  // namespace bench

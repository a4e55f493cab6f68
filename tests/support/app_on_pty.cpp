#include "support/app_on_pty.h"

#include <unistd.h>

#include <cstdlib>

#include "app/Globals.h"
#include "platform/device_events.h"
#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/timer_service.h"
#include "platform/ui_events.h"
#include "resources/resources.h"

namespace kestrova::test {

namespace fs = std::filesystem;

void AppOnPty::SetUp() {
    EnsureQtApp();
    platform::EnsureUiEvents();
    resources::RegisterAll();
    dir = fs::temp_directory_path() / ("kestrova-e2e-app-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    // The simulator's entry is the only port there is: none of this machine's own devices.
    ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    platform::SetModalHook([this](const platform::ModalRecord& r) {
        if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
        return platform::ModalAnswer{IDOK, fileName.empty() ? "" : (dir / fileName).string()};
    });
}

void AppOnPty::TearDown() {
    if (main) main->DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    main.reset();
    g_serialPort.Close();
    // A scenario that watches the ports as the program does stops here; for the others this
    // does nothing.
    platform::StopDeviceWatch();
    platform::SetModalHook(nullptr);
    sim.reset();
    fs::remove_all(dir);
}

void AppOnPty::StartSim(std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", "COM7"});
    sim = std::make_unique<SimProcess>(dir, std::move(args));
    ASSERT_EQ(sim->Line(), "COM7");
}

void AppOnPty::StartProgram() {
    main = std::make_unique<CKestrovaDlg>();
    // As at start-up: the application knows its main window.
    theApp.m_pMainWnd = main.get();
    ASSERT_TRUE(main->Create(CKestrovaDlg::IDD));
    main->OnBnClickedOpen();
    ASSERT_TRUE(g_serialPort.IsOpen());
    messages.clear();
}

void AppOnPty::Start(std::vector<std::string> simArgs) {
    ASSERT_NO_FATAL_FAILURE(StartSim(std::move(simArgs)));
    StartProgram();
}

bool AppOnPty::Running(CWnd& window, UINT_PTR id) {
    return platform::TimerService::Instance().IsRunning(&window, id);
}

void AppOnPty::Configure(CSensorPage& page) {
    page.OnBnClickedConfigure();
    ASSERT_TRUE(
        WaitUntil([&] { return !Running(page, sensor_timers::kTimeout) && page.m_nConnState == 1; },
                  kDeadlineMs));
}

CString AppOnPty::Text(CWnd& window, int id) {
    CString t;
    window.GetDlgItemText(id, t);
    return t;
}

}  // namespace kestrova::test

// kestrova-sim on a pty with real timers and the real device watch: the simulator ended with
// SIGTERM (its COM entry goes) or killed with SIGKILL (its entry dangles) in the middle of a
// Read, and a new simulator started under the same name; and a simulator that hands its bytes
// over only every 16 ms, as a USB adapter's latency timer does.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/device_events.h"
#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/timer_service.h"
#include "platform/ui_events.h"
#include "resources/resources.h"
#include "support/sim_process.h"
#include "support/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using kestrova::test::SimProcess;
using kestrova::test::WaitUntil;

// Generous: a busy machine runs timers and the simulator late.
constexpr int kDeadlineMs = 30'000;
// How long nothing more may happen after the port is gone.
constexpr int kQuietMs = 1500;

class PortLossOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        kestrova::test::EnsureQtApp();
        platform::EnsureUiEvents();
        resources::RegisterAll();
        dir = fs::temp_directory_path() / ("kestrova-e2e-loss-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
        platform::SetModalHook([this](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
            return platform::ModalAnswer{IDOK};
        });
    }
    void TearDown() override {
        if (main) main->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        main.reset();
        g_serialPort.Close();
        platform::StopDeviceWatch();
        platform::SetModalHook(nullptr);
        sim.reset();
        fs::remove_all(dir);
    }
    void StartSim(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--port", "COM7", "--device", "airspeed@9:3"};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<SimProcess>(dir, args);
        ASSERT_EQ(sim->Line(), "COM7");
    }
    // The program as a user starts it, after the simulator: it watches the ports from then on.
    void StartProgram() {
        platform::StartDeviceWatch();
        main = std::make_unique<CKestrovaDlg>();
        theApp.m_pMainWnd = main.get();
        ASSERT_TRUE(main->Create(CKestrovaDlg::IDD));
        main->OnBnClickedOpen();
        ASSERT_TRUE(g_serialPort.IsOpen());
        messages.clear();
    }
    bool Running(CWnd* w, UINT_PTR id) {
        return platform::TimerService::Instance().IsRunning(w, id);
    }
    // Configure's first run over and a whole sweep seen.
    void Configure() {
        page.OnBnClickedConfigure();
        ASSERT_TRUE(
            WaitUntil([&] { return !Running(&page, 2) && page.m_nConnState == 1; }, kDeadlineMs));
    }
    CString OpenButtonText() {
        CString t;
        main->GetDlgItemText(1002, t);
        return t;
    }
    bool Listed(const char* port) {
        for (int i = 0; i < main->m_comboPort.GetCount(); ++i) {
            CString t;
            main->m_comboPort.GetLBText(i, t);
            if (t == port) return true;
        }
        return false;
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CKestrovaDlg> main;
    std::vector<std::string> messages;
    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
};

struct Ending {
    const char* name;
    int signal;
    const char* box;  // the one box the user meets
};
void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

class SimEndsDuringRead : public PortLossOnPty, public ::testing::WithParamInterface<Ending> {};

TEST_P(SimEndsDuringRead, OneBoxTheClosedStateAndANewSimulatorIsListedAndOpens) {
    const Ending e = GetParam();
    StartSim();
    StartProgram();
    Configure();
    ASSERT_EQ(page.m_nPhysIdIndex, 9);
    messages.clear();

    page.OnBnClickedRead();
    ASSERT_TRUE(WaitUntil([&] { return page.m_nReadStep >= 2; }, kDeadlineMs));
    sim->Stop(e.signal);
    ASSERT_TRUE(WaitUntil([&] { return !g_serialPort.IsOpen() && OpenButtonText() == "Open"; },
                          kDeadlineMs));
    WaitUntil([] { return false; }, kQuietMs);
    EXPECT_EQ(messages, std::vector<std::string>{e.box});
    EXPECT_FALSE(main->m_bPortOpen);
    EXPECT_TRUE(main->m_comboPort.IsWindowEnabled());
    EXPECT_EQ(page.m_nConnState, 0);
    for (UINT_PTR id = 0; id <= 6; ++id) {
        EXPECT_FALSE(Running(main.get(), id)) << "main timer " << id;
        EXPECT_FALSE(Running(&page, id)) << "page timer " << id;
    }

    StartSim();
    ASSERT_TRUE(WaitUntil([&] { return Listed("COM7"); }, kDeadlineMs));
    main->OnBnClickedOpen();
    EXPECT_TRUE(g_serialPort.IsOpen());
    EXPECT_STREQ(OpenButtonText(), "Close");
    EXPECT_EQ(messages.size(), 1u) << "the new simulator opened without a box";
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SimEndsDuringRead,
    ::testing::Values(Ending{"SIGTERM", SIGTERM, "No serial port found"},
                      Ending{"SIGKILL", SIGKILL, "The device is not connected."}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

TEST_F(PortLossOnPty, BehindASixteenMillisecondLatencyTimerConfigureFindsTheSensorAtItsId) {
    StartSim({"--device", "lipo@1", "--latency", "16"});
    StartProgram();
    Configure();
    EXPECT_EQ(page.m_nPhysIdIndex, 9);
    EXPECT_EQ(page.m_nAppId, 3);
    ASSERT_TRUE(WaitUntil([] { return g_sensorLipoVoltage.m_nPhysIdIndex == 1; }, kDeadlineMs));
    EXPECT_TRUE(messages.empty());
}

}  // namespace

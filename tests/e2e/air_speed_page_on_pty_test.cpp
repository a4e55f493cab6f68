// The air-speed page with its real timers against kestrova-sim on a pty: Configure, Read, Write
// of new IDs and rate, and a Read that shows them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
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
using namespace sensor_ids;

// Generous: a busy machine runs the timers late, and an operation waits for its progress run.
constexpr int kDeadlineMs = 60'000;

class AirSpeedPageOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        kestrova::test::EnsureQtApp();
        platform::EnsureUiEvents();
        resources::RegisterAll();
        dir = fs::temp_directory_path() / ("kestrova-e2e-page-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
        platform::SetModalHook([this](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
            return platform::ModalAnswer{IDOK};
        });
        sim = std::make_unique<SimProcess>(
            dir, std::vector<std::string>{"--port", "COM7", "--device", "airspeed@9:3"});
        ASSERT_EQ(sim->Line(), "COM7");
        main = std::make_unique<CKestrovaDlg>();
        ASSERT_TRUE(main->Create(CKestrovaDlg::IDD));
        main->OnBnClickedOpen();
        ASSERT_TRUE(g_serialPort.IsOpen());
        messages.clear();
    }
    void TearDown() override {
        if (main) main->DestroyWindow();
        main.reset();
        g_serialPort.Close();
        platform::SetModalHook(nullptr);
        sim.reset();
        fs::remove_all(dir);
    }
    bool Running(UINT_PTR id) { return platform::TimerService::Instance().IsRunning(&page, id); }
    // Starts an operation and lets real time run until its progress run or time-out ends it.
    void Operate(void (CSensorPage::*start)()) {
        messages.clear();
        (page.*start)();
        ASSERT_TRUE(WaitUntil([&] { return !Running(sensor_timers::kTimeout); }, kDeadlineMs));
    }
    CString Text(int id) {
        CString t;
        page.GetDlgItemText(id, t);
        return t;
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CKestrovaDlg> main;
    std::vector<std::string> messages;
    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
};

TEST_F(AirSpeedPageOnPty, ConfigureReadWriteNewSettingsAndReadThemBack) {
    page.OnBnClickedConfigure();
    // The first progress run ends, and a whole sweep has found the sensor.
    ASSERT_TRUE(WaitUntil([&] { return !Running(sensor_timers::kTimeout) && page.m_nConnState == 1; }, kDeadlineMs));
    ASSERT_EQ(page.m_nPhysIdIndex, 9);
    ASSERT_EQ(page.m_nAppId, 3);
    EXPECT_EQ(page.m_nConnState, 1);

    Operate(&CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});
    EXPECT_STREQ(Text(kFirmwareEdit), "1.2");
    EXPECT_STREQ(Text(kDataRateEdit), "300");

    page.SetDlgItemText(kAppIdEdit, "5");
    page.SetDlgItemText(kPhysIdEdit, "12");
    page.SetDlgItemText(kDataRateEdit, "700");
    Operate(&CSensorPage::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});

    page.SetDlgItemText(kAppIdEdit, "");
    page.SetDlgItemText(kPhysIdEdit, "");
    page.SetDlgItemText(kDataRateEdit, "");
    Operate(&CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});
    EXPECT_STREQ(Text(kDataRateEdit), "700");
    EXPECT_STREQ(Text(kAppIdEdit), "5");
    EXPECT_STREQ(Text(kPhysIdEdit), "12");
}

}  // namespace

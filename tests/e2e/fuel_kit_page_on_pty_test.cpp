// The fuel kit's page with its real timers against kestrova-sim on a pty: Configure, Read, a
// Write of new settings and IDs, a Read that shows them, and the three counter resets.

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
using namespace fuel_kit_ids;

// Generous: a busy machine runs the timers late, and an operation waits for its progress run.
constexpr int kDeadlineMs = 60'000;
constexpr const char* kSuccess = "Successful operation！";

class FuelKitPageOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        kestrova::test::EnsureQtApp();
        platform::EnsureUiEvents();
        resources::RegisterAll();
        dir = fs::temp_directory_path() / ("kestrova-e2e-fuel-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
        platform::SetModalHook([this](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
            return platform::ModalAnswer{IDOK};
        });
        sim = std::make_unique<SimProcess>(
            dir, std::vector<std::string>{"--port", "COM7", "--device", "fuel@22:4"});
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
    void Operate(void (CSensor_FuelKitDlg::*start)()) {
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
    CSensor_FuelKitDlg& page = g_sensorFuelKit;
};

TEST_F(FuelKitPageOnPty, ReadWriteReadBackAndResetTheCounters) {
    page.OnBnClickedConfigure();
    ASSERT_TRUE(WaitUntil(
        [&] { return !Running(sensor_timers::kTimeout) && page.m_nConnState == 1; }, kDeadlineMs));
    ASSERT_EQ(page.m_nAppId, 4);

    Operate(&CSensor_FuelKitDlg::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(kVolumeEdit), "1000");
    EXPECT_STREQ(Text(kFactorySettingsEdit), "YES");
    EXPECT_STREQ(Text(kPhysIdEdit), "22");

    page.SetDlgItemText(kVolumeEdit, "2500");
    page.SetDlgItemText(kOverTemp2AlarmEdit, "300");
    page.SetDlgItemText(kAppIdEdit, "6");
    dynamic_cast<CComboBox*>(page.GetDlgItem(kAutoResetCombo))->SetCurSel(kAutoResetOn);
    Operate(&CSensor_FuelKitDlg::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_EQ(page.m_nAppId, 6);

    for (int id : {kVolumeEdit, kOverTemp2AlarmEdit, kAppIdEdit}) page.SetDlgItemText(id, "");
    Operate(&CSensor_FuelKitDlg::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(kVolumeEdit), "2500");
    EXPECT_STREQ(Text(kOverTemp2AlarmEdit), "300");
    EXPECT_STREQ(Text(kAppIdEdit), "6");
    EXPECT_EQ(dynamic_cast<CComboBox*>(page.GetDlgItem(kAutoResetCombo))->GetCurSel(),
              kAutoResetOn);

    for (auto reset : {&CSensor_FuelKitDlg::OnBnClickedResetResidualVolume,
                       &CSensor_FuelKitDlg::OnBnClickedResetMaximumFlow,
                       &CSensor_FuelKitDlg::OnBnClickedResetAverageFlow}) {
        Operate(reset);
        EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    }
}

}  // namespace

// The converter and video transmitter pages with their real timers against kestrova-sim on a
// pty: Configure, Read, Write of new settings, and a Read that shows them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
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
constexpr const char* kSuccess = "Successful operation！";

class ConverterAndVtxPagesOnPty : public ::testing::Test {
  protected:
    void Start(const char* device) {
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
            dir, std::vector<std::string>{"--port", "COM7", "--device", device});
        ASSERT_EQ(sim->Line(), "COM7");
        main = std::make_unique<CKestrovaDlg>();
        ASSERT_TRUE(main->Create(CKestrovaDlg::IDD));
        main->OnBnClickedOpen();
        ASSERT_TRUE(g_serialPort.IsOpen());
    }
    void TearDown() override {
        if (main) main->DestroyWindow();
        main.reset();
        g_serialPort.Close();
        platform::SetModalHook(nullptr);
        sim.reset();
        fs::remove_all(dir);
    }
    bool Running(CSensorPage& page, UINT_PTR id) {
        return platform::TimerService::Instance().IsRunning(&page, id);
    }
    // Configure's first run over and a whole sweep that found the device.
    void Configure(CSensorPage& page) {
        page.OnBnClickedConfigure();
        ASSERT_TRUE(WaitUntil(
            [&] { return !Running(page, sensor_timers::kTimeout) && page.m_nConnState == 1; },
            kDeadlineMs));
    }
    // An operation from its start until its progress run or time-out ends it.
    void Operate(CSensorPage& page, void (CSensorPage::*start)()) {
        messages.clear();
        (page.*start)();
        ASSERT_TRUE(
            WaitUntil([&] { return !Running(page, sensor_timers::kTimeout); }, kDeadlineMs));
    }
    CString Text(CWnd& page, int id) {
        CString t;
        page.GetDlgItemText(id, t);
        return t;
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CKestrovaDlg> main;
    std::vector<std::string> messages;
};

TEST_F(ConverterAndVtxPagesOnPty, ConverterWritesBaudRateAndSwitchesAndReadsThemBack) {
    Start("converter@5:1");
    CSensor_QWireToUARTDlg& page = g_sensorQWireToUART;
    Configure(page);
    ASSERT_EQ(page.m_nPhysIdIndex, 5);
    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, converter_ids::kBaudEdit), "300");

    page.SetDlgItemText(converter_ids::kBaudEdit, "4800");
    page.SetDlgItemText(kAppIdEdit, "2");
    page.SetDlgItemText(kPhysIdEdit, "6");
    page.OnBnClickedTxDisable();
    Operate(page, &CSensorPage::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});

    page.SetDlgItemText(converter_ids::kBaudEdit, "");
    page.OnBnClickedDisableSelfCorrect();
    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, converter_ids::kBaudEdit), "4800");
    // The scan takes the whole low byte of whichever ADC stream it decoded last: 0x02 or 0x12.
    EXPECT_EQ(std::atoi(Text(page, kAppIdEdit)) % 16, 2);
    EXPECT_STREQ(Text(page, kPhysIdEdit), "6");
    EXPECT_EQ(page.m_nSelfCorrect, 0);
    EXPECT_EQ(page.m_nTxMode, 1);
}

TEST_F(ConverterAndVtxPagesOnPty, VideoTransmitterWritesANewSettingAndReadsItBack) {
    Start("vtx@12:2");
    CSensor_Reserve2Dlg& page = g_sensorReserve2;
    Configure(page);
    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, vtx_ids::kFrequency), "5865M");

    // CH6, band E, 200mW, All Frq. "NO".
    const BYTE chosen[8] = {0x10, 0, 0, 0, 12, 4, 5, 0};
    page.ShowVtxSettings(chosen);
    Operate(page, &CSensorPage::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});

    page.ShowVtxSettings(std::array<BYTE, 8>{}.data());
    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, vtx_ids::kFrequency), "5843M");
}

}  // namespace

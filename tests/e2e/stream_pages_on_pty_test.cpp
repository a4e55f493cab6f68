// One page of each shape (one to four streams) with its real timers against
// kestrova-sim on a pty: Configure finds the sensor, Read shows its settings, Write of new IDs,
// rates and poles, a Read that shows them, and Default Settings that brings the factory rates
// back.

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
constexpr const char* kSuccess = "Successful operation！";

// The pages' tree items.
constexpr int kLipoItem = 2;
constexpr int kRpmItem = 6;
constexpr int kVariometerItem = 7;
constexpr int kGpsItem = 9;

// A parameter edit: the factory value a Read shows and the new value the Write sends.
struct Setting {
    int edit;
    const char* factory;
    const char* written;
};

struct Shape {
    const char* name;
    const char* device;  // kestrova-sim's --device argument: physical ID 5, application ID 3
    int treeItem;
    CSensorPage* page;
    const char* firmware;
    std::vector<Setting> settings;
};

void PrintTo(const Shape& s, std::ostream* os) {
    *os << s.name;
}

const Shape kShapes[] = {
    {.name = "OneStreamLipo",
     .device = "lipo@5:3",
     .treeItem = kLipoItem,
     .page = &g_sensorLipoVoltage,
     .firmware = "2.1",
     .settings = {{kDataRateEdit, "300", "700"}}},
    {.name = "TwoStreamVariometer",
     .device = "vario@5:3",
     .treeItem = kVariometerItem,
     .page = &g_sensorVariometer,
     .firmware = "1.4",
     .settings = {{variometer_ids::kAltitudeDataRateEdit, "300", "700"},
                  {variometer_ids::kAltitudeRateDataRateEdit, "300", "900"}}},
    {.name = "ThreeStreamRpm",
     .device = "rpm@5:3",
     .treeItem = kRpmItem,
     .page = &g_sensorRPM,
     .firmware = "1.5",
     .settings = {{rpm_ids::kTemperature1RateEdit, "1000", "2000"},
                  {rpm_ids::kTemperature2RateEdit, "1000", "3000"},
                  {rpm_ids::kSpeedRateEdit, "500", "200"},
                  {rpm_ids::kPolesEdit, "1", "7"}}},
    // Its rates are written in another order than they are read.
    {.name = "FourStreamGps",
     .device = "gps@5:3",
     .treeItem = kGpsItem,
     .page = &g_sensorGPS,
     .firmware = "2.3",
     .settings = {{gps_ids::kPositionRateEdit, "1000", "2000"},
                  {gps_ids::kAltitudeRateEdit, "1000", "1500"},
                  {gps_ids::kSpeedRateEdit, "500", "700"},
                  {gps_ids::kTimeRateEdit, "1000", "3000"}}},
};

class StreamPageOnPty : public ::testing::TestWithParam<Shape> {
  protected:
    void SetUp() override {
        kestrova::test::EnsureQtApp();
        platform::EnsureUiEvents();
        resources::RegisterAll();
        dir = fs::temp_directory_path() / ("kestrova-e2e-pages-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
        platform::SetModalHook([this](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
            return platform::ModalAnswer{IDOK};
        });
        sim = std::make_unique<SimProcess>(
            dir, std::vector<std::string>{"--port", "COM7", "--device", GetParam().device});
        ASSERT_EQ(sim->Line(), "COM7");
        main = std::make_unique<CKestrovaDlg>();
        ASSERT_TRUE(main->Create(CKestrovaDlg::IDD));
        main->OnBnClickedOpen();
        ASSERT_TRUE(g_serialPort.IsOpen());
        main->m_treeDevices.SelectItem(main->m_hTreeItems[GetParam().treeItem]);
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
    CSensorPage& Page() { return *GetParam().page; }
    bool Running(UINT_PTR id) { return platform::TimerService::Instance().IsRunning(&Page(), id); }
    // Starts an operation and lets real time run until its progress run or time-out ends it.
    void Operate(void (CSensorPage::*start)()) {
        messages.clear();
        (Page().*start)();
        ASSERT_TRUE(WaitUntil([&] { return !Running(sensor_timers::kTimeout); }, kDeadlineMs));
    }
    CString Text(int id) {
        CString t;
        Page().GetDlgItemText(id, t);
        return t;
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CKestrovaDlg> main;
    std::vector<std::string> messages;
};

TEST_P(StreamPageOnPty, ConfigureReadWriteReadBackAndRestoreTheDefaults) {
    const Shape& shape = GetParam();
    Page().OnBnClickedConfigure();
    ASSERT_TRUE(
        WaitUntil([&] { return !Running(sensor_timers::kTimeout) && Page().m_nConnState == 1; },
                  kDeadlineMs));
    ASSERT_EQ(Page().m_nPhysIdIndex, 5);
    ASSERT_EQ(Page().m_nAppId, 3);

    Operate(&CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(kFirmwareEdit), shape.firmware);
    for (const Setting& s : shape.settings) EXPECT_STREQ(Text(s.edit), s.factory) << s.edit;

    Page().SetDlgItemText(kAppIdEdit, "6");
    Page().SetDlgItemText(kPhysIdEdit, "12");
    for (const Setting& s : shape.settings) Page().SetDlgItemText(s.edit, s.written);
    Operate(&CSensorPage::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});

    Page().SetDlgItemText(kAppIdEdit, "");
    Page().SetDlgItemText(kPhysIdEdit, "");
    for (const Setting& s : shape.settings) Page().SetDlgItemText(s.edit, "");
    Operate(&CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    for (const Setting& s : shape.settings) EXPECT_STREQ(Text(s.edit), s.written) << s.edit;
    EXPECT_STREQ(Text(kAppIdEdit), "6");
    EXPECT_STREQ(Text(kPhysIdEdit), "12");

    Operate(&CSensorPage::OnBnClickedDefault);
    EXPECT_TRUE(messages.empty()) << "Default Settings ends without a box";
    Operate(&CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    for (const Setting& s : shape.settings) EXPECT_STREQ(Text(s.edit), s.factory) << s.edit;
}

INSTANTIATE_TEST_SUITE_P(Shapes, StreamPageOnPty, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

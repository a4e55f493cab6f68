// One page of each shape (one to four streams) with its real timers against
// kestrova-sim on a pty: Configure finds the sensor, Read shows its settings, Write of new IDs,
// rates and poles, a Read that shows them, and Default Settings that brings the factory rates
// back. Each also behind an adapter that hands the bytes over late and in chunks, with a
// sensor that answers under a data ID of its own.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "app/Globals.h"
#include "support/app_on_pty.h"

namespace {

using kestrova::test::WaitUntil;
using namespace sensor_ids;

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

// How the bytes reach the program: at once, or every 16 ms through an adapter's latency timer
// from a sensor that answers under another data ID than its requests'.
const std::vector<std::string> kWires[] = {{}, {"--latency", "16", "--fault", "answer-id"}};

class StreamPageOnPty
    : public kestrova::test::AppOnPty,
      public ::testing::WithParamInterface<std::tuple<Shape, std::vector<std::string>>> {
  protected:
    void SetUp() override {
        AppOnPty::SetUp();
        std::vector<std::string> args = {"--device", Shape().device};
        args.insert(args.end(), std::get<1>(GetParam()).begin(), std::get<1>(GetParam()).end());
        ASSERT_NO_FATAL_FAILURE(Start(args));
        main->m_treeDevices.SelectItem(main->m_hTreeItems[Shape().treeItem]);
        messages.clear();
    }
    const ::Shape& Shape() { return std::get<0>(GetParam()); }
    CSensorPage& Page() { return *Shape().page; }
};

TEST_P(StreamPageOnPty, ConfigureReadWriteReadBackAndRestoreTheDefaults) {
    const ::Shape& shape = Shape();
    Page().OnBnClickedConfigure();
    ASSERT_TRUE(WaitUntil(
        [&] { return !Running(Page(), sensor_timers::kTimeout) && Page().m_nConnState == 1; },
        kDeadlineMs));
    ASSERT_EQ(Page().m_nPhysIdIndex, 5);
    ASSERT_EQ(Page().m_nAppId, 3);

    Operate(Page(), &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(Page(), kFirmwareEdit), shape.firmware);
    for (const Setting& s : shape.settings) EXPECT_STREQ(Text(Page(), s.edit), s.factory) << s.edit;

    Page().SetDlgItemText(kAppIdEdit, "6");
    Page().SetDlgItemText(kPhysIdEdit, "12");
    for (const Setting& s : shape.settings) Page().SetDlgItemText(s.edit, s.written);
    Operate(Page(), &CSensorPage::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});

    Page().SetDlgItemText(kAppIdEdit, "");
    Page().SetDlgItemText(kPhysIdEdit, "");
    for (const Setting& s : shape.settings) Page().SetDlgItemText(s.edit, "");
    Operate(Page(), &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    for (const Setting& s : shape.settings) EXPECT_STREQ(Text(Page(), s.edit), s.written) << s.edit;
    EXPECT_STREQ(Text(Page(), kAppIdEdit), "6");
    EXPECT_STREQ(Text(Page(), kPhysIdEdit), "12");

    Operate(Page(), &CSensorPage::OnBnClickedDefault);
    EXPECT_TRUE(messages.empty()) << "Default Settings ends without a box";
    Operate(Page(), &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    for (const Setting& s : shape.settings) EXPECT_STREQ(Text(Page(), s.edit), s.factory) << s.edit;
}

INSTANTIATE_TEST_SUITE_P(Shapes, StreamPageOnPty,
                         ::testing::Combine(::testing::ValuesIn(kShapes),
                                            ::testing::ValuesIn(kWires)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param).empty() ? "" : "BehindASlowAdapter");
                         });

}  // namespace

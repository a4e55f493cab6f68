// The air-speed page with its real timers against kestrova-sim on a pty: Configure, Read, Write
// of new IDs and rate, and a Read that shows them.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "support/app_on_pty.h"

namespace {

using kestrova::test::WaitUntil;
using namespace sensor_ids;

class AirSpeedPageOnPty : public kestrova::test::AppOnPty {
  protected:
    void SetUp() override {
        AppOnPty::SetUp();
        std::vector<std::string> args = {"--device", "airspeed@9:3"};
        if (noisy)
            args.insert(args.end(), {"--latency", "16", "--answer-noise", "2", "--answer-noise",
                                     "4", "--log", (dir / "wire.log").string()});
        Start(args);
    }
    void ConfigureAndFind() {
        page.OnBnClickedConfigure();
        // The first progress run ends, and a whole sweep has found the sensor.
        ASSERT_TRUE(WaitUntil(
            [&] { return !Running(page, sensor_timers::kTimeout) && page.m_nConnState == 1; },
            kDeadlineMs));
    }

    bool noisy = false;
    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
};

// Behind a slow adapter, with the last answer of the firmware and of the rate hit in their value
// byte: neither is shown, and the Read shows what the sensor holds.
class AirSpeedPageOnNoisyPty : public AirSpeedPageOnPty {
  public:
    AirSpeedPageOnNoisyPty() { noisy = true; }
};

TEST_F(AirSpeedPageOnPty, ConfigureReadWriteNewSettingsAndReadThemBack) {
    ASSERT_NO_FATAL_FAILURE(ConfigureAndFind());
    ASSERT_EQ(page.m_nPhysIdIndex, 9);
    ASSERT_EQ(page.m_nAppId, 3);
    EXPECT_EQ(page.m_nConnState, 1);

    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});
    EXPECT_STREQ(Text(page, kFirmwareEdit), "1.2");
    EXPECT_STREQ(Text(page, kDataRateEdit), "300");

    page.SetDlgItemText(kAppIdEdit, "5");
    page.SetDlgItemText(kPhysIdEdit, "12");
    page.SetDlgItemText(kDataRateEdit, "700");
    Operate(page, &CSensorPage::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});

    page.SetDlgItemText(kAppIdEdit, "");
    page.SetDlgItemText(kPhysIdEdit, "");
    page.SetDlgItemText(kDataRateEdit, "");
    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});
    EXPECT_STREQ(Text(page, kDataRateEdit), "700");
    EXPECT_STREQ(Text(page, kAppIdEdit), "5");
    EXPECT_STREQ(Text(page, kPhysIdEdit), "12");
}

TEST_F(AirSpeedPageOnNoisyPty, AReadWithAnswersHitByNoiseShowsWhatTheSensorHolds) {
    ASSERT_NO_FATAL_FAILURE(ConfigureAndFind());
    Operate(page, &CSensorPage::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{"Successful operation！"});
    EXPECT_STREQ(Text(page, kFirmwareEdit), "1.2");
    EXPECT_STREQ(Text(page, kDataRateEdit), "300");
    std::ifstream in(dir / "wire.log");
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("noise    32 03 0A 0C 13"), std::string::npos) << "the noise struck";
}

}  // namespace

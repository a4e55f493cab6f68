// The air-speed page with its real timers against kestrova-sim on a pty: Configure, Read, Write
// of new IDs and rate, and a Read that shows them.

#include <gtest/gtest.h>

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
        Start({"--device", "airspeed@9:3"});
    }

    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
};

TEST_F(AirSpeedPageOnPty, ConfigureReadWriteNewSettingsAndReadThemBack) {
    page.OnBnClickedConfigure();
    // The first progress run ends, and a whole sweep has found the sensor.
    ASSERT_TRUE(
        WaitUntil([&] { return !Running(page, sensor_timers::kTimeout) && page.m_nConnState == 1; },
                  kDeadlineMs));
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

}  // namespace

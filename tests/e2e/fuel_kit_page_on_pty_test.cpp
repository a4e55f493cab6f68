// The fuel kit's page with its real timers against kestrova-sim on a pty: Configure, Read, a
// Write of new settings and IDs, a Read that shows them, and the three counter resets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Globals.h"
#include "support/app_on_pty.h"

namespace {

using kestrova::test::WaitUntil;
using namespace sensor_ids;
using namespace fuel_kit_ids;

constexpr const char* kSuccess = "Successful operation！";

class FuelKitPageOnPty : public kestrova::test::AppOnPty {
  protected:
    void SetUp() override {
        AppOnPty::SetUp();
        std::vector<std::string> args = {"--device", "fuel@22:4"};
        if (noisy)
            args.insert(args.end(), {"--latency", "16", "--noise", "2", "--answer-noise", "5"});
        Start(args);
    }

    bool noisy = false;
    CSensor_FuelKitDlg& page = g_sensorFuelKit;
};

// Behind a slow adapter, with the Read's second request hit by noise in its address byte: the
// kit does not hear it, the page sends it again at once. The volume's answer comes back hit in
// its value: it is not shown, and the page asks again.
class FuelKitPageOnNoisyPty : public FuelKitPageOnPty {
  public:
    FuelKitPageOnNoisyPty() { noisy = true; }
};

TEST_F(FuelKitPageOnPty, ReadWriteReadBackAndResetTheCounters) {
    page.OnBnClickedConfigure();
    ASSERT_TRUE(
        WaitUntil([&] { return !Running(page, sensor_timers::kTimeout) && page.m_nConnState == 1; },
                  kDeadlineMs));
    ASSERT_EQ(page.m_nAppId, 4);

    Operate(page, &CSensor_FuelKitDlg::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kVolumeEdit), "1000");
    EXPECT_STREQ(Text(page, kFactorySettingsEdit), "YES");
    EXPECT_STREQ(Text(page, kPhysIdEdit), "22");

    page.SetDlgItemText(kVolumeEdit, "2500");
    page.SetDlgItemText(kOverTemp2AlarmEdit, "300");
    page.SetDlgItemText(kAppIdEdit, "6");
    dynamic_cast<CComboBox*>(page.GetDlgItem(kAutoResetCombo))->SetCurSel(kAutoResetOn);
    Operate(page, &CSensor_FuelKitDlg::OnBnClickedWrite);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_EQ(page.m_nAppId, 6);

    for (int id : {kVolumeEdit, kOverTemp2AlarmEdit, kAppIdEdit}) page.SetDlgItemText(id, "");
    Operate(page, &CSensor_FuelKitDlg::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kVolumeEdit), "2500");
    EXPECT_STREQ(Text(page, kOverTemp2AlarmEdit), "300");
    EXPECT_STREQ(Text(page, kAppIdEdit), "6");
    EXPECT_EQ(dynamic_cast<CComboBox*>(page.GetDlgItem(kAutoResetCombo))->GetCurSel(),
              kAutoResetOn);

    for (auto reset : {&CSensor_FuelKitDlg::OnBnClickedResetResidualVolume,
                       &CSensor_FuelKitDlg::OnBnClickedResetMaximumFlow,
                       &CSensor_FuelKitDlg::OnBnClickedResetAverageFlow}) {
        Operate(page, reset);
        EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    }
}

TEST_F(FuelKitPageOnNoisyPty, AReadWithASecondRequestHitShowsEverySetting) {
    Configure(page);
    Operate(page, &CSensor_FuelKitDlg::OnBnClickedRead);
    EXPECT_EQ(messages, std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kFirmwareEdit), "1.0");
    EXPECT_STREQ(Text(page, kDataRateEdit), "100");
    EXPECT_STREQ(Text(page, kVolumeEdit), "1000");
    EXPECT_STREQ(Text(page, kOverTemp2AlarmEdit), "200");
}

}  // namespace

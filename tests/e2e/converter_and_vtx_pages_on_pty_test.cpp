// The converter and video transmitter pages with their real timers against kestrova-sim on a
// pty: Configure, Read, Write of new settings, and a Read that shows them.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "support/app_on_pty.h"

namespace {

using namespace sensor_ids;

constexpr const char* kSuccess = "Successful operation！";

// Each test starts the simulator with its own device.
using ConverterAndVtxPagesOnPty = kestrova::test::AppOnPty;

TEST_F(ConverterAndVtxPagesOnPty, ConverterWritesBaudRateAndSwitchesAndReadsThemBack) {
    Start({"--device", "converter@5:1"});
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
    EXPECT_STREQ(Text(page, kAppIdEdit), "2") << "whichever ADC stream the scan heard last";
    EXPECT_STREQ(Text(page, kPhysIdEdit), "6");
    EXPECT_EQ(page.m_nSelfCorrect, 0);
    EXPECT_EQ(page.m_nTxMode, 1);
}

TEST_F(ConverterAndVtxPagesOnPty, VideoTransmitterWritesANewSettingAndReadsItBack) {
    Start({"--device", "vtx@12:2"});
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

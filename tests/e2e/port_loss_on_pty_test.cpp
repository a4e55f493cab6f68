// kestrova-sim on a pty with real timers and the real device watch: the simulator ended with
// SIGTERM (its COM entry goes) or killed with SIGKILL (its entry dangles) in the middle of a
// Read, and a new simulator started under the same name; and a simulator that hands its bytes
// over only every 16 ms, as a USB adapter's latency timer does.

#include <gtest/gtest.h>
#include <signal.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "platform/device_events.h"
#include "support/app_on_pty.h"

namespace {

using kestrova::test::WaitUntil;

// How long nothing more may happen after the port is gone.
constexpr int kQuietMs = 1500;

class PortLossOnPty : public kestrova::test::AppOnPty {
  protected:
    // The air-speed sensor at 9:3, and what `extra` adds.
    void StartSim(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--device", "airspeed@9:3"});
        AppOnPty::StartSim(std::move(extra));
    }
    // The program as a user starts it, after the simulator: it watches the ports from then on.
    void StartProgram() {
        platform::StartDeviceWatch();
        AppOnPty::StartProgram();
    }
    CString OpenButtonText() { return Text(*main, 1002); }
    bool Listed(const char* port) {
        for (int i = 0; i < main->m_comboPort.GetCount(); ++i) {
            CString t;
            main->m_comboPort.GetLBText(i, t);
            if (t == port) return true;
        }
        return false;
    }

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
    Configure(page);
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
        EXPECT_FALSE(Running(*main, id)) << "main timer " << id;
        EXPECT_FALSE(Running(page, id)) << "page timer " << id;
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
    Configure(page);
    EXPECT_EQ(page.m_nPhysIdIndex, 9);
    EXPECT_EQ(page.m_nAppId, 3);
    ASSERT_TRUE(WaitUntil([] { return g_sensorLipoVoltage.m_nPhysIdIndex == 1; }, kDeadlineMs));
    EXPECT_TRUE(messages.empty());
}

}  // namespace

// The Monitoring listener against a simulated receiver that is bus master: the program only
// hears the receiver's polls and the sensors' answers, and fills the pages without IDs.

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/clock.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/app_harness.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;

class MonitoringTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        BindPort(4, std::make_shared<SimVirtualLine>(bus));
    }
    sim::Device& Add(const char* kind, int physId, int appId = 0) {
        return bus->AddDevice(*sim::FindKind(kind), physId, appId);
    }
    // The main window with the port open and the listener running, as Monitoring leaves it.
    void StartMonitoring() {
        StartMainWindow();
        OpenPort();
        modal.Clear();
        bus->SetReceiverMode(true, platform::Now());
        main().SetTimer(main_timers::kListener, sensor_timers::kListenerPeriodMs);
    }
    std::shared_ptr<sim::Bus> bus;
};

TEST_F(MonitoringTest, CurrentFramesFillBothCurrentPagesAndRecordNoIds) {
    Add("current150", 2, 3);
    StartMonitoring();
    AdvanceMs(300);
    EXPECT_GT(g_sensorCurrentH.m_dCurrent, 10.0) << "the simulated sensor reads about 62 A";
    EXPECT_EQ(g_sensorCurrentL.m_dCurrent, g_sensorCurrentH.m_dCurrent);
    EXPECT_EQ(g_sensorCurrentH.m_nAppId, 0);
    EXPECT_EQ(g_sensorCurrentH.m_nPhysIdIndex, 0);
    EXPECT_EQ(g_sensorCurrentH.m_nConnState, 0) << "Monitoring keeps no presence";
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(MonitoringTest, SeveralSensorsOnOneReceiverAreAllShown) {
    Add("current40", 2);
    Add("lipo", 1);
    Add("gps", 3);
    Add("vtx", 12);
    StartMonitoring();
    AdvanceMs(3000);
    EXPECT_GT(g_sensorCurrentL.m_dVoltage, 10.0) << "about 11.8 V";
    EXPECT_EQ(g_sensorLipoVoltage.m_dCellCount, 6.0);
    EXPECT_GT(g_sensorLipoVoltage.m_dTotalVoltage, 20.0) << "six cells near 3.9 V";
    EXPECT_NE(g_sensorGPS.m_nLatitude, 0);
    EXPECT_NE(g_sensorGPS.m_nAltitude, 0);
    EXPECT_EQ(g_sensorReserve2.m_nAppId, 0);
}

TEST_F(MonitoringTest, GarbageFloodsCutFramesAndFramesHitByNoiseChangeNothingAndShowNothing) {
    // Each cut frame is closed by the receiver's next poll. (The bus's own garbage right behind
    // a cut frame could make it whole, with a checksum that holds once in 256 times, so it is
    // left out here.)
    Add("airspeed", 9).SetFault(sim::DeviceFault::kCutFrames, true);
    Add("rpm", 4).SetFault(sim::DeviceFault::kGarbage, true);
    // Every frame of this one is hit by noise, in one of its bytes after another.
    Add("current150", 2);
    std::vector<sim::Noise> everyFrame;
    for (int at = 1; at <= 100; ++at)
        everyFrame.push_back({at, 2 + at % 8, sim::Noise::On::kTelemetry});
    bus->SetNoise(everyFrame);
    StartMonitoring();
    AdvanceMs(500);
    ASSERT_GT(bus->SentSinceNoise(sim::Noise::On::kTelemetry), 10);
    EXPECT_EQ(g_sensorCurrentH.m_dCurrent, 0.0);
    bus->SetNoise({});
    AdvanceMs(100);
    EXPECT_GT(g_sensorCurrentH.m_dCurrent, 10.0) << "its frames, once clean, show";
    // The flood comes after the program's own writes, so the program writes a stray poll.
    bus->SetFault(sim::BusFault::kFlood, true, platform::Now());
    unsigned char poll[2] = {0x7E, 0x00};
    for (int i = 0; i < 5; ++i) {
        CKestrovaDlg::SendBusFrame(poll, 2);
        AdvanceMs(20);
    }
    EXPECT_EQ(g_sensorAirSpeed.m_dAirSpeed, 0.0);
    EXPECT_EQ(g_sensorRPM.m_nSpeed, 0);
    EXPECT_EQ(g_sensorRPM.m_nTemperature1, 0);
    EXPECT_TRUE(modal.shown().empty());
}

}  // namespace

// The Configure scan against the simulated bus on a virtual port, on the virtual clock: what
// it records on the pages, how the presence lamps follow sensors, and what bad input does.

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/clock.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/app_harness.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;

constexpr int kSweepMs = 28 * 4;

std::vector<CSensorPage*> AllPages() {
    return {&g_sensorLipoVoltage,
            &g_sensorCurrentL,
            &g_sensorAirSpeed,
            &g_sensorCurrentH,
            &g_sensorRPM,
            &g_sensorRedundancyBus,
            &g_sensorGPS,
            &g_sensorVariometer,
            &g_sensorFuelKit,
            &g_sensorQWireToUART,
            &g_sensorSteeringEngine,
            &g_sensorReserve1,
            &g_sensorReserve2};
}

class ScanTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        BindPort(4, std::make_shared<SimVirtualLine>(bus));
    }
    sim::Device& Add(const char* kind, int physId, int appId = 0) {
        return bus->AddDevice(*sim::FindKind(kind), physId, appId);
    }
    // The main window with the port open and the scan running, as Configure leaves it.
    void StartScan() {
        StartMainWindow();
        OpenPort();
        modal.Clear();
        main().SetTimer(main_timers::kScan, sensor_timers::kScanPeriodMs);
    }
    // Sweeps whole from now on: the scan publishes presence when its index wraps.
    void RunSweeps(int n) { AdvanceMs(n * kSweepMs); }
    std::vector<int> Lamps() {
        std::vector<int> lamps;
        for (CSensorPage* page : AllPages()) lamps.push_back(page->m_nConnState);
        return lamps;
    }
    // Nothing was decoded: no page recorded where a sensor answered, no lamp is lit.
    ::testing::AssertionResult NothingDecoded() {
        for (CSensorPage* page : AllPages())
            if (page->m_nAppId || page->m_nPhysIdIndex || page->m_nConnState)
                return ::testing::AssertionFailure()
                       << "a page of dialog " << page->TemplateId() << " was touched";
        return ::testing::AssertionSuccess();
    }

    std::shared_ptr<sim::Bus> bus;
};

TEST_F(ScanTest, FillsTheValuePhysicalIdAndApplicationIdAndLightsTheLamp) {
    Add("airspeed", 9, 3);
    StartScan();
    RunSweeps(2);
    EXPECT_EQ(g_sensorAirSpeed.m_nPhysIdIndex, 9);
    EXPECT_EQ(g_sensorAirSpeed.m_nAppId, 3);
    EXPECT_GT(g_sensorAirSpeed.m_dAirSpeed, 40.0) << "the simulated sensor reads about 72 km/h";
    EXPECT_LT(g_sensorAirSpeed.m_dAirSpeed, 100.0);
    EXPECT_EQ(Lamps(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(ScanTest, SensorsAtTheFirstAndLastPhysicalIdAreRecordedWhereTheyAnswered) {
    Add("rpm", 27, 2);
    Add("vario", 0, 1);
    StartScan();
    RunSweeps(2);
    EXPECT_EQ(g_sensorRPM.m_nPhysIdIndex, 27) << "decoded on the first tick of the next sweep";
    EXPECT_EQ(g_sensorRPM.m_nAppId, 2);
    EXPECT_EQ(g_sensorVariometer.m_nPhysIdIndex, 0);
    EXPECT_EQ(g_sensorVariometer.m_nAppId, 1);
    EXPECT_EQ(g_sensorRPM.m_nConnState, 1);
    EXPECT_EQ(g_sensorVariometer.m_nConnState, 1);
}

TEST_F(ScanTest, LampsFollowSensorsThatComeAndGo) {
    sim::Device& lipo = Add("lipo", 1);
    Add("fuel", 12, 4);
    Add("converter", 14, 0);
    StartScan();
    RunSweeps(2);
    EXPECT_EQ(g_sensorLipoVoltage.m_nConnState, 1);
    EXPECT_EQ(g_sensorFuelKit.m_nConnState, 1);
    EXPECT_EQ(g_sensorQWireToUART.m_nConnState, 1);
    EXPECT_EQ(g_sensorGPS.m_nConnState, 0);

    lipo.SetFault(sim::DeviceFault::kSilent, true);
    RunSweeps(2);
    EXPECT_EQ(g_sensorLipoVoltage.m_nConnState, 0) << "a whole sweep without its answer";
    EXPECT_EQ(g_sensorFuelKit.m_nConnState, 1);

    Add("gps", 3);
    lipo.SetFault(sim::DeviceFault::kSilent, false);
    RunSweeps(2);
    EXPECT_EQ(g_sensorLipoVoltage.m_nConnState, 1);
    EXPECT_EQ(g_sensorGPS.m_nConnState, 1);
    EXPECT_EQ(g_sensorGPS.m_nPhysIdIndex, 3);
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(ScanTest, EveryKindOfSensorLightsItsOwnLamp) {
    const char* kinds[] = {"lipo",  "current40", "airspeed",  "rpm",   "redundancy", "gps",
                           "vario", "fuel",      "converter", "servo", "esc",        "vtx"};
    int physId = 0;
    for (const char* kind : kinds) Add(kind, ++physId);
    StartScan();
    RunSweeps(8);
    std::vector<int> lamps = Lamps();
    lamps[3] = 1;  // the 150 A lamp lights only in sweeps where the 40 A sensor sent its current
    EXPECT_EQ(lamps, std::vector<int>(13, 1));
    EXPECT_EQ(g_sensorReserve1.m_nPhysIdIndex, 11);
    EXPECT_EQ(g_sensorReserve2.m_nPhysIdIndex, 12);
    EXPECT_EQ(g_sensorSteeringEngine.m_nPhysIdIndex, 10);
}

TEST_F(ScanTest, GarbageFloodsAndCutFramesChangeNothingAndShowNothing) {
    Add("airspeed", 9).SetFault(sim::DeviceFault::kCutFrames, true);
    Add("lipo", 2).SetFault(sim::DeviceFault::kGarbage, true);
    bus->SetFault(sim::BusFault::kGarbage, true, platform::Now());
    StartScan();
    RunSweeps(3);
    bus->SetFault(sim::BusFault::kFlood, true, platform::Now());
    RunSweeps(3);
    EXPECT_TRUE(NothingDecoded());
    EXPECT_EQ(g_sensorAirSpeed.m_dAirSpeed, 0.0);
    EXPECT_EQ(g_sensorLipoVoltage.m_dCellCount, 0.0);
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(ScanTest, APortThatVanishesShowsOneErrorBoxNotAStack) {
    Add("airspeed", 9);
    StartScan();
    RunSweeps(1);
    // The box stays open for a while; the scan's timer keeps failing meanwhile.
    modal.Answer({IDOK, "", 500'000});
    bus->SetFault(sim::BusFault::kPortGone, true, platform::Now());
    AdvanceMs(4);
    ASSERT_EQ(modal.shown().size(), 1u);
    EXPECT_EQ(modal.shown()[0].text, "The device is not connected.");
}

}  // namespace

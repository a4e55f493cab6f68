// The Configure scan behind a serial adapter that holds received bytes back and hands them over
// late and in chunks (a USB adapter's latency timer), on the simulated bus and the virtual
// clock. Every read of the scan is kept, so the test can show what the one-frame rule alone
// made of the same reads next to what the scan now takes from them; where the hand-overs fall
// inside the answers, only the piece carried from one read into the next finds the sensors.

#include <string>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "support/adapter_scan.h"
#include "support/app_harness.h"

namespace {

using namespace kestrova::test;

constexpr int kSweepMs = 28 * 4;

class ScanLatencyTest : public AppTest {
  protected:
    // The scan over `sweeps` sweeps with the adapter handing bytes over every `periodMs`, the
    // scan's ticks `phaseUs` after the adapter's.
    void ScanBehindAdapter(int periodMs, int phaseUs, int sweeps) {
        recorder = std::make_shared<ReadRecorder>(SensorsBehindAdapter(periodMs));
        BindPort(4, recorder);
        StartMainWindow();
        OpenPort();
        modal.Clear();
        platform::VirtualClock::AdvanceTo(platform::Now() - platform::Now() % 16'000 + 16'000 +
                                          phaseUs);
        main().SetTimer(main_timers::kScan, 4);
        // The lamps show the last whole sweep: sampled once a sweep, they tell in how many
        // sweeps the program itself found all four sensors.
        for (int sweep = 0; sweep < sweeps; ++sweep) {
            AdvanceMs(kSweepMs);
            const bool all = g_sensorAirSpeed.m_nConnState == 1 &&
                             g_sensorLipoVoltage.m_nConnState == 1 &&
                             g_sensorGPS.m_nConnState == 1 && g_sensorRPM.m_nConnState == 1;
            sweepsWithAllFound += all ? 1 : 0;
        }
        main().KillTimer(main_timers::kScan);
        // The same reads by the one-frame rule, and as the reader of the wire takes them.
        CountOneFramePerRead(recorder->reads, oneFrameRule);
        CountByWireReader(recorder->reads, unitRule);
    }
    // Where the program itself recorded each sensor.
    ::testing::AssertionResult PagesHoldEverySensorAtItsId() {
        struct Expect {
            CSensorPage* page;
            int physId;
        };
        for (Expect e : {Expect{&g_sensorAirSpeed, 10}, Expect{&g_sensorLipoVoltage, 1},
                         Expect{&g_sensorGPS, 4}, Expect{&g_sensorRPM, 27}}) {
            if (e.page->m_nPhysIdIndex != e.physId)
                return ::testing::AssertionFailure()
                       << "page " << e.page->TemplateId() << " at " << e.page->m_nPhysIdIndex
                       << ", not " << e.physId;
        }
        return ::testing::AssertionSuccess();
    }

    std::shared_ptr<ReadRecorder> recorder;
    Tally oneFrameRule, unitRule;
    int sweepsWithAllFound = 0;
};

struct Adapter {
    const char* name;
    int periodMs;
    int phaseUs;                // where the scan's ticks fall against the adapter's hand-overs
    bool oneFrameRuleFindsAny;  // whether the scan found anything before it took every unit
};
void PrintTo(const Adapter& a, std::ostream* os) {
    *os << a.name;
}

class ScanLatencyCases : public ScanLatencyTest, public ::testing::WithParamInterface<Adapter> {};

TEST_P(ScanLatencyCases, EverySensorIsFoundAtItsOwnIdInEverySweep) {
    const Adapter a = GetParam();
    constexpr int kSweeps = 6;
    ScanBehindAdapter(a.periodMs, a.phaseUs, kSweeps);
    std::printf(
        "%-34s %4zu reads; answers at the right/a wrong ID and sensors found of 4: "
        "one frame per read %2d/%d %zu, the scan now %2d/%d %zu\n",
        a.name, recorder->reads.size(), oneFrameRule.right, oneFrameRule.wrong,
        oneFrameRule.found.size(), unitRule.right, unitRule.wrong, unitRule.found.size());
    EXPECT_TRUE(PagesHoldEverySensorAtItsId()) << a.name;
    EXPECT_EQ(sweepsWithAllFound, kSweeps - 1) << a.name << ": all but the first sweep, whole";
    EXPECT_EQ(unitRule.wrong, 0) << a.name;
    // Every sensor answers once a sweep; the sweep under way at the end may still hold one.
    EXPECT_GE(unitRule.right, kSweeps * 4 - 1) << a.name;
    EXPECT_EQ(!oneFrameRule.found.empty(), a.oneFrameRuleFindsAny) << a.name;
    EXPECT_TRUE(modal.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Adapters, ScanLatencyCases,
    ::testing::Values(Adapter{"bytes as the line goes quiet", 0, 0, true},
                      Adapter{"2 ms latency timer", 2, 0, true},
                      Adapter{"5 ms latency timer", 5, 0, true},
                      Adapter{"8 ms, hand-overs inside the answers", 8, 2500, false},
                      Adapter{"16 ms latency timer (FTDI)", 16, 0, false},
                      Adapter{"16 ms, hand-overs inside the answers", 16, 2500, false}),
    [](const ::testing::TestParamInfo<Adapter>& info) {
        return std::to_string(info.param.periodMs) + "ms_at_" + std::to_string(info.param.phaseUs) +
               "us";
    });

// An adapter whose hand-overs do not divide the 112-ms sweep moves the answers to the last polls
// of a sweep back and forth across its end; a sensor that answers every poll must not go dark
// for the sweep its answer came late for.
class LateAnswerLamps : public AppTest, public ::testing::WithParamInterface<int> {};

TEST_P(LateAnswerLamps, SensorsAtTheEndOfTheSweepKeepTheirLampsLit) {
    sim::Timing timing;
    timing.handOverPeriod = GetParam() * 1000;
    auto bus = std::make_shared<sim::Bus>(timing);
    bus->AddDevice(*sim::FindKind("lipo"), 24);
    bus->AddDevice(*sim::FindKind("airspeed"), 25);
    bus->AddDevice(*sim::FindKind("gps"), 26);
    bus->AddDevice(*sim::FindKind("rpm"), 27);
    BindPort(4, std::make_shared<SimVirtualLine>(bus));
    StartMainWindow();
    OpenPort();
    main().SetTimer(main_timers::kScan, 4);
    AdvanceMs(2 * kSweepMs);
    int darkTicks = 0;
    for (int tick = 0; tick < 30 * 28; ++tick) {
        AdvanceMs(4);
        for (CSensorPage* page :
             {static_cast<CSensorPage*>(&g_sensorLipoVoltage),
              static_cast<CSensorPage*>(&g_sensorAirSpeed), static_cast<CSensorPage*>(&g_sensorGPS),
              static_cast<CSensorPage*>(&g_sensorRPM)})
            darkTicks += page->m_nConnState == 1 ? 0 : 1;
    }
    main().KillTimer(main_timers::kScan);
    EXPECT_EQ(darkTicks, 0) << "hand-overs every " << GetParam() << " ms";
}

INSTANTIATE_TEST_SUITE_P(HandOverPeriods, LateAnswerLamps, ::testing::Values(3, 6, 10, 15),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "ms";
                         });

}  // namespace

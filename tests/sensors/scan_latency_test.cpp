// The Configure scan behind a serial adapter that holds received bytes back and hands them over
// late and in chunks (a USB adapter's latency timer), on the simulated bus and the virtual
// clock. Every read of the scan is kept, so the test can show what the one-frame rule alone
// made of the same reads next to what the scan now takes from them; where the hand-overs fall
// inside the answers, only the piece carried from one read into the next finds the sensors.

#include <map>
#include <set>
#include <string>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "sensors/telemetry_frames.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/app_harness.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;

constexpr int kSweepMs = 28 * 4;

// Passes everything on and keeps each read with the poll written before the latest one (the
// poll a one-frame read is credited to).
class ReadRecorder : public platform::VirtualLine {
  public:
    explicit ReadRecorder(std::shared_ptr<platform::VirtualLine> inner)
        : inner_(std::move(inner)) {}
    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        if (n == 2) {
            previousPoll_ = lastPoll_;
            lastPoll_ = telemetry::PhysIdIndexOf(data[1]);
        }
        inner_->Write(data, n, now);
    }
    std::size_t Available(platform::Micros now) override { return inner_->Available(now); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros now) override {
        const std::size_t n = inner_->Read(out, max, now);
        if (n > 0) reads.push_back({std::vector<std::uint8_t>(out, out + n), previousPoll_});
        return n;
    }
    void DiscardInput(platform::Micros now) override { inner_->DiscardInput(now); }
    bool Present() const override { return inner_->Present(); }

    struct Taken {
        std::vector<std::uint8_t> bytes;
        int previousPoll;
    };
    std::vector<Taken> reads;

  private:
    std::shared_ptr<platform::VirtualLine> inner_;
    int lastPoll_ = 0;
    int previousPoll_ = 0;
};

// Where the devices sit, by the family byte (data-ID high byte) of what they send: one at each
// place of the four-tick cycle, so an adapter whose hand-overs keep falling on one place misses
// one.
const std::map<int, int> kPhysIdOfFamily = {
    {0x0A, 10}, {0x03, 1}, {0x08, 4}, {0x04, 27}, {0x05, 27}};

// Answers a rule credited: to the right sensor's ID, to a wrong one, and the families found.
struct Tally {
    int right = 0;
    int wrong = 0;
    std::set<int> found;
    void Count(const bus::Body& body, int physId) {
        auto it = kPhysIdOfFamily.find(body[2]);
        if (it == kPhysIdOfFamily.end()) return;
        if (it->second == physId) {
            ++right;
            found.insert(it->second);
        } else {
            ++wrong;
        }
    }
};

class ScanLatencyTest : public AppTest {
  protected:
    // The scan over `sweeps` sweeps with the adapter handing bytes over every `periodMs`, the
    // scan's ticks `phaseUs` after the adapter's.
    void ScanBehindAdapter(int periodMs, int phaseUs, int sweeps) {
        sim::Timing timing;
        timing.handOverPeriod = periodMs * 1000;
        auto bus = std::make_shared<sim::Bus>(timing);
        bus->AddDevice(*sim::FindKind("airspeed"), 10, 3);
        bus->AddDevice(*sim::FindKind("lipo"), 1);
        bus->AddDevice(*sim::FindKind("gps"), 4);
        bus->AddDevice(*sim::FindKind("rpm"), 27);
        recorder = std::make_shared<ReadRecorder>(std::make_shared<SimVirtualLine>(bus));
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
        // The same reads by the one-frame rule, and by the scan's rule with a unit a read ended
        // in the middle of carried into the next.
        std::vector<std::uint8_t> carried;
        for (const auto& read : recorder->reads) {
            if (auto body = telemetry::AcceptFrame(read.bytes))
                oneFrameRule.Count(*body, read.previousPoll);
            std::vector<std::uint8_t> data = carried;
            data.insert(data.end(), read.bytes.begin(), read.bytes.end());
            std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> units;
            std::size_t unfinishedAt = 0;
            const std::size_t n =
                telemetry::TakeScanUnits(data, read.previousPoll, units, &unfinishedAt);
            for (std::size_t i = 0; i < n; ++i) unitRule.Count(units[i].body, units[i].physIdIndex);
            carried.assign(data.begin() + static_cast<std::ptrdiff_t>(unfinishedAt), data.end());
        }
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

}  // namespace

// One poll or frame hit by noise on the wire (one bit of its address or data ID changed, heard so
// by the device and in the echo), at every place of every operation of a page of answer pairs and
// of the fuel kit's page, behind an adapter that hands bytes over at once and one that holds them
// for 16 ms: each operation still succeeds, at the cost of at most one retry of the step hit.

#include <cstdio>

#include "bus/fuel_kit_params.h"
#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;

constexpr const char* kFailed = "Operation failed！";
constexpr int kAirSpeedItem = 3;
constexpr int kFuelKitItem = 8;

struct Operation {
    const char* name;
    int button;
    UINT timer;  // the machine's own
    // What one retry of the step hit may add: the steps from the request the devices did not
    // hear, or a pair of polls and the request before them.
    int retryMs;
    // What the device must hold of `param` afterwards: the number given to `edit` before the run
    // (one of `typed`'s two, in turn, so a write the device did not hear shows), divided by
    // `divisor`; or its factory value.
    BYTE param = 0;
    const char* typed = nullptr;
    int edit = 0;
    int divisor = 1;
    int factory = -1;
};

struct Shape {
    const char* name;
    const char* kind;
    int treeItem;
    CSensorPage* page;
    std::vector<Operation> operations;
};

const Shape kShapes[] = {
    {"air speed",
     "airspeed",
     kAirSpeedItem,
     &g_sensorAirSpeed,
     {{"Read", kRead, sensor_timers::kRead, 40},
      {"Write", kWrite, sensor_timers::kWrite, 150, bus::kParamDataRate, "300|400", kDataRateEdit,
       100},
      {"Default Settings", kDefault, sensor_timers::kDefault, 150, bus::kParamDataRate, nullptr, 0,
       1, 3}}},
    {"FuelKit",
     "fuel",
     kFuelKitItem,
     &g_sensorFuelKit,
     {{"Read", kRead, sensor_timers::kRead, 30},
      {"Write", kWrite, sensor_timers::kWrite, 150, bus::fuel_kit::kParamVolume, "1000|1500",
       fuel_kit_ids::kVolumeEdit},
      {"Default Settings", kDefault, sensor_timers::kDefault, 150, bus::fuel_kit::kParamVolume,
       nullptr, 0, 1, 1000},
      {"Residual volume reset", fuel_kit_ids::kResetResidualVolume,
       fuel_kit_timers::kResetResidualVolume, 150},
      {"Maximum flow reset", fuel_kit_ids::kResetMaximumFlow, fuel_kit_timers::kResetMaximumFlow,
       150},
      {"Average flow reset", fuel_kit_ids::kResetAverageFlow, fuel_kit_timers::kResetAverageFlow,
       150}}},
};

class WireNoiseTest : public SensorPageTest,
                      public ::testing::WithParamInterface<std::tuple<Shape, int>> {
  protected:
    const Shape& S() const { return std::get<0>(GetParam()); }
    CSensorPage& Page() const { return *S().page; }

    // One run of `op` from its button, with `noise` on the wire: whether it succeeded, how long
    // its machine ran and how many polls and frames it wrote.
    struct Outcome {
        bool succeeded;
        int ms;
        std::size_t written;
    };
    Outcome Run(const Operation& op, sim::Noise noise, int run) {
        if (op.typed) {
            const std::string choices = op.typed;
            const auto bar = choices.find('|');
            const std::string value = run % 2 ? choices.substr(bar + 1) : choices.substr(0, bar);
            Page().SetDlgItemText(op.edit, value.c_str());
        }
        bus->SetNoise(noise);
        modal.Clear();
        const std::size_t first = wire->frames.size();
        EXPECT_TRUE(Click(&Page(), op.button));
        int ms = 0;
        while (Running(&Page(), op.timer) && Running(&Page(), sensor_timers::kTimeout)) {
            AdvanceMs(1);
            ++ms;
        }
        const std::size_t written = wire->frames.size() - first;
        while (Running(&Page(), sensor_timers::kTimeout)) AdvanceMs(1);
        bus->SetNoise({});
        const auto shown = modal.MessageTexts();
        // Left in configuration access, a sensor would send no telemetry.
        bool succeeded = std::find(shown.begin(), shown.end(), kFailed) == shown.end() &&
                         !device->InConfig();
        if (op.param) {
            const int held = static_cast<int>(*device->ParamValue(op.param));
            const int expected =
                op.typed ? std::atoi(Text(Page(), op.edit)) / op.divisor : op.factory;
            succeeded = succeeded && held == expected;
        }
        return {succeeded, ms, written};
    }

    std::shared_ptr<sim::Bus> bus = std::make_shared<sim::Bus>();
    sim::Device* device = nullptr;
};

TEST_P(WireNoiseTest, EveryOperationSucceedsWithOneWriteHitAnywhere) {
    sim::Timing timing = bus->GetTiming();
    timing.handOverPeriod = std::get<1>(GetParam()) * 1000;
    bus->SetTiming(timing);
    device = &bus->AddDevice(*sim::FindKind(S().kind));
    StartOn(std::make_shared<SimVirtualLine>(bus), S().treeItem);
    ConfigureAndWait(Page());
    int run = 0;
    for (const Operation& op : S().operations) {
        const Outcome clean = Run(op, {}, run++);
        ASSERT_TRUE(clean.succeeded) << op.name << " on a clean wire";
        Outcome worst = clean;
        sim::Noise worstNoise;
        for (int at = 1; at <= static_cast<int>(clean.written); ++at)
            for (int byte : {1, 3}) {
                const sim::Noise noise{at, byte};
                const Outcome hit = Run(op, noise, run++);
                EXPECT_TRUE(hit.succeeded) << op.name << ", write " << at << " hit in byte " << byte;
                EXPECT_LE(hit.ms, clean.ms + op.retryMs)
                    << op.name << ", write " << at << " hit in byte " << byte;
                if (hit.ms > worst.ms) worst = hit, worstNoise = noise;
            }
        std::printf("%-9s %-22s clean %4d ms, worst %4d ms (write %d hit in byte %d)\n", S().name,
                    op.name, clean.ms, worst.ms, worstNoise.at, worstNoise.byte);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, WireNoiseTest,
                         ::testing::Combine(::testing::ValuesIn(kShapes), ::testing::Values(0, 16)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param).name;
                             std::erase(name, ' ');
                             return name + (std::get<1>(info.param) ? "BehindASlowAdapter" : "");
                         });

}  // namespace

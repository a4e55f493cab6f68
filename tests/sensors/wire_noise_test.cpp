// One poll or frame hit by noise on the wire (one bit of its address or data ID changed, heard so
// by the device and in the echo), at every place of every operation of each shape of sensor page,
// behind an adapter that hands bytes over at once and one that holds them for 16 ms: each operation
// still does its work and leaves the sensor out of configuration access, at the cost of at most
// one retry of the step hit.

#include "bus/fuel_kit_params.h"
#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/noise_sweep.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;

constexpr const char* kFailed = "Operation failed！";

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
    // Controls a Read fills with what the device holds (the firmware, the first stream's rate).
    std::vector<int> readShows = {kFirmwareEdit};
};

// Read, Write (of the rate edit `rateEdit`, of the first stream; no check where it is 0) and,
// unless `withDefault` is false, Default Settings (which brings back `factoryRate`). A request
// sent again repeats the steps after it up to the next that reads the wire (on several streams,
// the other streams' enter or leave frames; on the video transmitter, its four idle ticks):
// `retryTicks` in all.
std::vector<Operation> Standard(int retryTicks, int rateEdit, int factoryRate = -1,
                                bool withDefault = true) {
    std::vector<Operation> ops = {
        {"Read", kRead, sensor_timers::kRead, retryTicks * int(sensor_timers::kReadPeriodMs)},
        {"Write", kWrite, sensor_timers::kWrite, retryTicks * int(sensor_timers::kWritePeriodMs),
         BYTE(rateEdit ? bus::kParamDataRate : 0), "300|400", rateEdit, 100}};
    if (withDefault)
        ops.push_back({"Default Settings", kDefault, sensor_timers::kDefault,
                       retryTicks * int(sensor_timers::kDefaultPeriodMs),
                       BYTE(factoryRate >= 0 ? bus::kParamDataRate : 0), nullptr, 0, 1,
                       factoryRate});
    return ops;
}

// And, after the Write, one of a new application ID, which goes out on the old one.
std::vector<Operation> WithNewAppId(std::vector<Operation> ops) {
    ops.insert(ops.begin() + 2,
               {"Write of a new application ID", kWrite, sensor_timers::kWrite,
                3 * int(sensor_timers::kWritePeriodMs), bus::kParamAppId, "1|2", kAppIdEdit});
    return ops;
}

// One page of each shape of machine: the 150 A and LiPo pages run the air-speed page's steps,
// the variometer's are the 40 A page's on two streams, the redundancy bus's the GPS page's on
// four, and the ESC's the RPM page's on three but for its poles.
const Shape kShapes[] = {
    {"air speed", "airspeed", 3, &g_sensorAirSpeed, WithNewAppId(Standard(3, kDataRateEdit, 3)),
     {kFirmwareEdit, kDataRateEdit}},
    {"40 A", "current40", 4, &g_sensorCurrentL, Standard(4, current40_ids::kCurrentRateEdit),
     {kFirmwareEdit, current40_ids::kCurrentRateEdit}},
    {"RPM", "rpm", 6, &g_sensorRPM, Standard(5, rpm_ids::kTemperature1RateEdit),
     {kFirmwareEdit, rpm_ids::kTemperature1RateEdit}},
    {"GPS", "gps", 9, &g_sensorGPS, Standard(6, gps_ids::kPositionRateEdit),
     {kFirmwareEdit, gps_ids::kPositionRateEdit}},
    {"converter", "converter", 11, &g_sensorQWireToUART, Standard(4, 0)},
    {"servo", "servo", 12, &g_sensorSteeringEngine, Standard(3, 0, -1, false)},
    {"VTX", "vtx", 14, &g_sensorReserve2, Standard(8, 0, -1, false), {vtx_ids::kFrequency}},
    {"FuelKit",
     "fuel",
     8,
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
       150}},
     {kFirmwareEdit, kDataRateEdit, fuel_kit_ids::kFlowPulseEdit, fuel_kit_ids::kVolumeEdit}},
};

class WireNoiseTest : public SensorPageTest,
                      public ::testing::WithParamInterface<std::tuple<Shape, int>> {
  protected:
    const Shape& S() const { return std::get<0>(GetParam()); }
    CSensorPage& Page() const { return *S().page; }

    // One run of `op` from its button, with `noise` on the wire, to the end of its progress run.
    NoiseOutcome Run(const Operation& op, const std::vector<sim::Noise>& noise, int run) {
        if (op.param && op.typed) {
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
        // A machine that ends leaves the bar at its last step, from where the progress run takes
        // it to its end and gives the buttons back.
        for (const sensor_steps::Machine* m : Page().Machines())
            if (m->timer == op.timer && Running(&Page(), sensor_timers::kTimeout))
                EXPECT_NEAR(Page().m_nProgress, int(m->Limit() * m->progressFactor), 1);
        const std::size_t written = wire->frames.size() - first;
        const int answers = bus->SentSinceNoise(sim::Noise::On::kAnswer);
        const int telemetry = bus->SentSinceNoise(sim::Noise::On::kTelemetry);
        // The machine has ended, and shown its box if it has one: the sensor must be out of
        // configuration access by then, where it sends no telemetry.
        const bool left = !device->InConfig();
        while (Running(&Page(), sensor_timers::kTimeout)) AdvanceMs(1);
        bus->SetNoise({});
        const auto shown = modal.MessageTexts();
        bool succeeded = std::find(shown.begin(), shown.end(), kFailed) == shown.end() && left;
        // A Read must show what a clean one showed: what the device holds.
        if (op.button == kRead) {
            std::string texts;
            for (int id : S().readShows) texts += std::string(Text(Page(), id)) + "|";
            if (noise.empty()) readShows = texts;
            EXPECT_EQ(texts, readShows);
        }
        if (op.param) {
            const int held = static_cast<int>(*device->ParamValue(op.param));
            const int expected =
                op.typed ? std::atoi(Text(Page(), op.edit)) / op.divisor : op.factory;
            succeeded = succeeded && held == expected;
        }
        return {succeeded, ms, written, answers, telemetry};
    }

    // The page's device behind the test's adapter, found by Configure.
    void StartConfigured() {
        sim::Timing timing = bus->GetTiming();
        timing.handOverPeriod = std::get<1>(GetParam()) * 1000;
        bus->SetTiming(timing);
        device = &bus->AddDevice(*sim::FindKind(S().kind));
        StartOn(std::make_shared<SimVirtualLine>(bus), S().treeItem);
        ConfigureAndWait(Page());
    }

    std::shared_ptr<sim::Bus> bus = std::make_shared<sim::Bus>();
    sim::Device* device = nullptr;
    std::string readShows;  // by the clean Read
};

TEST_P(WireNoiseTest, EveryOperationSucceedsWithOneWriteHitAnywhere) {
    StartConfigured();
    int run = 0;
    const int latencyMs = std::get<1>(GetParam());
    const std::string adapter = latencyMs ? ", slow adapter" : "";
    // Behind a slow adapter the echo of a write hit comes back that much later, and with it the
    // news that it must go out again.
    for (const Operation& op : S().operations)
        SweepNoise(std::string(S().name) + " " + op.name + adapter, op.retryMs + latencyMs,
                   [&](const std::vector<sim::Noise>& noise) { return Run(op, noise, run++); });
}

// An operation cut short leaves the sensor out of configuration access, where it would send no
// telemetry: cut by its time-out against a sensor that never takes a value (every read-back
// answers another) or one that falls silent after its first answer, though it still hears, the
// machine having started again from its enter frame meanwhile; or stopped by a device event while
// the port still works.
TEST_P(WireNoiseTest, AnOperationCutShortLeavesTheSensorOutOfConfiguration) {
    StartConfigured();
    int failed = 0;
    for (const Operation& op : S().operations) {
        for (int cut = 0; cut < 3; ++cut) {
            const char* kCuts[] = {"silent after its first answer", "never takes a value",
                                   "stopped by a device event"};
            SCOPED_TRACE(std::string(S().name) + " " + op.name + ", " + kCuts[cut]);
            const bool event = cut == 2;
            device->SilenceAfter(cut == 0 ? 1 : 0);
            device->SetFault(sim::DeviceFault::kWrongValue, cut == 1);
            modal.Clear();
            // An event leaves the page's buttons as the operation before it locked them.
            Page().GetDlgItem(op.button)->EnableWindow(TRUE);
            ASSERT_TRUE(Click(&Page(), op.button));
            while (event && !device->InConfig() && Running(&Page(), op.timer)) AdvanceMs(1);
            if (event) main().SendMessage(WM_DEVICECHANGE, DBT_CONFIGCHANGED, 0);
            while (Running(&Page(), sensor_timers::kTimeout)) AdvanceMs(1);
            EXPECT_FALSE(device->InConfig());
            failed += modal.MessageTexts() == std::vector<std::string>{kFailed};
            device->SetFault(sim::DeviceFault::kSilent, false);
        }
    }
    EXPECT_GT(failed, 0) << "nothing timed out";
}

INSTANTIATE_TEST_SUITE_P(Pages, WireNoiseTest,
                         ::testing::Combine(::testing::ValuesIn(kShapes), ::testing::Values(0, 16)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param).name;
                             std::erase(name, ' ');
                             return name + (std::get<1>(info.param) ? "BehindASlowAdapter" : "");
                         });

}  // namespace

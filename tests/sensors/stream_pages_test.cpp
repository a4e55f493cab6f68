// The LiPo, 40 A current, variometer, RPM, GPS, redundancy bus and ESC pages as a user meets
// them, against their simulated sensors on a virtual port and the virtual clock: one to four
// streams through the same cases. Configure finds the sensor, Read shows every field, Write sends
// what the edits hold clamped on every stream, Default Settings restores the sensor, faults end at
// the time-out, and Monitoring fills the values.

#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;

constexpr const char* kSuccess = "Successful operation！";
constexpr const char* kFailed = "Operation failed！";

// Where the sensors sit: neither their default IDs nor the page's starting ones, so only the
// scan can have found them.
constexpr int kPhysId = 5;
constexpr int kAppId = 3;

// A parameter edit the Write sends, on the stream it belongs to: what the user types, the byte
// that must go out, and what a Read shows afterwards.
struct WrittenEdit {
    int edit;
    int stream;
    BYTE param;
    const char* typed;
    int sent;
    const char* readBack;
    const char* factory;  // what a Read shows from a sensor with its factory settings
};

struct PageCase {
    const char* name;
    const char* kind;
    int treeItem;
    CSensorPage* page;
    std::vector<WORD> streams;
    int defaultStream;
    const char* firmware;
    std::vector<int> valueEdits;
    // In the order the Write sends them: the rates (of stream 0x10 first on the two-stream
    // pages), then the RPM sensor's poles. Every kind of bad text is among them.
    std::vector<WrittenEdit> written;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr BYTE kRate = bus::kParamDataRate;
constexpr BYTE kPoles = rpm_params::kMagneticPoles;

// The pages' tree items.
constexpr int kLipoItem = 2;
constexpr int kCurrent40Item = 4;
constexpr int kRpmItem = 6;
constexpr int kVariometerItem = 7;
constexpr int kGpsItem = 9;
constexpr int kRedundancyBusItem = 10;
constexpr int kEscItem = 13;

const std::vector<int> kLipoValues = {lipo_ids::kCellCountEdit, lipo_ids::kVoltageEdit,
                                      lipo_ids::kCellEdits[0],  lipo_ids::kCellEdits[1],
                                      lipo_ids::kCellEdits[2],  lipo_ids::kCellEdits[3],
                                      lipo_ids::kCellEdits[4],  lipo_ids::kCellEdits[5]};

const PageCase kPages[] = {
    {.name = "Lipo",
     .kind = "lipo",
     .treeItem = kLipoItem,
     .page = &g_sensorLipoVoltage,
     .streams = {0x0300},
     .defaultStream = 0,
     .firmware = "2.1",
     .valueEdits = kLipoValues,
     .written = {{kDataRateEdit, 0, kRate, "30000", 255, "25500", "300"}}},
    {.name = "Current40",
     .kind = "current40",
     .treeItem = kCurrent40Item,
     .page = &g_sensorCurrentL,
     .streams = {0x0200, 0x0210},
     .defaultStream = 1,
     .firmware = "1.3",
     .valueEdits = {current40_ids::kCurrentEdit, current40_ids::kVoltageEdit},
     .written = {{current40_ids::kVoltageRateEdit, 1, kRate, "50", 1, "100", "500"},
                 {current40_ids::kCurrentRateEdit, 0, kRate, "25600", 255, "25500", "500"}}},
    {.name = "Variometer",
     .kind = "vario",
     .treeItem = kVariometerItem,
     .page = &g_sensorVariometer,
     .streams = {0x0100, 0x0110},
     .defaultStream = 1,
     .firmware = "1.4",
     .valueEdits = {variometer_ids::kAltitudeEdit, variometer_ids::kAltitudeRateEdit},
     .written = {{variometer_ids::kAltitudeRateDataRateEdit, 1, kRate, "fast", 1, "100", "300"},
                 {variometer_ids::kAltitudeDataRateEdit, 0, kRate, "-700", 1, "100", "300"}}},
    {.name = "Rpm",
     .kind = "rpm",
     .treeItem = kRpmItem,
     .page = &g_sensorRPM,
     .streams = {0x0400, 0x0410, 0x0500},
     .defaultStream = 0,
     .firmware = "1.5",
     .valueEdits = {rpm_ids::kSpeedEdit, rpm_ids::kTemperature1Edit, rpm_ids::kTemperature2Edit},
     .written = {{rpm_ids::kTemperature1RateEdit, 0, kRate, "99", 1, "100", "1000"},
                 {rpm_ids::kTemperature2RateEdit, 1, kRate, "25600", 255, "25500", "1000"},
                 {rpm_ids::kSpeedRateEdit, 2, kRate, "", 1, "100", "500"},
                 {rpm_ids::kPolesEdit, 2, kPoles, "20", 15, "15", "1"}}},
    // The rates go out in another order than the streams are entered.
    {.name = "Gps",
     .kind = "gps",
     .treeItem = kGpsItem,
     .page = &g_sensorGPS,
     .streams = {0x0800, 0x0820, 0x0830, 0x0850},
     .defaultStream = 0,
     .firmware = "2.3",
     .valueEdits = {gps_ids::kLatitudeEdit, gps_ids::kLongitudeEdit, gps_ids::kAltitudeEdit,
                    gps_ids::kSpeedEdit, gps_ids::kTimeEdit},
     .written = {{gps_ids::kPositionRateEdit, 0, kRate, "1999", 19, "1900", "1000"},
                 {gps_ids::kSpeedRateEdit, 2, kRate, "25600", 255, "25500", "500"},
                 {gps_ids::kTimeRateEdit, 3, kRate, "UTC", 1, "100", "1000"},
                 {gps_ids::kAltitudeRateEdit, 1, kRate, "99", 1, "100", "1000"}}},
    {.name = "RedundancyBus",
     .kind = "redundancy",
     .treeItem = kRedundancyBusItem,
     .page = &g_sensorRedundancyBus,
     .streams = {0x0B00, 0x0B10, 0x0B20, 0x0B30},
     .defaultStream = 0,
     .firmware = "1.6",
     .valueEdits = {redundancy_bus_ids::kBattery1Voltage, redundancy_bus_ids::kBattery1Current,
                    redundancy_bus_ids::kBattery1Capacity, redundancy_bus_ids::kBattery2Voltage,
                    redundancy_bus_ids::kBattery2Current, redundancy_bus_ids::kBattery2Capacity},
     .written = {{redundancy_bus_ids::kBattery1RateEdit, 0, kRate, "50", 1, "100", "300"},
                 {redundancy_bus_ids::kBattery2RateEdit, 1, kRate, "30000", 255, "25500", "300"},
                 {redundancy_bus_ids::kCapacityRateEdit, 3, kRate, "-3", 1, "100", "300"},
                 {redundancy_bus_ids::kOutputStateRateEdit, 2, kRate, "450", 4, "400", "300"}}},
    // Each rate differs from the one before: the controller's strict read-backs must not take
    // the previous answer for theirs.
    {.name = "Esc",
     .kind = "esc",
     .treeItem = kEscItem,
     .page = &g_sensorReserve1,
     .streams = {0x0B50, 0x0B60, 0x0B70},
     .defaultStream = 0,
     .firmware = "1.1",
     .valueEdits = {esc_ids::kVoltageEdit, esc_ids::kCurrentEdit, esc_ids::kSpeedEdit,
                    esc_ids::kConsumptionEdit, esc_ids::kTemperatureEdit},
     .written = {{esc_ids::kPowerRateEdit, 0, kRate, "50", 1, "100", "100"},
                 {esc_ids::kSpeedRateEdit, 1, kRate, "250", 2, "200", "100"},
                 {esc_ids::kTemperatureRateEdit, 2, kRate, "30000", 255, "25500", "100"}}},
};

class StreamPagesTest : public SensorPageTest, public ::testing::WithParamInterface<PageCase> {
  protected:
    void SetUp() override {
        SensorPageTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        sensor = &bus->AddDevice(*sim::FindKind(P().kind), kPhysId, kAppId);
    }
    const PageCase& P() const { return GetParam(); }
    CSensorPage& Page() const { return *P().page; }
    WORD DataId(int stream, int appId) const {
        return static_cast<WORD>(P().streams[static_cast<std::size_t>(stream)] + appId);
    }
    int Streams() const { return static_cast<int>(P().streams.size()); }

    void StartConfigured() {
        StartOn(std::make_shared<SimVirtualLine>(bus), P().treeItem);
        ConfigureAndWait(Page());
        modal.Clear();
    }
    // An operation from its button to the end of its progress run (or its time-out). The next
    // click follows at once, before the scan that the end restarts polls again: an answer to a
    // poll of the scan that arrives after the click's purge would make the first stream poll
    // restart the machine, and the cases count requests of a single pass.
    void Run(int button) {
        modal.Clear();
        ASSERT_TRUE(Click(&Page(), button));
        for (int ms = 0; ms < 8000 && Running(&Page(), sensor_timers::kTimeout); ++ms) AdvanceMs(1);
    }
    std::vector<WrittenFrame> RequestsSince(std::size_t first, BYTE type = 0) const {
        std::vector<WrittenFrame> out;
        for (std::size_t i = first; i < wire->frames.size(); ++i) {
            const WrittenFrame& f = wire->frames[i];
            if (!f.poll && (type == 0 || f.type == type)) out.push_back(f);
        }
        return out;
    }
    // The enter requests open, the leave requests close, every stream in order.
    void ExpectEntersAndLeaves(const std::vector<WrittenFrame>& requests, int appIdAtEnd) {
        const int n = Streams();
        ASSERT_GE(static_cast<int>(requests.size()), 2 * n);
        for (int s = 0; s < n; ++s) {
            const WrittenFrame& enter = requests[static_cast<std::size_t>(s)];
            EXPECT_EQ(enter.type, bus::kTypeEnter) << "request " << s;
            EXPECT_EQ(enter.dataId, DataId(s, kAppId)) << "enter " << s;
            const WrittenFrame& leave = requests[requests.size() - static_cast<std::size_t>(n - s)];
            EXPECT_EQ(leave.type, bus::kTypeLeave) << "leave " << s;
            EXPECT_EQ(leave.dataId, DataId(s, appIdAtEnd)) << "leave " << s;
        }
    }

    std::shared_ptr<sim::Bus> bus;
    sim::Device* sensor = nullptr;
};

TEST_P(StreamPagesTest, ConfigureFindsTheSensorAndReadShowsEveryField) {
    StartConfigured();
    EXPECT_EQ(Page().m_nPhysIdIndex, kPhysId);
    EXPECT_EQ(Page().m_nAppId, kAppId);
    EXPECT_EQ(Page().m_nConnState, 1);
    for (int id : P().valueEdits) EXPECT_STRNE(Text(Page(), id), "0") << "value edit " << id;

    const std::size_t first = wire->frames.size();
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(Page(), kFirmwareEdit), P().firmware);
    for (const WrittenEdit& e : P().written)
        EXPECT_STREQ(Text(Page(), e.edit), e.factory) << "edit " << e.edit;
    EXPECT_STREQ(Text(Page(), kAppIdEdit), "3");
    EXPECT_STREQ(Text(Page(), kPhysIdEdit), "5");
    EXPECT_TRUE(Enabled(Page(), kWrite));

    const auto requests = RequestsSince(first);
    ExpectEntersAndLeaves(requests, kAppId);
    // Enter and leave once per stream, the firmware, and one read per shown parameter.
    EXPECT_EQ(requests.size(), 2 * P().streams.size() + 1 + P().written.size())
        << "a clean Read never restarts";
    for (const WrittenEdit& e : P().written) {
        const bool asked = std::any_of(requests.begin(), requests.end(), [&](auto& f) {
            return f.type == bus::kTypeRead && f.param == e.param &&
                   f.dataId == DataId(e.stream, kAppId);
        });
        EXPECT_TRUE(asked) << "edit " << e.edit << " is read on its own stream";
    }
}

TEST_P(StreamPagesTest, WriteSendsTheClampedEditsOnTheirStreamsAndAReadShowsThem) {
    StartConfigured();
    Run(kRead);
    ASSERT_TRUE(Type(&Page(), kAppIdEdit, "20"));
    ASSERT_TRUE(Type(&Page(), kPhysIdEdit, "not a number"));
    for (const WrittenEdit& e : P().written) ASSERT_TRUE(Type(&Page(), e.edit, e.typed));
    const std::size_t first = wire->frames.size();
    Run(kWrite);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});

    const auto writes = RequestsSince(first, bus::kTypeWrite);
    ASSERT_EQ(writes.size(), P().written.size() + 2) << "a clean Write never restarts";
    for (std::size_t i = 0; i < P().written.size(); ++i) {
        const WrittenEdit& e = P().written[i];
        EXPECT_EQ(writes[i].param, e.param) << "edit " << e.edit;
        EXPECT_EQ(writes[i].value, e.sent) << "edit " << e.edit << " holding \"" << e.typed << "\"";
        EXPECT_EQ(writes[i].dataId, DataId(e.stream, kAppId)) << "edit " << e.edit;
    }
    const WrittenFrame& app = writes[writes.size() - 2];
    EXPECT_EQ(app.param, bus::kParamAppId);
    EXPECT_EQ(app.value, 15) << "20 is clamped to 15";
    EXPECT_EQ(app.dataId, DataId(0, kAppId)) << "the new application ID goes out on the old one";
    const WrittenFrame& phys = writes.back();
    EXPECT_EQ(phys.param, bus::kParamPhysId);
    EXPECT_EQ(phys.value, 0) << "text that is no number counts as 0";
    EXPECT_EQ(phys.dataId, DataId(0, 15));
    const auto requests = RequestsSince(first);
    ExpectEntersAndLeaves(requests, 15);
    // The polls between the physical-ID read and the first leave: the last read-back pair.
    std::vector<BYTE> readBack;
    for (std::size_t i = first; i < wire->frames.size(); ++i) {
        const WrittenFrame& f = wire->frames[i];
        if (f.at > requests[requests.size() - static_cast<std::size_t>(Streams())].at) break;
        if (!f.poll && f.type == bus::kTypeRead) readBack.clear();
        if (f.poll) readBack.push_back(f.address);
    }
    EXPECT_EQ(readBack, (std::vector<BYTE>{bus::kPhysIdTable[0], bus::kPhysIdTable[0]}))
        << "the last read-back pair goes to the new physical ID";
    EXPECT_STREQ(Text(Page(), kPhysIdEdit), "not a number") << "the edits keep what was typed";
    EXPECT_EQ(sensor->AppId(), 15);
    EXPECT_EQ(sensor->PhysId(), 0);

    for (const WrittenEdit& e : P().written) ASSERT_TRUE(Type(&Page(), e.edit, ""));
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    for (const WrittenEdit& e : P().written)
        EXPECT_STREQ(Text(Page(), e.edit), e.readBack) << "edit " << e.edit;
    EXPECT_STREQ(Text(Page(), kAppIdEdit), "15");
    EXPECT_STREQ(Text(Page(), kPhysIdEdit), "0");
}

TEST_P(StreamPagesTest, DefaultSettingsSendsItsTableSilentlyAndRestoresTheSensor) {
    StartConfigured();
    Run(kRead);
    for (const WrittenEdit& e : P().written) ASSERT_TRUE(Type(&Page(), e.edit, "0"));
    Run(kWrite);
    ASSERT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    // 0 ms is clamped to 100 ms, 0 poles to 1: the sensor holds 1 for each.
    for (const WrittenEdit& e : P().written)
        EXPECT_EQ(sensor->ParamValue(e.param, e.stream), 1u) << "edit " << e.edit;

    const std::size_t first = wire->frames.size();
    Run(kDefault);
    EXPECT_TRUE(modal.shown().empty()) << "Default Settings ends without a box";
    const auto requests = RequestsSince(first);
    ASSERT_EQ(requests.size(), 2 * P().streams.size() + 2);
    ExpectEntersAndLeaves(requests, kAppId);
    const WrittenFrame& restore = requests[P().streams.size()];
    const WrittenFrame& check = requests[P().streams.size() + 1];
    EXPECT_EQ(restore.type, bus::kTypeWrite);
    EXPECT_EQ(restore.param, bus::kParamRestoreDefaults);
    EXPECT_EQ(restore.value, 0);
    EXPECT_EQ(restore.dataId, DataId(P().defaultStream, kAppId));
    EXPECT_EQ(check.type, bus::kTypeRead);
    EXPECT_EQ(check.param, bus::kParamRestoreDefaults);
    EXPECT_EQ(check.dataId, DataId(P().defaultStream, kAppId));
    EXPECT_FALSE(Enabled(Page(), kWrite)) << "Write waits for a Read again";

    Run(kRead);
    for (const WrittenEdit& e : P().written)
        EXPECT_STREQ(Text(Page(), e.edit), e.factory) << "edit " << e.edit;
}

// A sensor that never answers, one that keeps streaming, one that answers every read-back with
// another value than was written (a setting it did not take), and (with several streams) one that
// answers on its first stream only: every operation that needs an answer it does not give ends at
// its time-out with the failure box.
TEST_P(StreamPagesTest, SensorFaultsEndEveryOperationInFailureAtItsTimeOut) {
    StartConfigured();
    Run(kRead);
    struct Fault {
        const char* name;
        sim::DeviceFault fault;
        std::vector<int> failing;  // the buttons whose operation must fail
    };
    std::vector<Fault> faults = {
        {"silent", sim::DeviceFault::kSilent, {kDefault, kRead, kWrite}},
        {"streaming", sim::DeviceFault::kIgnoresEnter, {kDefault, kRead, kWrite}},
        {"another value read back", sim::DeviceFault::kWrongValue, {kDefault, kWrite}},
    };
    // A device deaf to its other streams still repeats its last answer to their polls; only the
    // data ID would tell it apart, and devices answer under IDs of their own. Default Settings,
    // which reads back on one stream after no other read, shows it. (The RPM sensor's defaults
    // are restored on its first stream alone.)
    if (Streams() > 1 && P().defaultStream != 0)
        faults.push_back({"first stream only", sim::DeviceFault::kFirstStreamOnly, {kDefault}});
    // Default Settings first: a failed Read after it unlocks Write again.
    const std::pair<int, int> operations[] = {
        {kDefault, sensor_timers::kDefaultTimeoutMs},
        {kRead, sensor_timers::kReadTimeoutMs},
        {kWrite, sensor_timers::kWriteTimeoutMs},
    };
    for (const Fault& f : faults) {
        sensor->SetFault(f.fault, true);
        for (auto [button, timeoutMs] : operations) {
            SCOPED_TRACE(std::string(f.name) + ", button " + std::to_string(button));
            const bool fails = std::count(f.failing.begin(), f.failing.end(), button) > 0;
            modal.Clear();
            ASSERT_TRUE(Click(&Page(), button));
            AdvanceMs(timeoutMs - 1);
            if (fails) EXPECT_TRUE(modal.shown().empty());
            AdvanceMs(1);
            if (fails) EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed});
            EXPECT_TRUE(Enabled(Page(), kRead));
            EXPECT_TRUE(Enabled(main(), kMainTree));
        }
        sensor->SetFault(f.fault, false);
    }
}

TEST_P(StreamPagesTest, MonitoringFillsEveryValueEdit) {
    StartOn(std::make_shared<SimVirtualLine>(bus), P().treeItem);
    ASSERT_TRUE(Click(&Page(), kMonitoring));
    bus->SetReceiverMode(true, platform::Now());
    AdvanceMs(3000);
    for (int id : P().valueEdits) EXPECT_STRNE(Text(Page(), id), "0") << "value edit " << id;
    EXPECT_EQ(Page().m_nConnState, 0) << "Monitoring keeps no presence";
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_P(StreamPagesTest, GarbageDuringMonitoringChangesNoValue) {
    sensor->SetFault(sim::DeviceFault::kGarbage, true);
    bus->SetFault(sim::BusFault::kGarbage, true);
    StartOn(std::make_shared<SimVirtualLine>(bus), P().treeItem);
    // Numbers show 0 before the first frame, the GPS position and time texts nothing.
    std::vector<std::string> before;
    for (int id : P().valueEdits) before.push_back(Text(Page(), id).str());
    ASSERT_TRUE(Click(&Page(), kMonitoring));
    bus->SetReceiverMode(true, platform::Now());
    AdvanceMs(3000);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(Text(Page(), P().valueEdits[i]).str(), before[i])
            << "value edit " << P().valueEdits[i];
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_P(StreamPagesTest, EveryHintedControlIsOnThePageAndShowsItsHint) {
    StartOn(std::make_shared<SimVirtualLine>(bus), P().treeItem);
    for (std::span<const CSensorPage::Hint> hints : {Page().Hints(), CSensorPage::CommonHints()})
        for (const CSensorPage::Hint& hint : hints)
            for (int id : {hint.id, hint.alsoId}) {
                if (!id) continue;
                ASSERT_TRUE(MoveMouseOver(&Page(), id));
                // A page's own hint for a common control comes first.
                const CSensorPage::Hint* own = nullptr;
                for (const CSensorPage::Hint& h : Page().Hints())
                    if (!own && (h.id == id || h.alsoId == id)) own = &h;
                EXPECT_STREQ(Text(Page(), kHint), own ? own->text : hint.text) << "control " << id;
            }
}

INSTANTIATE_TEST_SUITE_P(Pages, StreamPagesTest, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

class LipoPageTest : public SensorPageTest {};

TEST_F(LipoPageTest, IsShownAtStartWithEveryValueAtZero) {
    StartMainWindow();
    CSensor_LipoVoltageDlg& lipo = g_sensorLipoVoltage;
    ASSERT_TRUE(lipo.IsWindowVisible());
    for (int id : kLipoValues) EXPECT_STREQ(Text(lipo, id), "0") << "value edit " << id;
}

}  // namespace

// The video transmitter page on the simulated bus: the Read of five ticks that only polls, the
// setting shown from a reply with its frequency, the corrections of disallowed pairs as the user
// chooses, the Write of thirty ticks or of nothing without a choice in every combo, and the
// adapter pulled while a Write runs.

#include <set>

#include "platform/virtual_port.h"
#include "sensor_page_harness.h"
#include "sensors/Sensor_Reserve2Dlg.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;
using namespace vtx_ids;
using Body = ScriptedLine::Body;

constexpr int kVtxItem = 14;
constexpr int kPhysId = 12;
constexpr int kNone = -1;  // a combo without a choice
constexpr const char* kSuccess = "Successful operation！";

// A telemetry body of the transmitter: power + 10 × All Frq., band, channel.
Body Setting(int power, int band, int channel) {
    return {0x10, 0x12, 0x0E, 0, BYTE(power), BYTE(band), BYTE(channel), 0};
}

class VtxPageTest : public SensorPageTest {
  protected:
    void StartWithSimulatedTransmitter() {
        bus = std::make_shared<sim::Bus>();
        vtx = &bus->AddDevice(*sim::FindKind("vtx"), kPhysId, 2);
        StartOn(std::make_shared<SimVirtualLine>(bus), kVtxItem);
        ConfigureAndWait(page);
        ASSERT_TRUE(Click(&page, kRead));  // it unlocks Write
        AdvanceMs(500);
        modal.Clear();
    }
    CComboBox& Combo(int id) { return *static_cast<CComboBox*>(page.GetDlgItem(id)); }
    std::string Chosen(int id) {
        CString t;
        Combo(id).GetLBText(Combo(id).GetCurSel(), t);
        return t.str();
    }
    std::vector<WrittenFrame> RequestsSince(std::size_t first) {
        std::vector<WrittenFrame> out;
        for (std::size_t i = first; i < wire->frames.size(); ++i)
            if (!wire->frames[i].poll) out.push_back(wire->frames[i]);
        return out;
    }

    CSensor_Reserve2Dlg& page = g_sensorReserve2;
    std::shared_ptr<sim::Bus> bus;
    sim::Device* vtx = nullptr;
};

TEST_F(VtxPageTest, ReadPollsFiveTicksAndStartsAgainOnlyWhenTheLastAndAnEarlierPollMissed) {
    auto scripted = std::make_shared<ScriptedLine>();
    std::set<int> missed;
    int polls = 0;
    scripted->answer = [&](const WrittenFrame& f, const std::vector<WrittenFrame>&) {
        if (!f.poll || f.address != bus::kPhysIdTable[kPhysId]) return std::optional<Body>();
        return missed.count(++polls) ? std::optional<Body>() : Setting(12, 3, 2);
    };
    StartOn(scripted, kVtxItem);
    ConfigureAndWait(page);
    EXPECT_EQ(page.GetDlgItem(kMonitoring), nullptr);
    EXPECT_FALSE(page.GetDlgItem(kDefault)->IsWindowVisible());
    struct Case {
        const char* name;
        std::set<int> missed;
        int passes;
    };
    const Case cases[] = {
        {"every poll answered", {}, 1},
        {"only the last poll missed", {4}, 1},
        {"an early poll missed", {2}, 1},
        {"an early and the last poll missed", {1, 4}, 2},
    };
    for (const Case& c : cases) {
        missed = c.missed;
        polls = 0;
        modal.Clear();
        const std::size_t first = wire->frames.size();
        ASSERT_TRUE(Click(&page, kRead));
        // A pass that starts again ends at its fourth poll; the last one has its idle tick too.
        const int ticks = 4 * c.passes + 1;
        AdvanceMs((ticks - 1) * sensor_timers::kReadPeriodMs);
        EXPECT_TRUE(modal.MessageTexts().empty()) << c.name;
        AdvanceMs(sensor_timers::kReadPeriodMs);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << c.name;
        EXPECT_EQ(polls, 4 * c.passes) << c.name;
        EXPECT_TRUE(RequestsSince(first).empty()) << c.name << ": no enter, no leave";
        EXPECT_STREQ(Text(page, kFrequency), "5780M") << c.name;
        AdvanceMs(500);
    }
}

TEST_F(VtxPageTest, ASettingShowsClampedWithTheFrequencyOfItsPair) {
    StartWithSimulatedTransmitter();
    struct Case {
        const char* name;
        Body body;
        const char *channel, *band, *power, *allFrq, *frequency;
    };
    const Case cases[] = {
        {"12 is NO and 200mW", Setting(12, 0, 0), "CH1", "A", "200mW", "NO", "5865M"},
        {"3 is YES and 600mW", Setting(3, 3, 4), "CH5", "D", "600mW", "YES", "5820M"},
        {"25 is NO and 600mW", Setting(25, 1, 1), "CH2", "B", "600mW", "NO", "5752M"},
        {"channel 9 is CH8", Setting(1, 5, 9), "CH8", "F", "25mW", "YES", "5621M"},
        {"band 200 is F", Setting(0, 200, 0), "CH1", "F", "PIT", "YES", "5362M"},
    };
    for (const Case& c : cases) {
        page.ShowVtxSettings(c.body.data());
        EXPECT_EQ(Chosen(kChannel), c.channel) << c.name;
        EXPECT_EQ(Chosen(kBand), c.band) << c.name;
        EXPECT_EQ(Chosen(kPower), c.power) << c.name;
        EXPECT_EQ(Chosen(kAllFrq), c.allFrq) << c.name;
        EXPECT_STREQ(Text(page, kFrequency), c.frequency) << c.name;
    }
}

TEST_F(VtxPageTest, DisallowedPairsAreCorrectedAsTheUserChooses) {
    StartWithSimulatedTransmitter();
    struct Case {
        const char* name;
        int allFrq, channel, band;  // before the choice
        int combo, choice;          // what the user chooses
        int channelAfter, bandAfter;
    };
    const Case cases[] = {
        {"CH8 on band A gives CH1", 1, 0, 0, kChannel, 7, 0, 0},
        {"CH7 on band E gives CH3", 1, 0, 4, kChannel, 6, 2, 4},
        {"a channel for band F leaves the pair", 1, 1, 5, kChannel, 0, 0, 5},
        {"band C on CH3 gives D", 1, 2, 0, kBand, 2, 2, 3},
        {"band E on CH7 gives A", 1, 6, 0, kBand, 4, 6, 0},
        {"NO with CH7 and C gives CH1 and A", 0, 6, 2, kAllFrq, 1, 0, 0},
        {"NO with CH3 and C gives CH3 and A", 0, 2, 2, kAllFrq, 1, 2, 0},
        {"YES keeps every pair", 0, 0, 0, kChannel, 7, 7, 0},
        {"no band chosen yet: nothing", 1, kNone, kNone, kChannel, 7, 7, kNone},
        {"no pair chosen yet: nothing", 0, kNone, kNone, kAllFrq, 1, kNone, kNone},
    };
    for (const Case& c : cases) {
        Combo(kAllFrq).SetCurSel(c.allFrq);
        Combo(kChannel).SetCurSel(c.channel);
        Combo(kBand).SetCurSel(c.band);
        ASSERT_TRUE(ChooseComboItem(&page, c.combo, c.choice)) << c.name;
        EXPECT_EQ(Combo(kChannel).GetCurSel(), c.channelAfter) << c.name;
        EXPECT_EQ(Combo(kBand).GetCurSel(), c.bandAfter) << c.name;
    }
}

TEST_F(VtxPageTest, AWriteOfThirtyTicksSendsTheChosenSettingAndNoneWithoutAChoiceInEveryCombo) {
    StartWithSimulatedTransmitter();
    for (auto [combo, choice] : {std::pair{kAllFrq, 1}, {kPower, 3}, {kChannel, 2}, {kBand, 3}})
        ASSERT_TRUE(ChooseComboItem(&page, combo, choice));
    std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kWrite));
    // And one tick more, for the echo of its leave frame.
    AdvanceMs(31 * sensor_timers::kWritePeriodMs);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    const auto requests = RequestsSince(first);
    std::vector<BYTE> types;
    for (const WrittenFrame& f : requests) {
        types.push_back(f.type);
        EXPECT_EQ(f.dataId, 0x0E12);
        if (f.type == 0x31) EXPECT_EQ(f.value, (3 + 10) | 3 << 8 | 2 << 16);
    }
    EXPECT_EQ(types, (std::vector<BYTE>{0x21, 0x31, 0x30, 0x31, 0x30, 0x31, 0x30, 0x20}));
    EXPECT_EQ(requests.back().at - requests.front().at,
              platform::Micros{29} * sensor_timers::kWritePeriodMs * 1000);
    EXPECT_EQ(wire->frames.size() - first, 8u + 10u) << "four stream polls and three pairs";
    EXPECT_STREQ(Text(page, kFrequency), "5780M") << "the last answer is shown";

    // A combo without a choice, or one whose choice the user typed over with what names no item.
    const std::pair<int, const char*> unchosen[] = {
        {kChannel, {}}, {kBand, {}}, {kPower, {}}, {kAllFrq, {}}, {kChannel, "CH9"}};
    for (auto [empty, typed] : unchosen) {
        modal.Clear();
        first = wire->frames.size();
        AdvanceMs(2000);
        if (typed)
            ASSERT_TRUE(Type(&page, empty, typed));
        else
            Combo(empty).SetCurSel(kNone);
        ASSERT_TRUE(Click(&page, kWrite)) << empty;
        AdvanceMs(500);
        EXPECT_EQ(modal.MessageTexts(),
                  std::vector<std::string>{"Please select the correct parameters！"})
            << empty;
        EXPECT_TRUE(RequestsSince(first).empty()) << empty;
        page.ShowVtxSettings(Setting(1, 0, 0).data());
    }
}

TEST_F(VtxPageTest, TheAdapterPulledDuringAWriteStopsItAndTheNextWriteStartsAfresh) {
    StartWithSimulatedTransmitter();
    ASSERT_TRUE(Click(&page, kWrite));
    AdvanceMs(10 * sensor_timers::kWritePeriodMs);
    platform::UnbindVirtualPort(4, /*announce=*/true);
    AdvanceMs(sensor_timers::kWriteTimeoutMs + 1000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"No serial port found"});
    for (UINT_PTR id = 0; id < sensor_timers::kTimerCount; ++id)
        EXPECT_FALSE(Running(&page, id)) << "page timer " << id;
    EXPECT_FALSE(Running(&main(), main_timers::kScan)) << "nothing restarts the scan";

    platform::BindVirtualPort(4, wire, /*announce=*/true);
    OpenPort();
    ConfigureAndWait(page);
    // Read unlocks Write. The transmitter may still be in the configuration access the cut
    // Write opened and send no telemetry; the Write enters afresh either way.
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(sensor_timers::kReadTimeoutMs + 500);
    modal.Clear();
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kWrite));
    AdvanceMs(2000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    ASSERT_FALSE(RequestsSince(first).empty());
    EXPECT_EQ(RequestsSince(first).front().type, 0x21) << "from its first step";
}

}  // namespace

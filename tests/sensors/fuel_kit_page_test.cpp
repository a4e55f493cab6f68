// The fuel kit's page against the simulated kit and a kit the test plays byte for byte, on the
// virtual clock: the widths of its settings, what the Write sends, the resets, and a kit that
// never answers.

#include <map>

#include "bus/fuel_kit_params.h"
#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;
using namespace fuel_kit_ids;
using Body = ScriptedLine::Body;

constexpr const char* kSuccess = "Successful operation！";
constexpr const char* kFailed = "Operation failed！";
constexpr int kFuelKitItem = 8;
constexpr int kKitPhysId = 22;
constexpr int kKitAppId = 4;
// Longer than any time-out and progress run of the page.
constexpr int kOperationMs = 6500;

class FuelKitPageTest : public SensorPageTest {
  protected:
    void SetUp() override {
        SensorPageTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        kit = &bus->AddDevice(*sim::FindKind("fuel"), kKitPhysId, kKitAppId);
    }
    void StartConfigured(std::shared_ptr<platform::VirtualLine> line = nullptr) {
        StartOn(line ? line : std::make_shared<SimVirtualLine>(bus), kFuelKitItem);
        ConfigureAndWait(page);
        // The bar where each closing box finds it: the machine's last step sets it.
        modal.AnswerWith([this](const platform::ModalRecord&) {
            progressAtBox.push_back(page.m_nProgress);
            return platform::ModalAnswer{};
        });
        modal.Clear();
    }
    // An operation from its button to its end; the scan that comes back after it is not part
    // of what it sent.
    void Run(int button) {
        modal.Clear();
        progressAtBox.clear();
        first = wire->frames.size();
        ASSERT_TRUE(Click(&page, button));
        for (int ms = 0; ms < kOperationMs && Running(&page, sensor_timers::kTimeout); ++ms)
            AdvanceMs(1);
        last = wire->frames.size();
        AdvanceMs(100);
    }
    std::vector<WrittenFrame> Sent() {
        return {wire->frames.begin() + static_cast<std::ptrdiff_t>(first),
                wire->frames.begin() + static_cast<std::ptrdiff_t>(last)};
    }
    std::vector<std::pair<int, int>> Writes() {
        std::vector<std::pair<int, int>> out;
        for (const WrittenFrame& f : Sent())
            if (!f.poll && f.type == 0x31) out.push_back({f.param, f.value});
        return out;
    }

    CSensor_FuelKitDlg& page = g_sensorFuelKit;
    std::shared_ptr<sim::Bus> bus;
    sim::Device* kit = nullptr;
    std::vector<int> progressAtBox;
    std::size_t first = 0, last = 0;
};

// A kit that answers every read with the value bytes `values` holds for the parameter at the
// time, 0 for the others.
using KitValues = std::map<BYTE, std::array<BYTE, 3>>;
std::shared_ptr<ScriptedLine> KitAnswering(std::shared_ptr<KitValues> values) {
    auto line = std::make_shared<ScriptedLine>();
    line->answer = [values](const WrittenFrame& f, const std::vector<WrittenFrame>&) {
        if (f.poll || f.type != 0x30) return std::optional<Body>();
        const auto v = values->count(f.param) ? values->at(f.param) : std::array<BYTE, 3>{};
        return std::optional<Body>(Body{0x32, 0, 0x0D, f.param, v[0], v[1], v[2], 0});
    };
    return line;
}

TEST_F(FuelKitPageTest, EveryOperationEndsWithItsProgressAndUnlocksItsButtons) {
    StartConfigured();
    EXPECT_FALSE(Enabled(page, kResetResidualVolume)) << "Configure's run leaves the resets";
    struct Case {
        const char* name;
        int button;
        int progress;
        bool writeAfter;
    } cases[] = {
        {"Read", kRead, 143, true},
        {"Write", kWrite, 140, true},
        {"Default Settings", kDefault, 139, false},
        {"Residual volume reset", kResetResidualVolume, 140, false},
        {"Maximum flow reset", kResetMaximumFlow, 140, false},
        {"Average flow reset", kResetAverageFlow, 140, false},
    };
    for (const Case& c : cases) {
        if (c.button == kWrite) ASSERT_TRUE(Type(&page, kVolumeEdit, "2000")) << c.name;
        Run(c.button);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << c.name;
        EXPECT_EQ(progressAtBox, std::vector<int>{c.progress}) << c.name;
        EXPECT_EQ(Enabled(page, kWrite), c.writeAfter) << c.name;
        for (int reset : {kResetResidualVolume, kResetMaximumFlow, kResetAverageFlow})
            EXPECT_TRUE(Enabled(page, reset)) << c.name << ", reset " << reset;
        EXPECT_TRUE(Enabled(main(), kMainTree)) << c.name;
        for (const WrittenFrame& f : Sent()) {
            EXPECT_FALSE(f.poll) << c.name << ": the kit is never polled";
            EXPECT_EQ(f.address, bus::kFuelKitConfigAddress) << c.name;
            EXPECT_EQ(f.dataId, 0x0D00 + kKitAppId) << c.name;
            EXPECT_TRUE(f.type == 0x30 || f.type == 0x31) << c.name << ": no enter or leave";
        }
    }
    EXPECT_EQ(kit->ParamValue(bus::fuel_kit::kParamVolume), 1000u) << "the defaults came back";
}

// A reset started in Monitoring would restart the scan at its end beside the listener: the
// resets are locked wherever Default Settings is.
TEST_F(FuelKitPageTest, TheResetsAreLockedWithDefaultSettings) {
    StartConfigured();
    Run(kRead);
    for (auto [click, enabled] : {std::pair{0, true}, {kConfigure, false}, {kMonitoring, false}}) {
        if (click) ASSERT_TRUE(Click(&page, click));
        for (int id : {kDefault, kResetResidualVolume, kResetMaximumFlow, kResetAverageFlow})
            EXPECT_EQ(Enabled(page, id), enabled) << "after " << click << ": " << id;
    }
}

TEST_F(FuelKitPageTest, ReadShowsEachSettingInItsOwnWidth) {
    using namespace bus::fuel_kit;
    struct Case {
        const char* name;
        KitValues answers;
        std::vector<std::pair<int, const char*>> shown;
        int autoReset;
    } cases[] = {
        {"values",
         {{bus::kParamFirmware, {0x12}},
          {bus::kParamDataRate, {1}},
          {kParamFlowPulse, {0xE8, 0x03}},
          {kParamCdiLimit, {0x10, 0x27, 0x01}},
          {kParamVolume, {0x60, 0xEA, 0x07}},
          {kParamFactorySettings, {1}},
          {kParamOverTemp2Alarm, {0x36, 0x01, 0x05}},
          {kParamAutoReset, {0}}},
         {{kFirmwareEdit, "1.2"},
          {kDataRateEdit, "100"},
          {kFlowPulseEdit, "1000"},
          {kCdiLimitEdit, "75536"},
          {kVolumeEdit, "60000"},
          {kFactorySettingsEdit, "YES"},
          {kOverTemp2AlarmEdit, "310"},
          {kVolumeLowAlarmEdit, ""},
          {kAppIdEdit, "0"},
          {kPhysIdEdit, "0"}},
         kAutoResetOn},
        {"zeros and other flags",
         {{bus::kParamDataRate, {0}}, {kParamFactorySettings, {0}}, {kParamAutoReset, {7}}},
         {{kDataRateEdit, ""}, {kFactorySettingsEdit, "NO"}, {kCdiLimitEdit, ""}},
         kAutoResetOff},
    };
    auto values = std::make_shared<KitValues>();
    StartConfigured(KitAnswering(values));
    auto* combo = dynamic_cast<CComboBox*>(page.GetDlgItem(kAutoResetCombo));
    EXPECT_EQ(combo->GetCurSel(), CB_ERR) << "nothing is chosen before a Read";
    for (const Case& c : cases) {
        *values = c.answers;
        Run(kRead);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << c.name;
        for (auto [id, text] : c.shown) EXPECT_STREQ(Text(page, id), text) << c.name << ", " << id;
        EXPECT_EQ(combo->GetCurSel(), c.autoReset) << c.name;
    }
}

// Through an adapter that holds bytes back, each answer arrives one request late: the answer
// that waits when a setting's answer is due belongs to the request before.
// A kit that answers two ticks after its request: each answer is waited for and shown in its own
// edit, with no request sent twice. (Given up on once the echo was in, each request went out
// again and its answer came behind the next one's echo.)
TEST_F(FuelKitPageTest, ALateAnswerIsWaitedForAndShownAsItsOwnSetting) {
    kit->SetFault(sim::DeviceFault::kSlowAnswers, true);
    StartConfigured();
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    const std::pair<int, const char*> shown[] = {
        {kFirmwareEdit, "1.0"},   {kDataRateEdit, "100"},   {kFlowPulseEdit, "100"},
        {kCdiLimitEdit, "100"},   {kVolumeEdit, "1000"},    {kOverFlowAlarmEdit, "200"},
        {kOverSpeedAlarmEdit, "90"}};
    for (auto [id, text] : shown) EXPECT_STREQ(Text(page, id), text) << id;
    EXPECT_EQ(Sent().size(), 12u) << "one request per setting";
}

TEST_F(FuelKitPageTest, WriteSendsEachSettingClampedAndTheNewIdsOnlyOnceConfirmed) {
    using namespace bus::fuel_kit;
    struct Case {
        const char* name;
        std::vector<std::pair<int, const char*>> typed;
        int autoReset;
        std::vector<std::pair<int, int>> writes;  // (parameter, value) in order
    } cases[] = {
        {"above the ranges",
         {{kDataRateEdit, "25600"},
          {kFlowPulseEdit, "2001"},
          {kCdiLimitEdit, "5000"},
          {kVolumeEdit, "70000"},
          {kVolumeLowAlarmEdit, "91"},
          {kOverFlowAlarmEdit, "9999"},
          {kOverSpeedAlarmEdit, "1001"},
          {kOverTemp1AlarmEdit, "300"},
          {kOverTemp2AlarmEdit, "400"},
          {kPhysIdEdit, "27"},
          {kAppIdEdit, "20"}},
         kAutoResetOff,
         {{0x22, 255},
          {kParamFlowPulse, 2000},
          {kParamCdiLimit, 1000},
          {kParamVolume, 60000},
          {kParamAutoReset, 1},
          {kParamVolumeLowAlarm, 90},
          {kParamOverFlowAlarm, 2000},
          {kParamOverSpeedAlarm, 1000},
          {kParamOverTemp1Alarm, 250},
          {kParamOverTemp2Alarm, 310},
          {0x01, 26},
          {0x0D, 15}}},
        {"below the ranges, empty and no number",
         {{kDataRateEdit, "99"},
          {kFlowPulseEdit, ""},
          {kCdiLimitEdit, "x"},
          {kVolumeEdit, "5"},
          {kVolumeLowAlarmEdit, "-1"},
          {kOverFlowAlarmEdit, "0"},
          {kOverSpeedAlarmEdit, ""},
          {kOverTemp1AlarmEdit, "-40"},
          {kOverTemp2AlarmEdit, "20"},
          {kPhysIdEdit, "3"},
          {kAppIdEdit, "-3"}},
         kAutoResetOn,
         {{0x22, 1},
          {kParamFlowPulse, 1},
          {kParamCdiLimit, 10},
          {kParamVolume, 10},
          {kParamAutoReset, 0},
          {kParamVolumeLowAlarm, 0},
          {kParamOverFlowAlarm, 0},
          {kParamOverSpeedAlarm, 0},
          {kParamOverTemp1Alarm, 0},
          {kParamOverTemp2Alarm, 20},
          {0x01, 3},
          {0x0D, 0}}},
    };
    StartConfigured();
    Run(kRead);
    for (const Case& c : cases) {
        for (auto [id, text] : c.typed) ASSERT_TRUE(Type(&page, id, text)) << c.name;
        ASSERT_TRUE(ChooseComboItem(&page, kAutoResetCombo, c.autoReset)) << c.name;
        const int oldAppId = page.m_nAppId;
        Run(kWrite);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << c.name;
        EXPECT_EQ(Writes(), c.writes) << c.name << ": a clean Write never repeats an exchange";
        // Until the kit confirmed it, every request carries the old application ID.
        for (const WrittenFrame& f : Sent()) EXPECT_EQ(f.dataId, 0x0D00 + oldAppId) << c.name;
        EXPECT_EQ(page.m_nPhysIdIndex, c.writes[10].second) << c.name;
        EXPECT_EQ(page.m_nAppId, c.writes[11].second) << c.name;
        EXPECT_EQ(kit->AppId(), c.writes[11].second) << c.name;
        EXPECT_EQ(kit->ParamValue(kParamVolume), static_cast<std::uint32_t>(c.writes[3].second))
            << c.name;
        EXPECT_STREQ(Text(page, kVolumeEdit), c.typed[3].second) << c.name << ": kept as typed";
    }
}

TEST_F(FuelKitPageTest, AKitThatNeverAnswersFailsEveryOperationAndTheWriteNeedsAChoice) {
    StartConfigured();
    kit->SetFault(sim::DeviceFault::kSilent, true);
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed}) << "Read";

    // The failed Read unlocked Write, but nothing chose the auto-reset setting yet.
    Run(kWrite);
    EXPECT_EQ(modal.MessageTexts(),
              std::vector<std::string>{"Please select the correct parameters！"});
    EXPECT_TRUE(Sent().empty()) << "nothing is written";
    EXPECT_TRUE(Enabled(page, kRead));

    ASSERT_TRUE(ChooseComboItem(&page, kAutoResetCombo, kAutoResetOff));
    const struct {
        const char* name;
        int button;
    } cases[] = {
        {"Write", kWrite},
        {"Default Settings", kDefault},
        {"Residual volume reset", kResetResidualVolume},
        {"Maximum flow reset", kResetMaximumFlow},
        {"Average flow reset", kResetAverageFlow},
    };
    for (const auto& c : cases) {
        Run(c.button);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed}) << c.name;
        EXPECT_GT(Sent().size(), 10u) << c.name << ": the exchange is repeated until the time-out";
        EXPECT_EQ(page.m_nReadStep, 0) << c.name;
        EXPECT_EQ(page.m_nDefaultStep, 0) << c.name;
        EXPECT_TRUE(Enabled(page, kResetAverageFlow)) << c.name;
    }
}

TEST_F(FuelKitPageTest, AResetPassesOnlyOnItsAcknowledgement) {
    using namespace bus::fuel_kit;
    const struct {
        const char* name;
        int button;
        std::array<BYTE, 3> answer;
        const char* message;
    } cases[] = {
        {"residual volume, 1000", kResetResidualVolume, {0xE8, 0x03}, kSuccess},
        {"residual volume, 0", kResetResidualVolume, {0}, kFailed},
        {"maximum flow, 0", kResetMaximumFlow, {0}, kSuccess},
        {"average flow, 1", kResetAverageFlow, {1}, kFailed},
    };
    auto values = std::make_shared<KitValues>();
    StartConfigured(KitAnswering(values));
    Run(kRead);
    for (const auto& c : cases) {
        *values = {{kParamResetResidualVolume, c.answer},
                   {kParamResetMaximumFlow, c.answer},
                   {kParamResetAverageFlow, c.answer}};
        Run(c.button);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{c.message}) << c.name;
    }
}

}  // namespace

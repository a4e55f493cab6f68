// The air-speed page as a user meets it, against the simulated bus on a virtual port and the
// virtual clock: Configure, Read, Write, Default Settings, failures at the time-out, the
// confirmation boxes, hints and the connection lamp.

#include "platform/bitmaps.h"
#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;

constexpr const char* kSuccess = "Successful operation！";
constexpr const char* kFailed = "Operation failed！";

class AirSpeedPageTest : public SensorPageTest {
  protected:
    void SetUp() override {
        SensorPageTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        sensor = &bus->AddDevice(*sim::FindKind("airspeed"), 9, 3);
    }
    // Port open, page shown, Configure's first run over.
    void StartConfigured() {
        StartOn(std::make_shared<SimVirtualLine>(bus));
        ConfigureAndWait(page);
        modal.Clear();
    }
    // An operation from its button to the end of its progress run (a Write's takes longest:
    // 16 steps of 50 ms, then 12 progress ticks of 32 ms).
    void Run(int button) {
        ASSERT_TRUE(Click(&page, button));
        AdvanceMs(1500);
    }
    std::vector<WrittenFrame> RequestsSince(std::size_t first) {
        std::vector<WrittenFrame> out;
        for (std::size_t i = first; i < wire->frames.size(); ++i)
            if (!wire->frames[i].poll) out.push_back(wire->frames[i]);
        return out;
    }
    UINT LampBitmap() {
        CWnd* lamp = page.GetDlgItem(kLamp);
        return platform::BitmapResourceId(
            reinterpret_cast<HBITMAP>(lamp->SendMessage(STM_GETIMAGE, IMAGE_BITMAP)));
    }

    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
    std::shared_ptr<sim::Bus> bus;
    sim::Device* sensor = nullptr;
};

TEST_F(AirSpeedPageTest, ConfigureRunsOneHundredFortyStepsThenUnlocksReadAndDefaultButNotWrite) {
    StartOn(std::make_shared<SimVirtualLine>(bus));
    ASSERT_TRUE(Click(&page, kConfigure));
    ASSERT_EQ(modal.shown().size(), 1u);
    EXPECT_EQ(modal.shown()[0].dialogId, 151u) << "the Configure box asks first";
    EXPECT_STREQ(Text(page, kConfigure), "Stop");
    EXPECT_STREQ(Text(g_sensorCurrentH, kConfigure), "Stop");
    EXPECT_FALSE(Enabled(main(), kMainTree));
    EXPECT_FALSE(Enabled(main(), kMainTab));
    EXPECT_FALSE(Enabled(main(), kMainOpen));

    AdvanceMs(140 * 46 - 1);
    EXPECT_FALSE(Enabled(page, kRead)) << "the run is not over yet";
    AdvanceMs(2);
    EXPECT_TRUE(Enabled(page, kRead));
    EXPECT_TRUE(Enabled(page, kDefault));
    EXPECT_FALSE(Enabled(page, kWrite));
    EXPECT_TRUE(Enabled(g_sensorCurrentH, kRead)) << "Read is unlocked on every page";
    EXPECT_TRUE(Enabled(main(), kMainTree));
    EXPECT_TRUE(Enabled(main(), kMainTab));
    EXPECT_FALSE(Enabled(main(), kMainOpen)) << "only switching Configure off frees Open/Close";
    EXPECT_TRUE(Running(&main(), main_timers::kScan)) << "the scan runs on";
    EXPECT_EQ(page.m_nPhysIdIndex, 9);
    EXPECT_EQ(page.m_nAppId, 3);
    EXPECT_EQ(page.m_nConnState, 1);
    EXPECT_EQ(LampBitmap(), 228u);
    EXPECT_EQ(modal.shown().size(), 1u) << "no message at the end of the run";
}

TEST_F(AirSpeedPageTest, ReadShowsFirmwareRateAndIdsThenWriteIsUnlocked) {
    StartConfigured();
    std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kRead));
    EXPECT_FALSE(Running(&main(), main_timers::kScan)) << "the scan stops for the operation";
    EXPECT_FALSE(Enabled(page, kConfigure));
    AdvanceMs(1000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kFirmwareEdit), "1.2");
    EXPECT_STREQ(Text(page, kDataRateEdit), "300");
    EXPECT_STREQ(Text(page, kAppIdEdit), "3");
    EXPECT_STREQ(Text(page, kPhysIdEdit), "9");
    EXPECT_TRUE(Enabled(page, kWrite));
    EXPECT_TRUE(Enabled(page, kConfigure));
    EXPECT_TRUE(Enabled(main(), kMainTree));
    EXPECT_TRUE(Running(&main(), main_timers::kScan)) << "the scan is back";
    EXPECT_EQ(page.m_nReadStep, 0);

    auto requests = RequestsSince(first);
    ASSERT_GE(requests.size(), 4u);
    EXPECT_EQ(requests.front().type, 0x21);
    EXPECT_EQ(requests.front().dataId, 0x0A03);
    EXPECT_EQ(requests.front().address, 0x1C);
    EXPECT_EQ(requests[1].type, 0x30);
    EXPECT_EQ(requests[1].param, 0x0C);
    EXPECT_EQ(requests[2].param, 0x22);
    EXPECT_EQ(requests[3].type, 0x20);
    EXPECT_EQ(requests.size(), 4u) << "a clean Read never restarts";
}

TEST_F(AirSpeedPageTest, WriteSendsClampedValuesKeepsTheTypedTextAndReadShowsTheNewSettings) {
    StartConfigured();
    Run(kRead);
    ASSERT_TRUE(Type(&page, kAppIdEdit, "20"));
    ASSERT_TRUE(Type(&page, kPhysIdEdit, "not a number"));
    ASSERT_TRUE(Type(&page, kDataRateEdit, "30000"));
    modal.Clear();
    std::size_t first = wire->frames.size();
    Run(kWrite);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});

    std::vector<WrittenFrame> writes;
    for (const WrittenFrame& f : RequestsSince(first))
        if (f.type == 0x31) writes.push_back(f);
    ASSERT_EQ(writes.size(), 3u) << "a clean Write never restarts";
    EXPECT_EQ(writes[0].param, 0x22);
    EXPECT_EQ(writes[0].value, 255) << "30000 ms is clamped to 25500";
    EXPECT_EQ(writes[0].dataId, 0x0A03);
    EXPECT_EQ(writes[1].param, 0x0D);
    EXPECT_EQ(writes[1].value, 15) << "20 is clamped to 15";
    EXPECT_EQ(writes[1].dataId, 0x0A03) << "the new application ID goes out on the old data ID";
    EXPECT_EQ(writes[2].param, 0x01);
    EXPECT_EQ(writes[2].value, 0) << "text that is no number counts as 0";
    EXPECT_EQ(writes[2].dataId, 0x0A0F);
    auto requests = RequestsSince(first);
    EXPECT_EQ(requests.back().type, 0x20);
    EXPECT_EQ(requests.back().dataId, 0x0A0F) << "leave carries the new application ID";
    const WrittenFrame& lastPoll = [&]() -> const WrittenFrame& {
        for (std::size_t i = wire->frames.size(); i-- > first;)
            if (wire->frames[i].poll && wire->frames[i].at < requests.back().at)
                return wire->frames[i];
        return wire->frames.back();
    }();
    EXPECT_EQ(lastPoll.address, bus::kPhysIdTable[0])
        << "the last read-back polls go to the new ID";
    EXPECT_STREQ(Text(page, kAppIdEdit), "20") << "the edits keep what the user typed";
    EXPECT_STREQ(Text(page, kPhysIdEdit), "not a number");
    EXPECT_EQ(page.m_nAppId, 15);
    EXPECT_EQ(page.m_nPhysIdIndex, 0);

    modal.Clear();
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kDataRateEdit), "25500");
    EXPECT_STREQ(Text(page, kAppIdEdit), "15");
    EXPECT_STREQ(Text(page, kPhysIdEdit), "0");
}

TEST_F(AirSpeedPageTest, WriteClampsLowValuesAndRatesBelowOneHundred) {
    StartConfigured();
    Run(kRead);
    ASSERT_TRUE(Type(&page, kAppIdEdit, "-3"));
    ASSERT_TRUE(Type(&page, kPhysIdEdit, "40"));
    ASSERT_TRUE(Type(&page, kDataRateEdit, "50"));
    std::size_t first = wire->frames.size();
    Run(kWrite);
    std::vector<int> values;
    for (const WrittenFrame& f : RequestsSince(first))
        if (f.type == 0x31) values.push_back(f.value);
    EXPECT_EQ(values, (std::vector<int>{1, 0, 27}));
    EXPECT_EQ(sensor->PhysId(), 27);
    EXPECT_EQ(sensor->AppId(), 0);
}

TEST_F(AirSpeedPageTest, DefaultSettingsSucceedsWithoutABoxAndLeavesWriteLocked) {
    StartConfigured();
    std::size_t first = wire->frames.size();
    Run(kDefault);
    EXPECT_TRUE(modal.shown().empty());
    auto requests = RequestsSince(first);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].type, 0x21);
    EXPECT_EQ(requests[1].type, 0x31);
    EXPECT_EQ(requests[1].param, 0x00);
    EXPECT_EQ(requests[1].value, 0);
    EXPECT_EQ(requests[2].type, 0x30);
    EXPECT_EQ(requests[2].param, 0x00);
    EXPECT_EQ(requests[3].type, 0x20);
    EXPECT_TRUE(Enabled(page, kRead));
    EXPECT_TRUE(Enabled(page, kDefault));
    EXPECT_FALSE(Enabled(page, kWrite));
    EXPECT_EQ(page.m_nDefaultStep, 0);
}

TEST_F(AirSpeedPageTest, ReadAgainstSilenceFailsAtTheTimeOutAndTheNextReadStartsAtStepZero) {
    StartConfigured();
    sensor->SetFault(sim::DeviceFault::kSilent, true);
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(3999);
    EXPECT_TRUE(modal.shown().empty());
    EXPECT_FALSE(Enabled(page, kRead));
    AdvanceMs(1);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed});
    EXPECT_EQ(page.m_nReadStep, 0);
    EXPECT_TRUE(Enabled(page, kRead));
    EXPECT_TRUE(Enabled(page, kWrite));
    EXPECT_TRUE(Enabled(main(), kMainTree));
    EXPECT_FALSE(Running(&page, sensor_timers::kRead));
    EXPECT_FALSE(Running(&page, sensor_timers::kProgress));

    sensor->SetFault(sim::DeviceFault::kSilent, false);
    modal.Clear();
    std::size_t first = wire->frames.size();
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    auto requests = RequestsSince(first);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front().type, 0x21) << "the next Read starts with the enter frame";
}

TEST_F(AirSpeedPageTest, ReadAgainstAStreamingSensorRestartsUntilTheTimeOut) {
    StartConfigured();
    sensor->SetFault(sim::DeviceFault::kIgnoresEnter, true);
    std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(4000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed});
    std::vector<WrittenFrame> requests = RequestsSince(first);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().type, 0x20) << "the time-out leaves what the enter frames entered";
    requests.pop_back();
    int enters = 0;
    for (const WrittenFrame& f : requests) {
        EXPECT_EQ(f.type, 0x21) << "it never gets past the stream polls";
        enters += f.type == 0x21;
    }
    EXPECT_GT(enters, 100);
}

TEST_F(AirSpeedPageTest, CancellingEitherBoxChangesNothing) {
    StartOn(std::make_shared<SimVirtualLine>(bus));
    modal.Answer({IDCANCEL});
    ASSERT_TRUE(Click(&page, kConfigure));
    modal.Answer({IDCANCEL});
    ASSERT_TRUE(Click(&page, kMonitoring));
    ASSERT_EQ(modal.shown().size(), 2u);
    EXPECT_EQ(modal.shown()[1].dialogId, 152u);
    EXPECT_STREQ(Text(page, kConfigure), "Configure");
    EXPECT_STREQ(Text(page, kMonitoring), "Monitoring");
    EXPECT_EQ(page.m_bConfigIdle, 1);
    EXPECT_EQ(page.m_bMonitorIdle, 1);
    for (UINT_PTR id = 0; id <= 4; ++id) EXPECT_FALSE(Running(&page, id)) << id;
    EXPECT_FALSE(Running(&main(), main_timers::kListener));
    EXPECT_FALSE(Running(&main(), main_timers::kScan));
    EXPECT_TRUE(Enabled(page, kMonitoring));
    EXPECT_TRUE(Enabled(page, kConfigure));
    EXPECT_FALSE(Enabled(page, kRead));
    EXPECT_TRUE(Enabled(main(), kMainTree));
    EXPECT_TRUE(Enabled(main(), kMainOpen));
    EXPECT_TRUE(wire->frames.empty());
}

TEST_F(AirSpeedPageTest, MonitoringTogglesTheListenerOnEveryPage) {
    StartOn(std::make_shared<SimVirtualLine>(bus));
    ASSERT_TRUE(Click(&page, kMonitoring));
    EXPECT_TRUE(Running(&main(), main_timers::kListener));
    EXPECT_STREQ(Text(g_sensorCurrentH, kMonitoring), "Stop");
    EXPECT_FALSE(Enabled(page, kConfigure));
    EXPECT_FALSE(Enabled(main(), kMainOpen));
    ASSERT_TRUE(Click(&page, kMonitoring));
    EXPECT_FALSE(Running(&main(), main_timers::kListener));
    EXPECT_STREQ(Text(page, kMonitoring), "Monitoring");
    EXPECT_TRUE(Enabled(g_sensorCurrentH, kConfigure));
    EXPECT_TRUE(Enabled(main(), kMainOpen));
}

TEST_F(AirSpeedPageTest, ConfigureSwitchedOffDuringItsFirstRunEndsTheRunAtOnce) {
    StartOn(std::make_shared<SimVirtualLine>(bus));
    ASSERT_TRUE(Click(&page, kConfigure));
    AdvanceMs(1000);
    // The locked tab keeps the mouse away from the page during the run; the stop can still
    // arrive as the button's command.
    EXPECT_FALSE(Click(&page, kConfigure));
    page.OnBnClickedConfigure();
    EXPECT_STREQ(Text(page, kConfigure), "Configure");
    EXPECT_TRUE(Enabled(main(), kMainTree)) << "the tree and tab come back with the stop";
    EXPECT_TRUE(Enabled(main(), kMainTab));
    EXPECT_TRUE(Enabled(main(), kMainOpen));
    EXPECT_FALSE(page.GetDlgItem(kProgress)->IsWindowVisible());
    EXPECT_EQ(page.m_nProgress, 0);
    std::size_t framesAtStop = wire->frames.size();

    AdvanceMs(8000);
    EXPECT_TRUE(modal.MessageTexts().empty());
    EXPECT_FALSE(Enabled(page, kRead)) << "Read stays locked with Configure off";
    EXPECT_FALSE(Enabled(page, kDefault));
    EXPECT_FALSE(Running(&main(), main_timers::kScan)) << "the scan does not come back";
    EXPECT_EQ(wire->frames.size(), framesAtStop);

    // A new Configure starts a whole new run.
    ASSERT_TRUE(Click(&page, kConfigure));
    AdvanceMs(140 * 46 + 1);
    EXPECT_TRUE(Enabled(page, kRead));
}

TEST_F(AirSpeedPageTest, ALabelAndItsEditShowTheSameHintAndOtherControlsKeepIt) {
    StartOn(std::make_shared<SimVirtualLine>(bus));
    ASSERT_TRUE(MoveMouseOver(&page, kPhysIdLabel));
    EXPECT_STREQ(Text(page, kHint), "Physical ID:    Range:0-27    Default:9");
    ASSERT_TRUE(MoveMouseOver(&page, kDataRateEdit));
    EXPECT_STREQ(Text(page, kHint),
                 "Data Rate:    AirSpeed:    Range:100-25500ms    Default:300ms");
    ASSERT_TRUE(MoveMouseOver(&page, kPhysIdEdit));
    EXPECT_STREQ(Text(page, kHint), "Physical ID:    Range:0-27    Default:9");
    ASSERT_TRUE(MoveMouseOver(&page, 1229));
    EXPECT_STREQ(Text(page, kHint), "Physical ID:    Range:0-27    Default:9");
    ASSERT_TRUE(MoveMouseOver(&g_sensorAirSpeed, 1054));
    EXPECT_STREQ(Text(page, kHint), "AirSpeed:    Range:0-500.0Km/H    Precise:0.1Km/H");
}

TEST_F(AirSpeedPageTest, TheLampFollowsTheConnectionState) {
    StartOn(std::make_shared<SimVirtualLine>(bus));
    EXPECT_EQ(LampBitmap(), 229u) << "the template starts with the grey lamp";
    page.m_nConnState = 1;
    page.DrawConnectionState();
    EXPECT_EQ(LampBitmap(), 228u);
    page.m_nConnState = 0;
    page.SendMessage(WM_PAINT);
    EXPECT_EQ(LampBitmap(), 229u) << "a repaint redraws the lamp";
    page.m_nConnState = 2;
    page.DrawConnectionState();
    EXPECT_EQ(LampBitmap(), 0u) << "no lamp for any other state";
}

}  // namespace

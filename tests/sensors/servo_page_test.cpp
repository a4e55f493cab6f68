// The ZA-3 servo's page against the simulated servo on the virtual clock: the output channel as
// the servo keeps it, Write locked until a Read has found the servo's IDs, no Default Settings,
// and a servo that never answers.

#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;
using namespace servo_ids;

constexpr const char* kSuccess = "Successful operation！";
constexpr const char* kFailed = "Operation failed！";
constexpr int kServoItem = 12;
constexpr BYTE kParamChannel = 0x80;
// Longer than any time-out and progress run of the page.
constexpr int kOperationMs = 6500;

class ServoPageTest : public SensorPageTest {
  protected:
    void SetUp() override {
        SensorPageTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        servo = &bus->AddDevice(*sim::FindKind("servo"), 9, 0);
        StartOn(std::make_shared<SimVirtualLine>(bus), kServoItem);
        ConfigureAndWait(page);
        modal.Clear();
    }
    void Run(int button) {
        modal.Clear();
        ASSERT_TRUE(Click(&page, button));
        AdvanceMs(kOperationMs);
    }

    CSensor_SteeringEngineDlg& page = g_sensorSteeringEngine;
    std::shared_ptr<sim::Bus> bus;
    sim::Device* servo = nullptr;
};

TEST_F(ServoPageTest, WriteStaysLockedUntilAReadHasFoundTheIds) {
    EXPECT_FALSE(Enabled(page, kWrite)) << "after Configure's run";
    EXPECT_FALSE(page.GetDlgItem(kDefault)->IsWindowVisible()) << "no Default Settings here";
    EXPECT_STREQ(Text(page, kAppIdEdit), "");

    servo->SetFault(sim::DeviceFault::kSilent, true);
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed});
    EXPECT_TRUE(Enabled(page, kRead));
    EXPECT_FALSE(Enabled(page, kWrite)) << "a failed Read fills no IDs";
    CKestrovaDlg::BroadcastToSensorPages(4, 0);
    EXPECT_FALSE(Enabled(page, kWrite)) << "the broadcast unlocks Read and Default only";

    servo->SetFault(sim::DeviceFault::kSilent, false);
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kAppIdEdit), "0") << "an application ID of 0 shows as 0";
    EXPECT_STREQ(Text(page, kPhysIdEdit), "9");
    EXPECT_TRUE(Enabled(page, kWrite));
    Run(kWrite);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_TRUE(Enabled(page, kWrite)) << "the IDs still are the servo's";

    servo->SetFault(sim::DeviceFault::kSilent, true);
    Run(kWrite);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed});
    Run(kRead);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kFailed});
    EXPECT_FALSE(Enabled(page, kWrite)) << "the last Read failed";
}

TEST_F(ServoPageTest, ThroughASlowAdapterTheFirmwareNeverShowsAsTheChannel) {
    sim::Timing timing = bus->GetTiming();
    // A latency timer at which the firmware's answer reaches the program during the channel's
    // polls.
    timing.handOverPeriod = 11'000;
    bus->SetTiming(timing);
    for (int run = 0; run < 5; ++run) {
        Run(kRead);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << run;
        EXPECT_STREQ(Text(page, kFirmwareEdit), "1.0") << run;
        EXPECT_STREQ(Text(page, kChannelEdit), "1") << run;
    }
}

TEST_F(ServoPageTest, TheChannelTravelsAsItsIndexAndComesBackPlusOne) {
    Run(kRead);
    EXPECT_STREQ(Text(page, kChannelEdit), "1") << "the servo keeps channel 1 as 0";
    const struct {
        const char* typed;
        int sent;
        const char* readBack;
    } cases[] = {{"16", 15, "16"}, {"0", 0, "1"}, {"-3", 0, "1"}, {"", 0, "1"}, {"40", 15, "16"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Type(&page, kChannelEdit, c.typed)) << c.typed;
        const std::size_t first = wire->frames.size();
        Run(kWrite);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << c.typed;
        std::vector<int> channelWrites;
        for (std::size_t i = first; i < wire->frames.size(); ++i) {
            const WrittenFrame& f = wire->frames[i];
            if (f.poll || f.type != 0x31 || f.param != kParamChannel) continue;
            channelWrites.push_back(f.value);
            EXPECT_EQ(f.dataId, 0x0B40) << c.typed;
        }
        EXPECT_EQ(channelWrites, std::vector<int>{c.sent}) << c.typed;
        EXPECT_EQ(servo->ParamValue(kParamChannel), static_cast<std::uint32_t>(c.sent));
        ASSERT_TRUE(Type(&page, kChannelEdit, "")) << c.typed;
        Run(kRead);
        EXPECT_STREQ(Text(page, kChannelEdit), c.readBack) << c.typed;
        EXPECT_EQ(servo->PhysId(), 9) << c.typed << ": the Write kept the servo's IDs";
    }
}

}  // namespace

// What the redundancy bus page makes of a simulated unit heard in Monitoring: the values of
// both batteries, and its status word bit by bit in the 27 status edits.

#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace redundancy_bus_ids;

constexpr int kRedundancyBusItem = 10;

// Each status bit's edit and what it shows when the bit is set, in bit order.
constexpr std::pair<int, const char*> kStatusBits[] = {
    {kChannelEdits[0], "Overload"},   {kChannelEdits[1], "Overload"},
    {kChannelEdits[2], "Overload"},   {kChannelEdits[3], "Overload"},
    {kChannelEdits[4], "Overload"},   {kChannelEdits[5], "Overload"},
    {kChannelEdits[6], "Overload"},   {kChannelEdits[7], "Overload"},
    {kChannelEdits[8], "Overload"},   {kChannelEdits[9], "Overload"},
    {kChannelEdits[10], "Overload"},  {kChannelEdits[11], "Overload"},
    {kChannelEdits[12], "Overload"},  {kChannelEdits[13], "Overload"},
    {kChannelEdits[14], "Overload"},  {kChannelEdits[15], "Overload"},
    {kRx1InEdit, "Overload"},         {kRx2InEdit, "Overload"},
    {kSBusOutEdit, "Overload"},       {kRx1FailSafeEdit, "FailSafe"},
    {kRx1LostFrameEdit, "LostFrame"}, {kRx2FailSafeEdit, "FailSafe"},
    {kRx2LostFrameEdit, "LostFrame"}, {kRx1ConnectionEdit, "Lost"},
    {kRx2ConnectionEdit, "Lost"},     {kRx1NoSignalEdit, "NoSignal"},
    {kRx2NoSignalEdit, "NoSignal"},
};

struct StatusCase {
    const char* name;
    std::uint32_t word;
};

const StatusCase kWords[] = {
    {"even bits", 0x05555555},
    {"odd bits", 0x02AAAAAA},
    {"every bit shown", 0x07FFFFFF},
    {"lost frame on RX1 alone", 1u << 20},
    {"fail-safe on RX2 alone", 1u << 21},
    {"only the bits above 26", 0xF8000000},
};

class RedundancyBusPageTest : public SensorPageTest {
  protected:
    // The simulated unit with fixed battery values and status word `word`.
    static sim::SensorKind UnitWith(std::uint32_t word) {
        sim::SensorKind kind = *sim::FindKind("redundancy");
        const double values[] = {
            3.7, 1.25, 7.4, 0.5, static_cast<double>(static_cast<std::int32_t>(word)), 1500, 800};
        for (std::size_t i = 0; i < std::size(values); ++i) {
            kind.quantities[i].base = values[i];
            kind.quantities[i].swing = 0;
            kind.quantities[i].held = false;
        }
        return kind;
    }
    CSensor_RedundancyBusDlg& page = g_sensorRedundancyBus;
};

TEST_F(RedundancyBusPageTest, MonitoringShowsBothBatteriesAndTheStatusWordBitByBit) {
    auto bus = std::make_shared<sim::Bus>();
    StartOn(std::make_shared<SimVirtualLine>(bus), kRedundancyBusItem);
    for (auto [edit, text] : kStatusBits)
        EXPECT_STREQ(Text(page, edit), "") << "no state before the first frame, edit " << edit;
    ASSERT_TRUE(Click(&page, sensor_ids::kMonitoring));
    bus->SetReceiverMode(true, platform::Now());
    for (const StatusCase& c : kWords) {
        const sim::SensorKind kind = UnitWith(c.word);
        bus->Devices().clear();
        bus->AddDevice(kind, 25, 0);
        AdvanceMs(1000);
        for (int bit = 0; bit < static_cast<int>(std::size(kStatusBits)); ++bit) {
            const auto [edit, text] = kStatusBits[bit];
            EXPECT_STREQ(Text(page, edit), (c.word >> bit) & 1u ? text : "Normal")
                << c.name << ", bit " << bit;
        }
    }
    EXPECT_STREQ(Text(page, kBattery1Voltage), "3.7");
    EXPECT_STREQ(Text(page, kBattery1Current), "1.25");
    EXPECT_STREQ(Text(page, kBattery1Capacity), "1500");
    EXPECT_STREQ(Text(page, kBattery2Voltage), "7.4");
    EXPECT_STREQ(Text(page, kBattery2Current), "0.5");
    EXPECT_STREQ(Text(page, kBattery2Capacity), "800");
    EXPECT_TRUE(modal.MessageTexts().empty());
}

}  // namespace

// What the ESC page has of its own: the pole count the user types, which turns the reported
// speed into motor revolutions and must never divide by zero nor raise an error box, and the
// values of a simulated controller.

#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace esc_ids;

constexpr int kEscItem = 13;

class EscPageTest : public SensorPageTest {
  protected:
    CSensor_Reserve1Dlg& page = g_sensorReserve1;
};

// What one Monitoring run shows with the text typed in the Pole edit before it started.
struct PoleCase {
    const char* name;
    const char* typed;
    int pole;
    const char* speed;  // the controller reports 1500 × 100 electrical revolutions a minute
};

// Typed counts are read as every typed number is (atoi); the decoding raises one below 1 to 1.
const PoleCase kPoleCases[] = {
    {"a count", "14", 14, "10714"},
    {"text that is no number is 0, taken as one", "many", 1, "150000"},
    {"a number followed by text", " 7 poles", 7, "21428"},
    {"zero is taken as one", "0", 1, "150000"},
    {"a negative count is taken as one", "-5", 1, "150000"},
    {"an empty edit is 0, taken as one", "", 1, "150000"},
};

TEST_F(EscPageTest, ThePoleCountNeverDividesByZeroNorRaisesABox) {
    sim::SensorKind kind = *sim::FindKind("esc");
    // 12.34 V, 10 A, 1500 in the speed field, 321 mAh, and a temperature word whose upper
    // bytes are not part of the temperature.
    const double values[] = {12.34, 10, 150000, 321, 0x12FF};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        kind.quantities[i].base = values[i];
        kind.quantities[i].swing = 0;
        kind.quantities[i].held = false;
    }
    auto bus = std::make_shared<sim::Bus>();
    bus->AddDevice(kind, 10, 0);
    StartOn(std::make_shared<SimVirtualLine>(bus), kEscItem);
    bus->SetReceiverMode(true, platform::Now());
    for (const PoleCase& c : kPoleCases) {
        ASSERT_TRUE(Type(&page, kPoleEdit, c.typed));
        ASSERT_TRUE(Click(&page, sensor_ids::kMonitoring)) << c.name;
        AdvanceMs(500);
        EXPECT_EQ(page.m_nPole, c.pole) << c.name;
        EXPECT_EQ(Text(page, kPoleEdit).str(), std::to_string(c.pole)) << c.name;
        EXPECT_STREQ(Text(page, kSpeedEdit), c.speed) << c.name;
        EXPECT_TRUE(modal.MessageTexts().empty()) << c.name;
        ASSERT_TRUE(Click(&page, sensor_ids::kMonitoring)) << c.name;
    }
    EXPECT_STREQ(Text(page, kVoltageEdit), "12.34");
    EXPECT_STREQ(Text(page, kCurrentEdit), "10");
    EXPECT_STREQ(Text(page, kConsumptionEdit), "321");
    EXPECT_STREQ(Text(page, kTemperatureEdit), "255");

    // Configure reads the edits too.
    bus->SetReceiverMode(false);
    ASSERT_TRUE(Type(&page, kPoleEdit, "3 poles"));
    modal.Clear();
    ASSERT_TRUE(Click(&page, sensor_ids::kConfigure));
    AdvanceMs(500);
    EXPECT_TRUE(modal.MessageTexts().empty());
    EXPECT_EQ(page.m_nPole, 3);
    EXPECT_STREQ(Text(page, kPoleEdit), "3");
}

}  // namespace

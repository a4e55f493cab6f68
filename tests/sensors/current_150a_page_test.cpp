// What the 150 A current page has of its own: its data IDs, its value edit and its hints.

#include <cstdlib>

#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;

class Current150PageTest : public SensorPageTest {
  protected:
    void SetUp() override {
        SensorPageTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        bus->AddDevice(*sim::FindKind("current150"), 2, 6);
        StartOn(std::make_shared<SimVirtualLine>(bus), kCurrent150Item);
    }
    CSensor_CurrentHDlg& page = g_sensorCurrentH;
    std::shared_ptr<sim::Bus> bus;
};

TEST_F(Current150PageTest, ConfigureFillsTheCurrentAndReadAddressesTheCurrentStream) {
    ConfigureAndWait(page);
    EXPECT_EQ(page.m_nAppId, 6);
    EXPECT_EQ(page.m_nPhysIdIndex, 2);
    EXPECT_GT(page.m_dCurrent, 0.0);
    EXPECT_NEAR(std::atof(Text(page, 1059)), page.m_dCurrent, 1e-9) << "the edit shows the value";
    modal.Clear();
    std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(1000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"Successful operation！"});
    EXPECT_STREQ(Text(page, kDataRateEdit), "500");
    for (std::size_t i = first; i < wire->frames.size(); ++i)
        if (!wire->frames[i].poll) EXPECT_EQ(wire->frames[i].dataId, 0x0206);
}

TEST_F(Current150PageTest, HintsNameTheSensorsOwnDefaults) {
    ASSERT_TRUE(MoveMouseOver(&page, kPhysIdLabel));
    EXPECT_STREQ(Text(page, kHint), "Physical ID:    Range:0-27    Default:2");
    ASSERT_TRUE(MoveMouseOver(&page, kDataRateLabel));
    EXPECT_STREQ(Text(page, kHint), "Data Rate:    Range:100-25500ms    Default:500ms");
    ASSERT_TRUE(MoveMouseOver(&page, 1059));
    EXPECT_STREQ(Text(page, kHint), "Current:    Range:0.1-150.0A    Precise:0.1A");
}

}  // namespace

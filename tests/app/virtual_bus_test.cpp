// The program's bus operations against the simulated bus on a virtual COM port: the path every
// page scenario takes, on the virtual clock.

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "bus/serial_exception.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/app_harness.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;

class VirtualBusTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        bus->AddDevice(*sim::FindKind("airspeed"), 5, 0);
        BindPort(4, std::make_shared<SimVirtualLine>(bus));
        StartMainWindow();
        OpenPort();
    }
    bus::Body PollAndWait(int physId, int ms) {
        unsigned char poll[2] = {0x7E, bus::kPhysIdTable[physId]};
        CKestrovaDlg::SendBusFrame(poll, 2);
        AdvanceMs(ms);
        bus::Body body{};
        CKestrovaDlg::ReadBusFrame(body.data());
        return body;
    }
    std::shared_ptr<sim::Bus> bus;
};

TEST_F(VirtualBusTest, AnswersArriveAfterWireTimeOnTheVirtualClock) {
    ASSERT_TRUE(g_serialPort.IsOpen());
    bus::Body early = PollAndWait(5, 0);
    EXPECT_EQ(early, bus::Body{}) << "nothing can have crossed the wire yet";
    CKestrovaDlg::PurgePort();
    bus::Body answer = PollAndWait(5, 10);
    EXPECT_EQ(answer[0], 0x10);
    EXPECT_EQ(answer[2], 0x0A);
}

TEST_F(VirtualBusTest, VanishedAdapterFailsTheReadInsteadOfHanging) {
    bus->SetFault(sim::BusFault::kPortGone, true, platform::Now());
    unsigned char body[8] = {};
    try {
        CKestrovaDlg::ReadBusFrame(body);
        FAIL() << "reading from a vanished adapter must fail";
    } catch (CSerialException* e) {
        char text[128];
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof text, nullptr));
        EXPECT_STREQ(text, "The device is not connected.");
        e->Delete();
    }
}

}  // namespace

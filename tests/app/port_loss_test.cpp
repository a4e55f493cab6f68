// A port that goes away while the program uses it, on virtual ports and the virtual clock: the
// only port removed, or failing without any device event, during a Read, a Write, the Configure
// scan or Monitoring. The user must meet at most one box, none after it, the window back in its
// closed state with every lamp off, and the port listed and usable again when it comes back.

#include <unistd.h>

#include <cctype>
#include <functional>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/bitmaps.h"
#include "platform/device_events.h"
#include "platform/timer_service.h"
#include "platform/virtual_port.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/app_harness.h"
#include "support/os_pty.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;

constexpr int kAirSpeedItem = 3;
constexpr UINT kLampOff = 229;
constexpr UINT kLampOn = 228;
// The user takes a while to read a box; the program's timers would run meanwhile.
constexpr platform::Micros kBoxOpen = 3'000'000;

std::vector<CSensorPage*> SensorPages() {
    return {&g_sensorAirSpeed, &g_sensorCurrentH,       &g_sensorCurrentL,
            &g_sensorGPS,      &g_sensorLipoVoltage,    &g_sensorRedundancyBus,
            &g_sensorRPM,      &g_sensorQWireToUART,    &g_sensorVariometer,
            &g_sensorFuelKit,  &g_sensorSteeringEngine, &g_sensorReserve1,
            &g_sensorReserve2};
}

// What the user was doing when the port went away.
enum class Doing { kRead, kWrite, kConfigureScan, kMonitoring };

class PortLossTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BindSimulator();
    }
    void BindSimulator(bool announce = false) {
        bus = std::make_shared<sim::Bus>();
        bus->AddDevice(*sim::FindKind("airspeed"), 9, 3);
        platform::BindVirtualPort(4, std::make_shared<SimVirtualLine>(bus), announce);
    }
    // The main window with COM4 open and the air-speed page shown.
    void StartOnPage() {
        StartMainWindow();
        OpenPort();
        ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[kAirSpeedItem]));
    }
    // Configure confirmed and its first progress run over: the scan runs and found the sensor.
    void Configure() {
        ASSERT_TRUE(Click(&page, 1100));
        AdvanceMs(140 * 46 + 10);
        ASSERT_EQ(page.m_nPhysIdIndex, 9);
    }
    // Brings the program to `doing`, a little way into it.
    void StartDoing(Doing doing) {
        StartOnPage();
        if (doing == Doing::kMonitoring) {
            ASSERT_TRUE(Click(&page, 1099));
        } else {
            Configure();
            if (doing == Doing::kWrite) {
                ASSERT_TRUE(Click(&page, 1101));  // a Read first: it unlocks Write
                AdvanceMs(140 * 16 + 10);
                ASSERT_TRUE(Click(&page, 1102));
            }
            if (doing == Doing::kRead) ASSERT_TRUE(Click(&page, 1101));
        }
        AdvanceMs(25);
        modal.Clear();
    }
    bool AnyBusTimerRunning() {
        auto& timers = platform::TimerService::Instance();
        for (UINT_PTR id = 0; id <= main_timers::kLast; ++id)
            if (timers.IsRunning(&main(), id)) return true;
        for (CSensorPage* p : SensorPages())
            for (UINT_PTR id = 0; id <= 7; ++id)
                if (timers.IsRunning(p, id)) return true;
        return false;
    }
    UINT LampBitmap(CSensorPage& p) {
        CWnd* lamp = p.GetDlgItem(1228);
        return platform::BitmapResourceId(
            reinterpret_cast<HBITMAP>(lamp->SendMessage(STM_GETIMAGE, IMAGE_BITMAP)));
    }
    std::vector<std::string> ComboItems() {
        std::vector<std::string> items;
        for (int i = 0; i < main().m_comboPort.GetCount(); ++i) {
            CString t;
            main().m_comboPort.GetLBText(i, t);
            items.push_back(t.str());
        }
        return items;
    }
    // The window as the Close button leaves it, with nothing left running on the bus.
    ::testing::AssertionResult InClosedState() {
        CString open;
        main().GetDlgItemText(1002, open);
        if (open != "Open") return ::testing::AssertionFailure() << "button reads " << open.str();
        if (!main().GetDlgItem(1002)->IsWindowEnabled())
            return ::testing::AssertionFailure() << "Open is disabled";
        if (!main().m_comboPort.IsWindowEnabled())
            return ::testing::AssertionFailure() << "the port list is disabled";
        if (main().m_bPortOpen || g_serialPort.IsOpen())
            return ::testing::AssertionFailure() << "the port is still open";
        if (!main().m_treeDevices.IsWindowEnabled() || !main().m_tabPages.IsWindowEnabled())
            return ::testing::AssertionFailure() << "tree or tab locked";
        if (AnyBusTimerRunning()) return ::testing::AssertionFailure() << "a bus timer runs";
        for (CSensorPage* p : SensorPages())
            if (p->m_nConnState != 0)
                return ::testing::AssertionFailure() << "a lamp of page " << p->TemplateId();
        if (LampBitmap(page) != kLampOff) return ::testing::AssertionFailure() << "lamp shown on";
        for (int id : {1099, 1100, 1101, 1102, 1103})
            if (page.GetDlgItem(id)->IsWindowEnabled())
                return ::testing::AssertionFailure() << "page button " << id << " enabled";
        return ::testing::AssertionSuccess();
    }
    // COM4 back, announced: listed again, and Open opens it.
    void ExpectPortBackAndUsable() {
        BindSimulator(/*announce=*/true);
        EXPECT_EQ(ComboItems(), std::vector<std::string>{"COM4"});
        ASSERT_TRUE(Click(&main(), 1002));
        CString close;
        main().GetDlgItemText(1002, close);
        EXPECT_STREQ(close, "Close");
        EXPECT_TRUE(g_serialPort.IsOpen());
    }

    std::shared_ptr<sim::Bus> bus;
    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
};

struct Case {
    const char* name;
    Doing doing;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
}

class PortRemovedDuring : public PortLossTest, public ::testing::WithParamInterface<Case> {};

TEST_P(PortRemovedDuring, TheOnlyPortLeavesOneBoxAndTheClosedState) {
    StartDoing(GetParam().doing);
    modal.Answer({IDOK, "", kBoxOpen});
    platform::UnbindVirtualPort(4, /*announce=*/true);
    AdvanceMs(5000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"No serial port found"});
    EXPECT_TRUE(InClosedState());
    ExpectPortBackAndUsable();
}

INSTANTIATE_TEST_SUITE_P(Operations, PortRemovedDuring,
                         ::testing::Values(Case{"Read", Doing::kRead}, Case{"Write", Doing::kWrite},
                                           Case{"Configure scan", Doing::kConfigureScan}),
                         CaseName);

class PortFailsDuring : public PortLossTest, public ::testing::WithParamInterface<Case> {};

TEST_P(PortFailsDuring, WithoutAnyDeviceEventOneBoxSaysWhyAndTheWindowIsClosed) {
    StartDoing(GetParam().doing);
    modal.Answer({IDOK, "", kBoxOpen});
    bus->SetFault(sim::BusFault::kPortGone, true, platform::Now());
    AdvanceMs(5000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"The device is not connected."});
    EXPECT_TRUE(InClosedState());
    ExpectPortBackAndUsable();
}

INSTANTIATE_TEST_SUITE_P(Operations, PortFailsDuring,
                         ::testing::Values(Case{"Read", Doing::kRead},
                                           Case{"Configure scan", Doing::kConfigureScan},
                                           Case{"Monitoring", Doing::kMonitoring}),
                         CaseName);

TEST_F(PortLossTest, APortThatFailsWhileTheUserReadsABoxTellsWhyAfterItNotOverIt) {
    StartOnPage();
    Configure();
    int open = 0;
    bool stacked = false;
    modal.AnswerWith([&](const platform::ModalRecord& r) {
        stacked = stacked || open > 0;
        ++open;
        if (r.text == "Successful operation！") {
            // While the user reads it the progress run ends and the scan starts again; then the
            // adapter is pulled.
            AdvanceMs(500);
            bus->SetFault(sim::BusFault::kPortGone, true, platform::Now());
            AdvanceMs(500);
        }
        --open;
        return platform::ModalAnswer{IDOK};
    });
    modal.Clear();
    ASSERT_TRUE(Click(&page, 1101));
    AdvanceMs(5000);
    EXPECT_FALSE(stacked);
    EXPECT_EQ(modal.MessageTexts(),
              (std::vector<std::string>{"Successful operation！", "The device is not connected."}));
    EXPECT_TRUE(InClosedState());
}

TEST_F(PortLossTest, TheLampGoesOffWhenThePortIsClosedOrRemoved) {
    StartOnPage();
    Configure();
    ASSERT_EQ(LampBitmap(page), kLampOn);
    ASSERT_TRUE(Click(&page, 1100));  // Configure off: the port stays open, the lamp as it was
    EXPECT_EQ(LampBitmap(page), kLampOn);
    ASSERT_TRUE(Click(&main(), 1002));  // Close
    EXPECT_EQ(page.m_nConnState, 0);
    EXPECT_EQ(LampBitmap(page), kLampOff);

    ASSERT_TRUE(Click(&main(), 1002));
    Configure();
    ASSERT_EQ(LampBitmap(page), kLampOn);
    platform::UnbindVirtualPort(4, /*announce=*/true);
    EXPECT_EQ(page.m_nConnState, 0);
    EXPECT_EQ(LampBitmap(page), kLampOff);
}

// A real directory entry and real ptys: the device dies without any event (its link dangles, as
// after a simulator killed with SIGKILL), and while the failure box is open a new device takes
// the same name.
TEST_F(PortLossTest, AComEntryReplacedWhileTheFailureBoxIsOpenIsListedAndOpens) {
    TempNamespace ns;
    auto first = std::make_unique<PtyPair>();
    ns.Publish(3, first->slavePath());
    platform::UnbindAllVirtualPorts();
    platform::StartDeviceWatch();
    StartMainWindow();
    ASSERT_EQ(ComboItems(), std::vector<std::string>{"COM3"});
    OpenPort();
    main().SetTimer(main_timers::kScan, 4);

    PtyPair second;
    std::size_t listedInBox = 0;
    modal.AnswerWith([&](const platform::ModalRecord&) {
        ns.Withdraw(3);
        ns.Publish(3, second.slavePath());
        const unsigned before = main().m_deviceChangeCount;
        for (int i = 0; i < 400 && main().m_deviceChangeCount < before + 2; ++i) {
            ProcessEvents();
            usleep(5000);
        }
        listedInBox = ComboItems().size();
        return platform::ModalAnswer{IDOK};
    });
    first->CloseMaster();
    AdvanceMs(100);
    platform::StopDeviceWatch();

    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"The device is not connected."});
    EXPECT_EQ(listedInBox, 1u) << "the new device is listed while the box is open";
    EXPECT_TRUE(InClosedState());
    EXPECT_EQ(ComboItems(), std::vector<std::string>{"COM3"});
    ASSERT_TRUE(Click(&main(), 1002));
    EXPECT_TRUE(g_serialPort.IsOpen());
    EXPECT_EQ(modal.MessageTexts().size(), 1u);
}

}  // namespace

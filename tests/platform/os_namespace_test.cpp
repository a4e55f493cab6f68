// Port names: explicit namespace entries, automatic numbering of serial devices, and device
// arrival and removal when entries come and go.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/device_events.h"
#include "platform/port_namespace.h"
#include "support/os_pty.h"

namespace fs = std::filesystem;

namespace {

using kestrova::test::TempNamespace;

TEST(PortNames, OnlyComWithAPositiveNumberIsAPort) {
    EXPECT_EQ(platform::ParsePortName("COM1"), 1);
    EXPECT_EQ(platform::ParsePortName("COM32"), 32);
    EXPECT_EQ(platform::ParsePortName("\\\\.\\COM10"), 10);
    EXPECT_FALSE(platform::ParsePortName("COM0"));
    EXPECT_FALSE(platform::ParsePortName("COM01"));
    EXPECT_FALSE(platform::ParsePortName("COM"));
    EXPECT_FALSE(platform::ParsePortName("COM1x"));
    EXPECT_FALSE(platform::ParsePortName("LPT1"));
}

TEST(PortNames, DirectoryComesFromTheEnvironmentOrHome) {
    TempNamespace ns;
    EXPECT_EQ(platform::PortNamespaceDirectory(), ns.dir());
    setenv("KESTROVA_DEVICES", "", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(platform::PortNamespaceDirectory(), "/home/someone/.kestrova/devices");
}

// A made-up /dev and /sys/class/tty.
class DeviceScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = ns.dir() + "-scan";
        fs::create_directories(root + "/dev");
        for (const char* n :
             {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyUSBx", "tty1"})
            std::ofstream(root + "/dev/" + n);
        Uart("ttyS0", 4);
        Uart("ttyS1", 0);  // a slot with no UART behind it
        platform::SetDeviceScanRoots(root + "/dev", root + "/sys");
    }
    void TearDown() override {
        platform::SetDeviceScanRoots("", "");
        fs::remove_all(root);
    }
    void Uart(const std::string& name, int type) {
        fs::create_directories(root + "/sys/" + name);
        std::ofstream(root + "/sys/" + name + "/type") << type << "\n";
    }
    TempNamespace ns;
    std::string root;
};

TEST_F(DeviceScanTest, ExplicitEntriesFirstThenUsbAcmAndRealUartsOnFreeNumbers) {
    ns.Publish(1, "/dev/pts/77");
    ns.Publish(3, root + "/dev/ttyUSB2");  // already named: not numbered again
    std::vector<std::pair<int, std::string>> got;
    for (const auto& p : platform::ListPorts())
        got.emplace_back(p.number, p.explicitEntry ? "explicit" : p.path.substr(root.size()));
    std::vector<std::pair<int, std::string>> want = {
        {1, "explicit"},     {2, "/dev/ttyUSB10"}, {3, "explicit"},
        {4, "/dev/ttyACM0"}, {5, "/dev/ttyS0"},
    };
    EXPECT_EQ(got, want);
    EXPECT_EQ(platform::ResolvePort(1), ns.dir() + "/COM1");
    EXPECT_EQ(platform::ResolvePort(5), root + "/dev/ttyS0");
    EXPECT_FALSE(platform::ResolvePort(6));
}

TEST_F(DeviceScanTest, NumbersFollowTheDevicesNumericOrder) {
    std::vector<std::string> paths;
    for (const auto& p : platform::ListPorts()) paths.push_back(p.path.substr(root.size()));
    EXPECT_EQ(paths, (std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0",
                                               "/dev/ttyS0"}));
}

class NamespaceWatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) app = new QCoreApplication(argc, argv);
        platform::SetDeviceChangeSink([this](UINT e) { events.push_back(e); });
    }
    void TearDown() override {
        platform::StopDeviceWatch();
        platform::SetDeviceChangeSink(nullptr);
    }
    // Pumps the event loop until `count` events came, or `ms` passed.
    void PumpFor(std::size_t count, int ms = 2000) {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (events.size() < count && std::chrono::steady_clock::now() < until) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        QCoreApplication::processEvents();
    }
    QCoreApplication* app = nullptr;
    std::vector<UINT> events;
};

TEST_F(NamespaceWatchTest, EntriesArrivingAndLeavingAreDeviceEvents) {
    TempNamespace ns;
    platform::StartDeviceWatch();
    ns.Publish(4, "/dev/null");
    PumpFor(1);
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEARRIVAL}));
    events.clear();
    std::ofstream(ns.dir() + "/notes.txt") << "not a port";
    ns.Withdraw(4);
    PumpFor(1);
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEREMOVECOMPLETE}));
}

TEST_F(NamespaceWatchTest, NamespaceCreatedAfterTheStartIsStillWatched) {
    TempNamespace parent;
    std::string dir = parent.dir() + "/later/devices";
    setenv("KESTROVA_DEVICES", dir.c_str(), 1);
    platform::StartDeviceWatch();
    fs::create_directories(dir);
    PumpFor(1, 200);  // let the watcher move down to the new directory
    fs::create_symlink("/dev/null", dir + "/COM2");
    PumpFor(1);
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEARRIVAL}));
}

TEST_F(NamespaceWatchTest, AnEntryReplacedUnderTheSameNameIsRemovalAndArrival) {
    TempNamespace ns;
    ns.Publish(4, "/dev/null");
    platform::StartDeviceWatch();
    // A simulator started again, or another adapter behind the same name: the old link goes and
    // a new one takes its name at once.
    ns.Withdraw(4);
    ns.Publish(4, "/dev/zero");
    PumpFor(2);
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEARRIVAL}));
    events.clear();
    // Even to the same target, a new link is a new device.
    ns.Withdraw(4);
    ns.Publish(4, "/dev/zero");
    PumpFor(2);
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEARRIVAL}));
}

TEST_F(NamespaceWatchTest, AChangeWhileAnEventIsBeingHandledIsNotLost) {
    TempNamespace ns;
    platform::StartDeviceWatch();
    // The first event's handler opens a box, whose loop runs while a second port appears.
    bool inBox = false;
    std::size_t seenInBox = 0;
    platform::SetDeviceChangeSink([&](UINT e) {
        events.push_back(e);
        if (events.size() != 1 || inBox) return;
        inBox = true;
        ns.Publish(5, "/dev/zero");
        PumpFor(2);
        seenInBox = events.size();
        inBox = false;
    });
    ns.Publish(4, "/dev/null");
    PumpFor(2);
    EXPECT_EQ(seenInBox, 2u) << "the new port is noticed while the box is open";
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEARRIVAL, DBT_DEVICEARRIVAL}));
    ns.Withdraw(5);
    PumpFor(3);
    EXPECT_EQ(events,
              std::vector<UINT>({DBT_DEVICEARRIVAL, DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE}));
}

TEST_F(NamespaceWatchTest, PollingReportsAChangeAtOnce) {
    TempNamespace ns;
    ns.Publish(4, "/dev/null");
    platform::StartDeviceWatch();
    ns.Withdraw(4);
    platform::PollDeviceChanges();
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEREMOVECOMPLETE}));
    PumpFor(2, 200);
    EXPECT_EQ(events.size(), 1u) << "reported once";
}

}  // namespace

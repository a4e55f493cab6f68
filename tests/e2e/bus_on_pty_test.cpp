// The main window's bus operations on a real pseudo-terminal, against kestrova-sim running as
// its own process: polls, requests and answers as they cross a tty in real time.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "platform/port_namespace.h"
#include "support/sim_process.h"
#include "support/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using kestrova::test::SimProcess;

class BusOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kestrova-e2e-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    }
    void TearDown() override {
        g_serialPort.Close();
        sim.reset();
        fs::remove_all(dir);
    }
    void StartSim(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", "COM7"});
        sim = std::make_unique<SimProcess>(dir, args);
        ASSERT_EQ(sim->Line(), "COM7");
        ASSERT_FALSE(sim->Line().empty());
        g_serialPort.Open("COM7", 57600, 0, 8, 0, 0, FALSE);
        ASSERT_TRUE(g_serialPort.IsOpen());
    }
    static void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // Until `n` bytes wait on the port; a busy machine may take its time.
    static void WaitForBytes(DWORD n, int deadlineMs = 5000) {
        kestrova::test::WaitUntil([n] { return g_serialPort.BytesWaiting() >= n; }, deadlineMs);
    }
    // One poll and what has arrived after it: its echo and the answer, when one comes.
    static bus::Body Poll(int physId, int deadlineMs = 5000) {
        unsigned char poll[2] = {0x7E, bus::kPhysIdTable[physId]};
        CKestrovaDlg::SendBusFrame(poll, 2);
        WaitForBytes(bus::kPollLength + bus::kBodyLength, deadlineMs);
        bus::Body body{};
        CKestrovaDlg::ReadBusFrame(body.data());
        return body;
    }
    static void Request(BYTE type, int dataId, BYTE param, unsigned value = 0) {
        unsigned char frame[10] = {0x7E,
                                   0x1C,
                                   type,
                                   static_cast<BYTE>(dataId),
                                   static_cast<BYTE>(dataId >> 8),
                                   param,
                                   static_cast<BYTE>(value),
                                   static_cast<BYTE>(value >> 8),
                                   static_cast<BYTE>(value >> 16),
                                   0x55};
        CKestrovaDlg::SendBusFrame(frame, 10);
        WaitForBytes(bus::kFrameLength);  // its echo
        EXPECT_NE(frame[9], 0x55) << "the checksum replaced the caller's byte";
        CKestrovaDlg::PurgePort();  // the echo of the request
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(BusOnPty, PollAnswersWithTelemetryAndConfigurationAccessAnswersReads) {
    StartSim({"--device", "airspeed@5:2"});
    bus::Body t = Poll(5);
    EXPECT_EQ(t[0], 0x10);
    EXPECT_EQ(t[1], 0x02);
    EXPECT_EQ(t[2], 0x0A);

    Request(0x21, 0x0A02, 0);
    Poll(5);
    Poll(5);
    Request(0x30, 0x0A02, 0x0D);
    bus::Body a = Poll(5);
    EXPECT_EQ(a[0], 0x32);
    EXPECT_EQ(a[3], 0x0D);
    EXPECT_EQ(a[4], 2) << "the application ID read back";

    // A write moves the sensor at once; the next reads find it at its new ID.
    Request(0x31, 0x0A02, 0x01, 9);
    Request(0x30, 0x0A02, 0x01);
    bus::Body moved = Poll(9);
    EXPECT_EQ(moved[0], 0x32);
    EXPECT_EQ(moved[4], 9);
    EXPECT_EQ(Poll(5, 300)[0], 0) << "nobody answers at the old ID";
    Request(0x20, 0x0A02, 0);
    EXPECT_EQ(Poll(9)[0], 0x10) << "after leaving, it streams again";
}

TEST_F(BusOnPty, BacklogBeyondTwoThousandBytesIsPurgedUnread) {
    StartSim({"--device", "airspeed@5:0", "--fault", "flood"});
    unsigned char poll[2] = {0x7E, bus::kPhysIdTable[5]};
    CKestrovaDlg::SendBusFrame(poll, 2);
    WaitForBytes(2001, 30'000);  // 2,100 bytes take about 365 ms at 57600 baud
    ASSERT_GT(g_serialPort.BytesWaiting(), 2000u);
    bus::Body body;
    body.fill(0xAA);
    CKestrovaDlg::ReadBusFrame(body.data());
    EXPECT_EQ(body, bus::Body{}) << "eight zero bytes";
    EXPECT_LT(g_serialPort.BytesWaiting(), 2000u) << "the backlog went with the purge";
}

TEST_F(BusOnPty, SilenceLeavesTheCallersBodyAlone) {
    StartSim({"--device", "airspeed@5:0", "--fault", "silent"});
    unsigned char poll[2] = {0x7E, bus::kPhysIdTable[5]};
    CKestrovaDlg::SendBusFrame(poll, 2);
    Wait(20);
    CKestrovaDlg::PurgePort();
    bus::Body body;
    body.fill(0x5A);
    CKestrovaDlg::ReadBusFrame(body.data());
    bus::Body untouched;
    untouched.fill(0x5A);
    EXPECT_EQ(body, untouched);
}

}  // namespace

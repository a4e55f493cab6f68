// The communications calls on real pseudo-terminals published in a temporary port namespace,
// and on virtual lines.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/device_events.h"
#include "platform/virtual_port.h"
#include "platform/win32_comm.h"
#include "support/os_pty.h"

namespace {

using kestrova::test::PtyPair;
using kestrova::test::TempNamespace;

HANDLE OpenPort(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void Set57600(HANDLE h) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(h, &dcb));
    dcb.BaudRate = 57600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    ASSERT_TRUE(SetCommState(h, &dcb)) << GetLastError();
}

DWORD Waiting(HANDLE h) {
    COMSTAT st{};
    DWORD errors = 0;
    EXPECT_TRUE(ClearCommError(h, &errors, &st)) << GetLastError();
    return st.cbInQue;
}

// Bytes written to a pty master reach the slave's queue a moment later.
bool WaitForBytes(HANDLE h, DWORD count) {
    for (int i = 0; i < 200; ++i) {
        if (Waiting(h) >= count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::string ReadNow(HANDLE h, DWORD count) {
    std::string buf(count, '\0');
    DWORD n = 0;
    EXPECT_TRUE(ReadFile(h, buf.data(), count, &n, nullptr)) << GetLastError();
    buf.resize(n);
    return buf;
}

class PtyPortTest : public ::testing::Test {
  protected:
    void SetUp() override { ns.Publish(5, pty.slavePath()); }
    TempNamespace ns;
    PtyPair pty;
};

TEST_F(PtyPortTest, ReadsOnlyWhatWaitsAndWritesReachTheDevice) {
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    Set57600(h);
    EXPECT_EQ(Waiting(h), 0u);
    EXPECT_EQ(ReadNow(h, 16), "") << "nothing waiting reads nothing, at once";

    pty.Send("hello");
    ASSERT_TRUE(WaitForBytes(h, 5));
    EXPECT_EQ(Waiting(h), 5u);
    EXPECT_EQ(ReadNow(h, 3), "hel");
    EXPECT_EQ(Waiting(h), 2u);
    EXPECT_EQ(ReadNow(h, 100), "lo");

    std::string binary("\x7e\x00\x1b\xff\x0a\x0d", 6);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, binary.data(), 6, &written, nullptr));
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(pty.Receive(6), binary) << "raw mode: no byte is translated";
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(PtyPortTest, PurgeDropsWaitingInput) {
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Set57600(h);
    pty.Send("stale bytes");
    ASSERT_TRUE(WaitForBytes(h, 11));
    EXPECT_TRUE(PurgeComm(h, PURGE_RXCLEAR));
    EXPECT_EQ(Waiting(h), 0u);
    EXPECT_TRUE(PurgeComm(h, PURGE_TXCLEAR));
    pty.Send("new");
    ASSERT_TRUE(WaitForBytes(h, 3));
    EXPECT_EQ(ReadNow(h, 10), "new");
    CloseHandle(h);
}

TEST_F(PtyPortTest, HeldPortIsRefusedHereAndInAnotherProcess) {
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort("COM5"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    pid_t child = fork();
    if (child == 0) {
        HANDLE other = OpenPort("COM5");
        _exit(other == INVALID_HANDLE_VALUE ? static_cast<int>(GetLastError()) : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(ERROR_ACCESS_DENIED));

    CloseHandle(h);
    HANDLE again = OpenPort("COM5");
    EXPECT_NE(again, INVALID_HANDLE_VALUE) << "closing releases the port";
    CloseHandle(again);
}

TEST_F(PtyPortTest, ClosedAndMadeUpHandlesAreRefused) {
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    DWORD n = 0;
    char buf[4];
    EXPECT_FALSE(ReadFile(h, buf, 4, &n, nullptr));
    EXPECT_FALSE(ClearCommError(INVALID_HANDLE_VALUE, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(PurgeComm(reinterpret_cast<HANDLE>(0x1234), PURGE_RXCLEAR));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(PtyPortTest, SettingsThePtyCannotCarryAreRefusedAndUndone) {
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Set57600(h);
    DCB dcb{};
    ASSERT_TRUE(GetCommState(h, &dcb));
    EXPECT_EQ(dcb.BaudRate, 57600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);

    DCB odd = dcb;
    odd.Parity = ODDPARITY;
    EXPECT_FALSE(SetCommState(h, &odd)) << "a pty carries no parity bit";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DCB dsr = dcb;
    dsr.fOutxDsrFlow = 1;
    EXPECT_FALSE(SetCommState(h, &dsr));
    DCB badRate = dcb;
    badRate.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(h, &badRate));

    DCB now{};
    ASSERT_TRUE(GetCommState(h, &now));
    EXPECT_EQ(now.BaudRate, 57600u);
    EXPECT_EQ(now.Parity, NOPARITY);
    CloseHandle(h);
}

TEST_F(PtyPortTest, MissingPortsAreNotFound) {
    EXPECT_EQ(OpenPort("COM31"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ns.Publish(6, "/nonexistent/tty");
    EXPECT_EQ(OpenPort("COM6"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenPort("LPT1"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(PtyPortTest, VanishingDeviceFailsTheReadingLoopInsteadOfHanging) {
    HANDLE h = OpenPort("COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Set57600(h);
    std::atomic<bool> failed{false};
    std::atomic<DWORD> error{0};
    std::thread reader([&] {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        char buf[64];
        while (std::chrono::steady_clock::now() < until) {
            COMSTAT st{};
            DWORD n = 0;
            if (!ClearCommError(h, nullptr, &st) || !ReadFile(h, buf, sizeof buf, &n, nullptr)) {
                error = GetLastError();
                failed = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    pty.Send("some");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.CloseMaster();
    reader.join();
    EXPECT_TRUE(failed) << "the reading loop ran to its time-out";
    EXPECT_EQ(error.load(), ERROR_DEVICE_NOT_CONNECTED);
    char buf[4];
    DWORD n = 0;
    EXPECT_FALSE(ReadFile(h, buf, 4, &n, nullptr));
    EXPECT_FALSE(PurgeComm(h, PURGE_RXCLEAR));
    EXPECT_TRUE(CloseHandle(h)) << "a vanished port still closes";
}

// A line that answers each written byte with its successor after 1 ms of its clock.
class EchoLine : public platform::VirtualLine {
  public:
    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        for (std::size_t i = 0; i < n; ++i) pending.push_back({now + 1000, data[i] + 1});
        written.insert(written.end(), data, data + n);
    }
    std::size_t Available(platform::Micros now) override {
        std::size_t k = 0;
        while (k < pending.size() && pending[k].first <= now) ++k;
        return k;
    }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros now) override {
        std::size_t k = std::min(max, Available(now));
        for (std::size_t i = 0; i < k; ++i) out[i] = static_cast<std::uint8_t>(pending[i].second);
        pending.erase(pending.begin(), pending.begin() + static_cast<long>(k));
        return k;
    }
    void DiscardInput(platform::Micros now) override { pending.clear(); }
    bool Present() const override { return present; }

    std::vector<std::pair<platform::Micros, int>> pending;
    std::vector<std::uint8_t> written;
    bool present = true;
};

class VirtualPortTest : public ::testing::Test {
  protected:
    void TearDown() override {
        platform::UnbindAllVirtualPorts();
        platform::SetDeviceChangeSink(nullptr);
    }
};

TEST_F(VirtualPortTest, BoundLineTakesPrecedenceAndVanishesLikeAnAdapter) {
    TempNamespace ns;
    PtyPair pty;
    ns.Publish(3, pty.slavePath());
    auto line = std::make_shared<EchoLine>();
    platform::BindVirtualPort(3, line);
    HANDLE h = OpenPort("COM3");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort("COM3"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    Set57600(h);

    DWORD n = 0;
    const std::uint8_t out[] = {0x10, 0x20};
    ASSERT_TRUE(WriteFile(h, out, 2, &n, nullptr));
    EXPECT_EQ(line->written, std::vector<std::uint8_t>({0x10, 0x20})) << "not the pty";
    auto start = platform::Now();
    while (Waiting(h) < 2 && platform::Now() - start < 1'000'000) {
    }
    std::uint8_t in[4] = {};
    ASSERT_TRUE(ReadFile(h, in, 4, &n, nullptr));
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(in[0], 0x11);

    line->present = false;
    EXPECT_FALSE(ReadFile(h, in, 4, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_FALSE(ClearCommError(h, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
    line->present = true;
    platform::UnbindVirtualPort(3);
    EXPECT_FALSE(PurgeComm(h, PURGE_RXCLEAR)) << "an unbound line is gone too";
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(VirtualPortTest, BindingAnnouncesOnlyWhenAsked) {
    std::vector<UINT> events;
    platform::SetDeviceChangeSink([&](UINT e) { events.push_back(e); });
    platform::BindVirtualPort(4, std::make_shared<EchoLine>());
    platform::BindVirtualPort(5, std::make_shared<EchoLine>(), true);
    platform::UnbindVirtualPort(5, true);
    platform::UnbindVirtualPort(6, true);
    EXPECT_EQ(events, std::vector<UINT>({DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE}));
}

TEST(SystemMessages, KnownCodesHaveTextsUnknownOnesFail) {
    char* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD len = FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, 0x0800,
                               reinterpret_cast<char*>(&text), 0, nullptr);
    ASSERT_GT(len, 0u);
    EXPECT_STREQ(text, "Access is denied.");
    EXPECT_EQ(len, std::strlen(text));
    LocalFree(text);
    EXPECT_EQ(FormatMessageA(flags, nullptr, 0xDEAD, 0, reinterpret_cast<char*>(&text), 0, nullptr),
              0u);
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);

    char small[5];
    EXPECT_STREQ(lstrcpynA(small, "abcdefgh", 5), "abcd");
}

}  // namespace

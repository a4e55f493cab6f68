// The port wrapper's open, close, transfer and error behaviour on pseudo-terminals.

#include "bus/serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "support/os_pty.h"

namespace {

using kestrova::test::PtyPair;
using kestrova::test::TempNamespace;

// Runs `op`, which must throw CSerialException*, and returns its code.
template <class Op>
DWORD ThrownCode(Op op) {
    try {
        op();
    } catch (CSerialException* e) {
        DWORD code = e->m_dwErrorCode;
        e->Delete();
        return code;
    }
    ADD_FAILURE() << "nothing was thrown";
    return 0;
}

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override { ns.Publish(3, pty.slavePath()); }
    TempNamespace ns;
    PtyPair pty;
    CSerialPort port;
};

TEST_F(SerialPortTest, OpensAsTheProgramDoesAndTransfers) {
    port.Open("COM3", 57600, 0, 8, 0, 0, FALSE);
    ASSERT_TRUE(port.IsOpen());
    DCB dcb{};
    port.GetState(dcb);
    EXPECT_EQ(dcb.BaudRate, 57600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_FALSE(dcb.fOutxCtsFlow || dcb.fOutX || dcb.fInX);

    EXPECT_EQ(port.Write("\x7e\x1b", 2), 2u);
    EXPECT_EQ(pty.Receive(2), "\x7e\x1b");
    pty.Send("abcdef");
    for (int i = 0; i < 200 && port.BytesWaiting() < 6; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    char buf[8] = {};
    EXPECT_EQ(port.Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "abcd");
    port.ClearReadBuffer();
    port.ClearWriteBuffer();
    EXPECT_EQ(port.BytesWaiting(), 0u);

    port.Open("COM3");  // a second open closes first, so the port is not "held"
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(SerialPortTest, CloseIsHarmlessWhenClosedAndRepeated) {
    port.Close();
    port.Open("COM3");
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.GetHandle(), INVALID_HANDLE_VALUE);
}

TEST_F(SerialPortTest, EveryFailedOpenLeavesItClosed) {
    EXPECT_EQ(ThrownCode([&] { port.Open("COM9"); }), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(port.IsOpen());

    CSerialPort holder;
    holder.Open("COM3");
    EXPECT_EQ(ThrownCode([&] { port.Open("COM3"); }), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(port.IsOpen());
    holder.Close();

    // The pty takes the open but not odd parity.
    EXPECT_EQ(ThrownCode([&] { port.Open("COM3", 57600, 1, 8, 0, 0, FALSE); }),
              ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(port.IsOpen());
    port.Open("COM3");
    EXPECT_TRUE(port.IsOpen()) << "the failed open let go of the port";
}

TEST_F(SerialPortTest, ClosedPortWritesNothingAndThrowsOnStatusReadAndPurge) {
    EXPECT_EQ(port.Write("x", 1), 0u);
    EXPECT_EQ(ThrownCode([&] { port.BytesWaiting(); }), ERROR_INVALID_HANDLE);
    char buf[2];
    EXPECT_EQ(ThrownCode([&] { port.Read(buf, 2); }), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ThrownCode([&] { port.ClearReadBuffer(); }), ERROR_INVALID_HANDLE);
    DWORD errors = 0;
    port.ClearError(errors);  // ignored failure
}

TEST_F(SerialPortTest, OutOfRangeCodesKeepTheDriversSettings) {
    port.Open("COM3", 57600, 0, 8, 0, 5, FALSE);  // XON/XOFF
    DCB before{};
    port.GetState(before);
    EXPECT_TRUE(before.fOutX && before.fInX);
    EXPECT_EQ(before.XonLim, 100);
    EXPECT_EQ(before.XonChar, 0x11);

    port.Open("COM3", 57600, 5, 8, 3, 6, FALSE);
    DCB after{};
    port.GetState(after);
    EXPECT_EQ(after.Parity, before.Parity);
    EXPECT_EQ(after.StopBits, before.StopBits);
    EXPECT_EQ(after.fOutX, 1u) << "flow mode 6 changes no flow field";
    EXPECT_EQ(after.fInX, 1u);
    EXPECT_EQ(after.fOutxCtsFlow, before.fOutxCtsFlow);
}

TEST_F(SerialPortTest, VanishedDeviceThrowsFromTheStatusQuery) {
    port.Open("COM3");
    pty.CloseMaster();
    EXPECT_EQ(ThrownCode([&] { port.BytesWaiting(); }), ERROR_DEVICE_NOT_CONNECTED);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialException, MessageIsCutToTheBufferAndUnknownCodesGiveNone) {
    auto e = std::make_unique<CSerialException>(ERROR_FILE_NOT_FOUND);
    e->m_bAutoDelete = FALSE;
    char text[256];
    UINT help = 99;
    ASSERT_TRUE(e->GetErrorMessage(text, sizeof text, &help));
    EXPECT_STREQ(text, "The system cannot find the file specified.");
    EXPECT_EQ(help, 0u);
    char cut[11];
    ASSERT_TRUE(e->GetErrorMessage(cut, sizeof cut));
    EXPECT_STREQ(cut, "The system");

    CSerialException unknown(0x12345678);
    std::strcpy(text, "old");
    EXPECT_FALSE(unknown.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, "");
    const CSerialException& constForm = *e;
    std::strcpy(text, "old");
    EXPECT_FALSE(constForm.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, "");
}

TEST(SerialPortLookups, KernelEntryIsFoundButTheEventIsOnlyMadeWhenOpen) {
    struct Probe : CSerialPort {
        bool HasCancelIo() const { return m_pfnCancelIo != nullptr; }
        HANDLE Event() const { return m_hIoEvent; }
    } probe;
    EXPECT_TRUE(probe.HasCancelIo());
    EXPECT_EQ(probe.Event(), nullptr);
}

}  // namespace

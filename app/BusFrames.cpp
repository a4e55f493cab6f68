// The main window's static bus operations: thin calls from the one port into the frame rules.

#include <array>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "platform/win32_comm.h"
#include "sensors/SensorBus.h"

namespace {

// What waits in the port, unless the backlog is too long to be worth parsing: then the port is
// purged and nothing is read. Returns the bytes read, or -1 after such a purge.
int TakeWaiting(std::array<std::uint8_t, bus::kReadBufferSize>& raw) {
    DWORD waiting = g_serialPort.BytesWaiting();
    if (waiting > bus::kMaxWaitingBytes) {
        CKestrovaDlg::PurgePort();
        return -1;
    }
    if (waiting == 0) return 0;
    return static_cast<int>(g_serialPort.Read(raw.data(), waiting));
}

}  // namespace

void CKestrovaDlg::SendBusFrame(unsigned char* frame, int length) {
    if (length != 2 && length != 10) return;
    std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
    std::size_t n =
        bus::EncodeFrame(std::span<std::uint8_t>(frame, static_cast<std::size_t>(length)), out);
    g_serialPort.Write(out.data(), static_cast<DWORD>(n));
}

void CKestrovaDlg::ReadBusFrame(unsigned char* body) {
    std::array<std::uint8_t, bus::kReadBufferSize> raw{};
    int n = TakeWaiting(raw);
    std::span<std::uint8_t, bus::kBodyLength> out(body, bus::kBodyLength);
    if (n < 0) {
        std::fill(out.begin(), out.end(), 0);
        return;
    }
    if (n > 0)
        bus::ReadBody(std::span<const std::uint8_t>(raw.data(), static_cast<std::size_t>(n)), out);
}

void CKestrovaDlg::ReadBusResponseFrame(unsigned char* body) {
    std::array<std::uint8_t, bus::kReadBufferSize> raw{};
    int n = TakeWaiting(raw);
    if (n > 0)
        bus::ReadResponseBody(
            std::span<const std::uint8_t>(raw.data(), static_cast<std::size_t>(n)),
            std::span<std::uint8_t, bus::kBodyLength>(body, bus::kBodyLength));
}

int CKestrovaDlg::PurgePort() {
    g_serialPort.ClearReadBuffer();
    g_serialPort.ClearWriteBuffer();
    return 1;
}

namespace sensor_steps {

SensorBus& ProgramBus() {
    // The step machines' bus is the main window's static bus operations on the one port.
    class MainWindowBus : public SensorBus {
      public:
        void Send(unsigned char* frame, int length) override {
            CKestrovaDlg::SendBusFrame(frame, length);
        }
        void ReadBody(unsigned char* body) override { CKestrovaDlg::ReadBusFrame(body); }
        void ReadAnswerBody(unsigned char* body) override {
            CKestrovaDlg::ReadBusResponseFrame(body);
        }
        void Purge() override { CKestrovaDlg::PurgePort(); }
    };
    static MainWindowBus bus;
    return bus;
}

}  // namespace sensor_steps

// The main window's static bus operations: thin calls from the one port into the frame rules and
// the one reader of the wire, which every tick that reads the port takes its frames from.

#include <array>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "bus/protocol.h"
#include "bus/serial_exception.h"
#include "platform/clock.h"
#include "platform/win32_comm.h"

namespace {

// When the wire was last read: whatever had come back by then has been seen.
platform::Micros g_lastReadUs = 0;

}  // namespace

bus::WireReader& CKestrovaDlg::Wire() {
    static bus::WireReader wire;
    return wire;
}

std::uint32_t CKestrovaDlg::WriteBus(unsigned char* frame, int length) {
    if (length != 2 && length != 10) return 0;
    std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
    std::size_t n =
        bus::EncodeFrame(std::span<std::uint8_t>(frame, static_cast<std::size_t>(length)), out);
    const std::uint32_t seq = Wire().Sent(std::span<const std::uint8_t>(out.data(), n));
    g_serialPort.Write(out.data(), static_cast<DWORD>(n));
    return seq;
}

void CKestrovaDlg::SendBusFrame(unsigned char* frame, int length) {
    WriteBus(frame, length);
}

std::span<const bus::WireEvent> CKestrovaDlg::ReadWire(bool* flooded) {
    g_lastReadUs = platform::Now();
    // A backlog beyond the bound is thrown away unread rather than parsed.
    DWORD waiting = g_serialPort.BytesWaiting();
    if (flooded) *flooded = bus::ExceedsWaitingLimit(waiting);
    if (bus::ExceedsWaitingLimit(waiting)) {
        PurgePort();
        return {};
    }
    if (waiting == 0) return {};
    std::array<std::uint8_t, bus::kReadBufferSize> raw;
    const DWORD n = g_serialPort.Read(raw.data(), waiting);
    return Wire().Take(std::span<const std::uint8_t>(raw.data(), n));
}

namespace {

// The body of the first frame of this read that answers what was asked last: a frame that
// came before the echo of the latest request answers an earlier one. Returns whether one came.
bool TakeCurrentFrame(unsigned char* body, bool answersOnly) {
    bool flooded = false;
    for (const bus::WireEvent& e : CKestrovaDlg::ReadWire(&flooded)) {
        if (!CKestrovaDlg::Wire().Answers(e)) continue;
        if (answersOnly && e.body[0] != bus::kTypeAnswer) continue;
        std::copy(e.body.begin(), e.body.end(), body);
        return true;
    }
    // After a purged flood the plain reader's body is all zero: nothing usable came.
    if (flooded && !answersOnly) std::fill(body, body + bus::kBodyLength, 0);
    return false;
}

}  // namespace

void CKestrovaDlg::ReadBusFrame(unsigned char* body) {
    TakeCurrentFrame(body, false);
}

void CKestrovaDlg::ReadBusResponseFrame(unsigned char* body) {
    TakeCurrentFrame(body, true);
}

int CKestrovaDlg::PurgePort() {
    g_serialPort.ClearReadBuffer();
    g_serialPort.ClearWriteBuffer();
    Wire().Clear();
    return 1;
}

bus::Link& CKestrovaDlg::BusLink() {
    class ProgramLink : public bus::Link {
      public:
        std::uint32_t Send(unsigned char* frame, int length) override {
            return WriteBus(frame, length);
        }
        std::span<const bus::WireEvent> Read() override { return ReadWire(); }
        bus::WireReader& Wire() override { return CKestrovaDlg::Wire(); }
        void Purge() override { PurgePort(); }
        bool Usable() const override { return g_serialPort.IsOpen(); }
        std::int64_t NowUs() const override { return platform::Now(); }
        std::int64_t LastReadUs() const override { return g_lastReadUs; }
        void Pause(std::int64_t us) override { platform::Block(us); }
    };
    static ProgramLink link;
    return link;
}

bool CKestrovaDlg::LeaveAccess(bus::RequestTracker& run) {
    try {
        return run.Leave(BusLink());
    } catch (CSerialException* e) {
        // The port failed on the way: it carries nothing more, and its next use says so.
        e->Delete();
        run.Clear();
        return false;
    }
}

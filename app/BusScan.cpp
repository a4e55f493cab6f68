// The bus scan (timer 1) and the Monitoring listener (timer 0): both read what arrived since
// their previous tick; the listener hands one whole telemetry frame to the decoding table, the
// scan every whole answer behind an echoed poll, keeping an answer a read ended in the middle
// of for the next tick.

#include <algorithm>
#include <array>
#include <optional>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/global_pages.h"
#include "bus/frame.h"
#include "sensors/TelemetryTable.h"

namespace {

// A sweep's lamps are shown this many polls into the next sweep: half a sweep (56 ms) for the
// answers to its last polls to come through an adapter that holds bytes back (16 ms on FTDI).
constexpr int kShowLastSweepAt = bus::kPhysIdCount / 2;

// Reads everything waiting on the port into `raw` from `offset` on; returns how many bytes, or
// nullopt when the backlog was beyond the limit and purged unread, so a flood never gets parsed
// and a read never outgrows the buffer.
std::optional<std::size_t> ReadWaiting(std::array<std::uint8_t, bus::kReadBufferSize>& raw,
                                       std::size_t offset = 0) {
    DWORD waiting = g_serialPort.BytesWaiting();
    if (bus::ExceedsWaitingLimit(waiting)) {
        CKestrovaDlg::PurgePort();
        return std::nullopt;
    }
    if (waiting == 0) return 0;
    return g_serialPort.Read(raw.data() + offset, waiting);
}

// Everything waiting on the port, when it is one frame.
std::optional<bus::Body> ReadWaitingFrame() {
    std::array<std::uint8_t, bus::kReadBufferSize> raw{};
    std::optional<std::size_t> n = ReadWaiting(raw);
    if (!n || *n == 0) return std::nullopt;
    return telemetry::AcceptFrame(std::span<const std::uint8_t>(raw.data(), *n));
}

}  // namespace

void CKestrovaDlg::ScanBusStep() {
    if (m_nPollIndex < 0 || m_nPollIndex >= bus::kPhysIdCount) m_nPollIndex = 0;
    // The poll goes out as it is: two bytes, no stuffing, no checksum.
    const unsigned char poll[bus::kPollLength] = {bus::kFrameStart,
                                                  bus::kPhysIdTable[m_nPollIndex]};
    g_serialPort.Write(poll, sizeof poll);
    // What is waiting now answers the previous tick's poll, not this one.
    DecodeScanReply();
    if (m_bLastSweepToShow && m_nPollIndex == kShowLastSweepAt) PublishPresence();
    if (++m_nPollIndex >= bus::kPhysIdCount) {
        m_nPollIndex = 0;
        std::copy(std::begin(m_bPresent), std::end(m_bPresent), std::begin(m_bPresentLastSweep));
        std::fill(std::begin(m_bPresent), std::end(m_bPresent), 0);
        m_bLastSweepToShow = true;
    }
}

void CKestrovaDlg::DecodeScanReply() {
    static_assert(bus::kMaxWaitingBytes + telemetry::kMaxUnfinishedUnit <= bus::kReadBufferSize);
    // An answer the last read ended in the middle of goes in front of what arrived since.
    std::array<std::uint8_t, bus::kReadBufferSize> raw{};
    const std::size_t carried = m_scanCarryLength;
    std::copy_n(m_scanCarry, carried, raw.begin());
    m_scanCarryLength = 0;
    std::optional<std::size_t> n = ReadWaiting(raw, carried);
    if (!n) return;  // purged: what was carried goes with the backlog
    if (*n == 0) {
        m_scanCarryLength = carried;  // the adapter is still holding the rest
        return;
    }
    const std::span<const std::uint8_t> data(raw.data(), carried + *n);
    // Each answer counts for the poll whose echo stands in front of it, so a read that carries
    // several polls and answers (an adapter that holds bytes back) still puts every sensor at its
    // own ID; a read of one frame counts, as ever, for the previous tick's poll.
    const int polled = m_nPollIndex == 0 ? bus::kPhysIdCount - 1 : m_nPollIndex - 1;
    std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> units;
    std::size_t unfinishedAt = data.size();
    const std::size_t count = telemetry::TakeScanUnits(data, polled, units, &unfinishedAt);
    m_scanCarryLength = data.size() - unfinishedAt;
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(unfinishedAt), m_scanCarryLength,
                m_scanCarry);
    for (std::size_t u = 0; u < count; ++u) {
        std::uint32_t presence =
            telemetry::ApplyFrame(units[u].body, telemetry::GlobalPages(),
                                  telemetry::Decoder::kScan, units[u].physIdIndex);
        // An answer counts for the sweep of the poll it answers: one to a poll after the one
        // just sent came late, across the end of the last sweep.
        BYTE* sweep = units[u].physIdIndex > m_nPollIndex ? m_bPresentLastSweep : m_bPresent;
        for (int i = 0; i < telemetry::kPageCount; ++i)
            if (presence & (1u << i)) sweep[i] = 1;
    }
}

void CKestrovaDlg::PublishPresence() {
    const telemetry::Pages pages = telemetry::GlobalPages();
    for (int i = 0; i < telemetry::kPageCount; ++i)
        pages.At(static_cast<telemetry::PageIndex>(i))->m_nConnState = m_bPresentLastSweep[i];
    for (int i = 0; i < telemetry::kPageCount; ++i)
        pages.At(static_cast<telemetry::PageIndex>(i))->DrawConnectionState();
    std::fill(std::begin(m_bPresentLastSweep), std::end(m_bPresentLastSweep), 0);
    m_bLastSweepToShow = false;
}

void CKestrovaDlg::DecodeMonitorData() {
    if (std::optional<bus::Body> body = ReadWaitingFrame())
        telemetry::ApplyFrame(*body, telemetry::GlobalPages(), telemetry::Decoder::kMonitor, 0);
}

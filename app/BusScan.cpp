// The bus scan (timer 1) and the Monitoring listener (timer 0): both take every whole frame of
// what arrived since their previous tick from the one reader of the wire. The scan credits each
// answer to the physical ID of the echoed poll in front of it; the listener decodes every
// telemetry frame it hears.

#include <algorithm>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/global_pages.h"
#include "bus/frame.h"
#include "sensors/TelemetryTable.h"

namespace {

// A sweep's lamps are shown this many polls into the next sweep: half a sweep (56 ms) for the
// answers to its last polls to come through an adapter that holds bytes back (16 ms on FTDI).
constexpr int kShowLastSweepAt = bus::kPhysIdCount / 2;

}  // namespace

void CKestrovaDlg::ScanBusStep() {
    if (m_nPollIndex < 0 || m_nPollIndex >= bus::kPhysIdCount) m_nPollIndex = 0;
    // The poll goes out as it is: two bytes, no stuffing, no checksum.
    unsigned char poll[bus::kPollLength] = {bus::kFrameStart, bus::kPhysIdTable[m_nPollIndex]};
    WriteBus(poll, static_cast<int>(bus::kPollLength));
    // What is waiting now answers earlier polls, not this one.
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
    for (const bus::WireEvent& e : ReadWire()) {
        // An answer heads with the echo of the poll it answers, so the ID is the poll's.
        const int id = bus::PhysIdIndexOf(e.address);
        if (e.kind != bus::WireEvent::Kind::kFrame || id < 0) continue;
        const std::uint32_t presence =
            telemetry::ApplyFrame(e.body, telemetry::GlobalPages(), telemetry::Decoder::kScan, id);
        // An answer counts for the sweep of the poll it answers: one to a poll after the one
        // just sent came late, across the end of the last sweep.
        BYTE* sweep = id > m_nPollIndex ? m_bPresentLastSweep : m_bPresent;
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
    for (const bus::WireEvent& e : ReadWire())
        if (e.kind == bus::WireEvent::Kind::kFrame)
            telemetry::ApplyFrame(e.body, telemetry::GlobalPages(), telemetry::Decoder::kMonitor,
                                  0);
}

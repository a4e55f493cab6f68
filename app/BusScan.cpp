// The bus scan (timer 1) and the Monitoring listener (timer 0): both read what arrived since
// their previous tick and hand one whole telemetry frame to the decoding table.

#include <array>
#include <optional>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "sensors/TelemetryTable.h"

namespace {

telemetry::Pages GlobalPages() {
    return telemetry::Pages{
        &g_sensorLipoVoltage,
        &g_sensorCurrentL,
        &g_sensorAirSpeed,
        &g_sensorCurrentH,
        &g_sensorRPM,
        &g_sensorRedundancyBus,
        &g_sensorGPS,
        &g_sensorVariometer,
        &g_sensorFuelKit,
        &g_sensorQWireToUART,
        &g_sensorSteeringEngine,
        &g_sensorReserve1,
        &g_sensorReserve2,
    };
}

// Everything waiting on the port, when it can be one frame. A backlog beyond the limit is
// purged unread, so a flood never gets parsed and a read never outgrows the buffer.
std::optional<bus::Body> ReadWaitingFrame() {
    DWORD waiting = g_serialPort.BytesWaiting();
    if (bus::ExceedsWaitingLimit(waiting)) {
        CKestrovaDlg::PurgePort();
        return std::nullopt;
    }
    if (waiting == 0) return std::nullopt;
    std::array<std::uint8_t, bus::kReadBufferSize> raw{};
    DWORD n = g_serialPort.Read(raw.data(), waiting);
    return telemetry::AcceptFrame(std::span<const std::uint8_t>(raw.data(), n));
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
    if (++m_nPollIndex >= bus::kPhysIdCount) {
        m_nPollIndex = 0;
        PublishPresence();
    }
}

void CKestrovaDlg::DecodeScanReply() {
    std::optional<bus::Body> body = ReadWaitingFrame();
    if (!body) return;
    const int polled = m_nPollIndex == 0 ? bus::kPhysIdCount - 1 : m_nPollIndex - 1;
    std::uint32_t presence =
        telemetry::ApplyFrame(*body, GlobalPages(), telemetry::Decoder::kScan, polled);
    for (int i = 0; i < telemetry::kPageCount; ++i)
        if (presence & (1u << i)) m_bPresent[i] = 1;
}

void CKestrovaDlg::PublishPresence() {
    const telemetry::Pages pages = GlobalPages();
    for (int i = 0; i < telemetry::kPageCount; ++i)
        pages.At(static_cast<telemetry::PageIndex>(i))->m_nConnState = m_bPresent[i];
    for (int i = 0; i < telemetry::kPageCount; ++i)
        pages.At(static_cast<telemetry::PageIndex>(i))->DrawConnectionState();
    std::fill(std::begin(m_bPresent), std::end(m_bPresent), 0);
}

void CKestrovaDlg::DecodeMonitorData() {
    if (std::optional<bus::Body> body = ReadWaitingFrame())
        telemetry::ApplyFrame(*body, GlobalPages(), telemetry::Decoder::kMonitor, 0);
}

// Feeds the reader of the wire what the program wrote and what came back, both made up by the
// fuzzer. The events must be the same however an adapter cuts the bytes into reads, every number
// they name must be one the reader gave, no frame whose checksum fails is handed on, settling
// never goes back, what came back of each write is the same either way, a write given up for lost
// is lost, and frames sent again as a device sends them read back as they were.
//
// Input: byte 0 picks the pieces the bytes come in; byte 1 how many of the following 2-byte
// items the program wrote (a poll when the first byte is even, else a request built from them);
// the rest is the wire.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bus/protocol.h"
#include "bus/wire_reader.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

struct Result {
    std::vector<bus::WireEvent> events;
    std::uint32_t settled = 0;      // the highest number that settled
    std::vector<bus::Echo> echoes;  // of every write, at the end
};

bool Same(const bus::WireEvent& a, const bus::WireEvent& b) {
    return a.kind == b.kind && a.seq == b.seq && a.question == b.question &&
           a.address == b.address && a.body == b.body;
}

Result Read(const std::vector<std::vector<std::uint8_t>>& sent, std::span<const std::uint8_t> wire,
            std::size_t piece) {
    bus::WireReader r;
    std::uint32_t last = 0;
    for (const auto& s : sent) last = r.Sent(s);
    Result result;
    for (std::size_t i = 0; i < wire.size(); i += piece) {
        for (const bus::WireEvent& e : r.Take(wire.subspan(i, std::min(piece, wire.size() - i)))) {
            Check(e.seq <= last && e.question <= last);
            // Noise never reaches a caller as a frame.
            Check(e.kind != bus::WireEvent::Kind::kFrame || bus::ChecksumHolds(e.body));
            result.events.push_back(e);
        }
        std::uint32_t settled = 0;
        while (settled < last && r.Settled(settled + 1)) ++settled;
        Check(settled >= result.settled);
        result.settled = settled;
    }
    for (std::uint32_t seq = 1; seq <= last; ++seq) result.echoes.push_back(r.EchoOf(seq));
    // A write given up for lost is lost and settled, whatever came before.
    for (std::uint32_t seq = 1; seq <= last; ++seq) {
        if (r.EchoOf(seq) != bus::Echo::kAwaited) continue;
        r.GiveUp(seq);
        Check(r.EchoOf(seq) == bus::Echo::kLost && r.Settled(seq));
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t piece = 1 + data[0] % 23;
    std::size_t at = 2;
    std::vector<std::vector<std::uint8_t>> sent;
    for (int i = 0; i < data[1] % 8 && at + 2 <= size; ++i, at += 2) {
        if (data[at] % 2 == 0) {
            sent.push_back({bus::kFrameStart, data[at + 1]});
            continue;
        }
        std::array<std::uint8_t, bus::kFrameLength> frame = {
            bus::kFrameStart,
            data[at] & 0x80 ? bus::kStabilizerAddress : bus::kSensorConfigAddress,
            data[at],
            data[at + 1],
            0x0A,
            0x22,
            data[at + 1],
            0,
            0,
            0};
        std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
        const std::size_t n = bus::EncodeFrame(frame, out);
        sent.emplace_back(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
    }
    const std::span<const std::uint8_t> wire(data + at, size - at);

    const Result whole = Read(sent, wire, std::max<std::size_t>(wire.size(), 1));
    const Result cut = Read(sent, wire, piece);
    Check(cut.events.size() == whole.events.size());
    for (std::size_t i = 0; i < whole.events.size(); ++i)
        Check(Same(cut.events[i], whole.events[i]));
    Check(cut.settled == whole.settled);
    Check(cut.echoes == whole.echoes);

    // The frames, sent again as devices send them (head, then the stuffed body), read back.
    std::vector<std::uint8_t> again;
    std::vector<bus::Body> frames;
    for (const bus::WireEvent& e : whole.events) {
        if (e.kind != bus::WireEvent::Kind::kFrame || e.address == bus::kFrameStart) continue;
        frames.push_back(e.body);
        again.insert(again.end(), {bus::kFrameStart, e.address});
        std::array<std::uint8_t, 2 * bus::kBodyLength> stuffed{};
        const std::size_t n = bus::Stuff(e.body, stuffed);
        again.insert(again.end(), stuffed.begin(),
                     stuffed.begin() + static_cast<std::ptrdiff_t>(n));
    }
    bus::WireReader fresh;
    std::size_t k = 0;
    for (const bus::WireEvent& e : fresh.Take(again))
        Check(k < frames.size() && e.body == frames[k++]);
    Check(k == frames.size());
    return 0;
}

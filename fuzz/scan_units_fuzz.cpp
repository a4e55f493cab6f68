// Feeds arbitrary reads to what a scan tick takes from them: the one-frame rule and the cutting
// into echoed polls and answers. Every unit it finds must name a real physical ID, units never
// overlap, what it finds must survive being sent again, and a read handed over in two pieces
// (the first piece's unfinished unit carried into the second) must give what one read gives.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sensors/telemetry_frames.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

bool SameUnit(const telemetry::ScanUnit& a, const telemetry::ScanUnit& b) {
    return a.physIdIndex == b.physIdIndex && a.body == b.body;
}

// The units as the wire carries them: each echoed poll, then its answer stuffed by the device.
std::vector<std::uint8_t> Resend(std::span<const telemetry::ScanUnit> units) {
    std::vector<std::uint8_t> wire;
    for (const telemetry::ScanUnit& u : units) {
        wire.push_back(bus::kFrameStart);
        wire.push_back(bus::kPhysIdTable[static_cast<std::size_t>(u.physIdIndex)]);
        for (std::uint8_t b : u.body) {
            if (b == bus::kFrameStart || b == bus::kEscape) {
                wire.push_back(bus::kEscape);
                wire.push_back(static_cast<std::uint8_t>(b ^ 0x20));
            } else {
                wire.push_back(b);
            }
        }
    }
    return wire;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int previousPoll = data[0] % bus::kPhysIdCount;
    const std::span<const std::uint8_t> raw(data + 1, size - 1);

    std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> units;
    std::size_t unfinishedAt = 0;
    const std::size_t n = telemetry::TakeScanUnits(raw, previousPoll, units, &unfinishedAt);
    Check(n <= units.size());
    // What is kept for the next read is short, and starts a frame.
    Check(unfinishedAt <= raw.size());
    if (unfinishedAt < raw.size())
        Check(raw[unfinishedAt] == bus::kFrameStart &&
              raw.size() - unfinishedAt <= telemetry::kMaxUnfinishedUnit);
    // Every unit takes at least ten bytes of the read.
    Check(n * bus::kFrameLength <= raw.size());
    for (std::size_t i = 0; i < n; ++i)
        Check(units[i].physIdIndex >= 0 && units[i].physIdIndex < bus::kPhysIdCount);

    // A read that is one frame, with no frame start after its first byte, is one unit with that
    // frame's body.
    if (const auto body = telemetry::AcceptFrame(raw);
        body && std::find(raw.begin() + 1, raw.end(), bus::kFrameStart) == raw.end())
        Check(n == 1 && units[0].body == *body);

    // Less room takes the same first units.
    std::array<telemetry::ScanUnit, 1> first;
    const std::size_t m = telemetry::TakeScanUnits(raw, previousPoll, first);
    Check(m == (n > 0 ? 1u : 0u));
    if (m == 1) Check(SameUnit(first[0], units[0]));

    // Sent again as echoes and stuffed answers, the units read back as they were.
    const std::vector<std::uint8_t> wire = Resend(std::span(units.data(), n));
    std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> again;
    const std::size_t k = telemetry::TakeScanUnits(wire, previousPoll, again);
    Check(k == n);
    for (std::size_t i = 0; i < n; ++i) Check(SameUnit(units[i], again[i]));

    // The same units handed over in two pieces, cut wherever the input says.
    if (wire.size() >= 2) {
        const std::size_t cut = data[0] * 131u % (wire.size() + 1);
        const std::span<const std::uint8_t> first(wire.data(), cut);
        std::size_t kept = 0;
        std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> parts;
        std::size_t got = telemetry::TakeScanUnits(first, previousPoll, parts, &kept);
        std::vector<std::uint8_t> second(first.begin() + static_cast<std::ptrdiff_t>(kept),
                                         first.end());
        second.insert(second.end(), wire.begin() + static_cast<std::ptrdiff_t>(cut), wire.end());
        got += telemetry::TakeScanUnits(second, previousPoll,
                                        std::span(parts.data() + got, parts.size() - got));
        Check(got == n);
        for (std::size_t i = 0; i < n; ++i)
            Check(
                units[i].physIdIndex == parts[i].physIdIndex &&
                // a cut between an escape and its pair may change only the checksum byte
                std::equal(units[i].body.begin(), units[i].body.end() - 1, parts[i].body.begin()));
    }
    return 0;
}

#pragma once
// What one tick of the bus scan or of the Monitoring listener takes from the bytes it read:
// pure functions over the raw (still stuffed) input, with no page and no port, so they can be
// checked and fuzzed on their own.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "bus/frame.h"

namespace telemetry {

// The one frame a read brought, when after unstuffing it is exactly 10 bytes starting with a
// frame start: its 8-byte body (type, data ID low, high, four value bytes, checksum). Anything
// else (several frames, a cut one, stray bytes) is nullopt.
std::optional<bus::Body> AcceptFrame(std::span<const std::uint8_t> raw);

// One answer of the scan and the physical ID it is credited to.
struct ScanUnit {
    int physIdIndex;
    bus::Body body;
};

// A read never holds more whole units than this (the backlog bound over 10 bytes a unit).
inline constexpr std::size_t kMaxScanUnits = bus::kMaxWaitingBytes / bus::kFrameLength;

// The answers in what one scan tick read. A read that is exactly one frame (with no second
// frame start in it) is taken as AcceptFrame takes it and credited to the physical ID its
// echoed poll names, or to `previousPoll` when that byte names none. Any other read is cut into
// units: an echoed poll (a frame start and a byte of kPhysIdTable) followed by a whole answer (8
// bytes after unstuffing, ending where the next frame starts or the read ends); each answer is
// credited to the ID of the echo in front of it. Behind a USB adapter that holds bytes back, one
// read carries several polls and answers, and this is what keeps each sensor at its own ID. Cut
// answers, bare echoes and stray bytes are skipped. Writes at most out.size() units, in the
// order they arrived, and returns how many.
//
// `unfinishedAt`, when given, receives where a unit starts that the read ends in the middle of
// (an echoed poll, perhaps with part of its answer), or raw.size() when there is none. Such an
// adapter hands a unit over in two pieces whenever its hand-over falls inside it; the scan keeps
// the first piece and puts it before its next read, so the answer still counts.
std::size_t TakeScanUnits(std::span<const std::uint8_t> raw, int previousPoll,
                          std::span<ScanUnit> out, std::size_t* unfinishedAt = nullptr);

// The longest piece `unfinishedAt` can mark: an echo and 7 answer bytes, each stuffed.
inline constexpr std::size_t kMaxUnfinishedUnit = 2 + 2 * (bus::kBodyLength - 1);

// The physical ID whose kPhysIdTable byte is `address`, or -1.
int PhysIdIndexOf(std::uint8_t address);

}  // namespace telemetry

#include "sensors/telemetry_frames.h"

#include <algorithm>
#include <array>

namespace telemetry {

int PhysIdIndexOf(std::uint8_t address) {
    for (int i = 0; i < bus::kPhysIdCount; ++i)
        if (bus::kPhysIdTable[static_cast<std::size_t>(i)] == address) return i;
    return -1;
}

std::optional<bus::Body> AcceptFrame(std::span<const std::uint8_t> raw) {
    // Ten unstuffed bytes never take more than twenty on the wire; anything
    // longer is not one frame, and the bound keeps the work per read small.
    if (raw.size() < bus::kFrameLength || raw.size() > 2 * bus::kFrameLength) return std::nullopt;
    std::array<std::uint8_t, 2 * bus::kFrameLength> out{};
    if (bus::Unstuff(raw, out) != bus::kFrameLength || out[0] != bus::kFrameStart)
        return std::nullopt;
    bus::Body body{};
    std::copy(out.begin() + 2, out.begin() + bus::kFrameLength, body.begin());
    return body;
}

std::size_t TakeScanUnits(std::span<const std::uint8_t> raw, int previousPoll,
                          std::span<ScanUnit> out, std::size_t* unfinishedAt) {
    std::size_t unfinished = raw.size();
    if (unfinishedAt) *unfinishedAt = raw.size();
    if (out.empty()) return 0;
    // One frame and nothing else: a frame start only in front (several starts are bare echoes
    // and answers, which the units below sort out).
    const bool oneStart =
        !raw.empty() && std::find(raw.begin() + 1, raw.end(), bus::kFrameStart) == raw.end();
    if (std::optional<bus::Body> body = oneStart ? AcceptFrame(raw) : std::nullopt) {
        // The address byte is never stuffed, so raw[1] is the echoed poll's byte.
        const int id = PhysIdIndexOf(raw[1]);
        out[0] = ScanUnit{id >= 0 ? id : previousPoll, *body};
        return 1;
    }
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < raw.size() && n < out.size()) {
        // On the wire every 0x7E starts a frame: a 0x7E value travels as 7D 5E.
        if (raw[i] != bus::kFrameStart) {
            ++i;
            continue;
        }
        if (i + 1 == raw.size()) {
            unfinished = i;  // a frame start whose address byte is still on its way
            break;
        }
        const int id = PhysIdIndexOf(raw[i + 1]);
        if (id < 0) {
            ++i;
            continue;
        }
        ScanUnit unit{id, {}};
        std::size_t got = 0;
        std::size_t j = i + 2;
        while (j < raw.size() && raw[j] != bus::kFrameStart && got < bus::kBodyLength) {
            std::uint8_t b = raw[j++];
            if (b == bus::kEscape && j < raw.size() && (raw[j] == 0x5E || raw[j] == 0x5D))
                b = static_cast<std::uint8_t>(raw[j++] ^ 0x20);
            unit.body[got++] = b;
        }
        if (got < bus::kBodyLength && j == raw.size()) {
            unfinished = i;
            break;
        }
        // A whole answer fills the body and ends where the next frame starts or the read ends;
        // a cut one or one with stray bytes behind it is not taken.
        if (got == bus::kBodyLength && (j == raw.size() || raw[j] == bus::kFrameStart))
            out[n++] = unit;
        i = j;
    }
    if (unfinishedAt) *unfinishedAt = unfinished;
    return n;
}

}  // namespace telemetry

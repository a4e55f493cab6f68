#pragma once
// Test-side helpers: talk to a sim::Bus as the program does (write, wait, read what arrived)
// and read telemetry back by the program's decoding rules, written out independently here.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bus/frame.h"
#include "bus/wire_reader.h"
#include "sim/bus.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

// The body of the first whole frame in what came back, as the program's reader of the wire
// takes it (with `answersOnly`, the first answer frame); all zero when there is none.
inline bus::Body BodyOf(const Bytes& in, bool answersOnly = false) {
    bus::WireReader reader;
    for (const bus::WireEvent& e : reader.Take(in))
        if (e.kind == bus::WireEvent::Kind::kFrame && (!answersOnly || e.body[0] == 0x32))
            return e.body;
    return {};
}

// A test's view of the wire, with its own virtual clock.
struct Wire {
    sim::Bus bus;
    sim::Micros now = 1'000'000;

    Bytes Send(Bytes bytes, sim::Micros waitMicros = 5000) {
        bus.Write(bytes.data(), bytes.size(), now);
        now += waitMicros;
        return Take();
    }
    Bytes Take() {
        Bytes in(4096);
        in.resize(bus.Read(in.data(), in.size(), now));
        return in;
    }
    // When a poll written now has been heard: the moment the device builds its answer.
    sim::Micros PollHeardAt() const { return now + 2 * bus.GetTiming().byteNanos / 1000; }
    Bytes Poll(int physId) { return Send({bus::kFrameStart, bus::kPhysIdTable[physId]}); }
    // A request frame with the given type, data ID, parameter and 24-bit value.
    Bytes Request(std::uint8_t type, std::uint16_t dataId, std::uint8_t code = 0,
                  std::uint32_t value = 0, std::uint8_t address = 0x1C) {
        std::array<std::uint8_t, 10> f{0x7E,
                                       address,
                                       type,
                                       static_cast<std::uint8_t>(dataId),
                                       static_cast<std::uint8_t>(dataId >> 8),
                                       code,
                                       static_cast<std::uint8_t>(value),
                                       static_cast<std::uint8_t>(value >> 8),
                                       static_cast<std::uint8_t>(value >> 16),
                                       0};
        std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
        const std::size_t n = bus::EncodeFrame(f, out);
        return Send(Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n)));
    }
    bus::Body PollBody(int physId) { return BodyOf(Poll(physId)); }
    // Reads parameter `code` in configuration access: request, then a poll for the answer.
    bus::Body ReadParam(int physId, std::uint16_t dataId, std::uint8_t code,
                        std::uint8_t address = 0x1C) {
        Request(0x30, dataId, code, 0, address);
        return PollBody(physId);
    }
};

inline std::uint32_t Value(const bus::Body& b) {
    return b[3] | b[4] << 8 | b[5] << 16 | static_cast<std::uint32_t>(b[6]) << 24;
}
inline std::uint32_t AnswerValue(const bus::Body& b) {
    return b[4] | b[5] << 8 | b[6] << 16;
}
inline std::uint16_t DataId(const bus::Body& b) {
    return static_cast<std::uint16_t>(b[1] | b[2] << 8);
}

inline bool ChecksumOk(std::uint8_t address, const bus::Body& b) {
    std::array<std::uint8_t, 10> f{0x7E, address};
    std::copy(b.begin(), b.end(), f.begin() + 2);
    return bus::FrameChecksum(f) == b[7];
}

}  // namespace simtest

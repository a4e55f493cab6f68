// Feeds arbitrary received bytes to the frame readers: they must never read or write outside
// their buffers, whatever arrives on the port.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bus/frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> raw(data, size);
    bus::Body body{};
    bus::ReadBody(raw, body);
    bus::ReadResponseBody(raw, body);
    std::vector<std::uint8_t> out(size / 2);
    bus::Unstuff(raw, out);
    if (size >= bus::kFrameLength) {
        std::array<std::uint8_t, bus::kFrameLength> frame;
        std::copy(data, data + bus::kFrameLength, frame.begin());
        frame[0] = bus::kFrameStart;
        // Address bytes travel unstuffed; 0x7E and 0x7D there are outside the round trip.
        if (frame[1] == bus::kFrameStart || frame[1] == bus::kEscape) frame[1] = 0x1C;
        std::array<std::uint8_t, bus::kMaxEncodedLength> wire{};
        const std::size_t n = bus::EncodeFrame(frame, wire);
        bus::Body back{};
        bus::ReadBody(std::span<const std::uint8_t>(wire.data(), n), back);
        // What the encoder sends, the reader restores.
        if (!std::equal(back.begin(), back.end(), frame.begin() + 2)) __builtin_trap();
    }
    return 0;
}

#include "bus/frame.h"

namespace bus {

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame) {
    unsigned s = 0;
    for (std::size_t i = 2; i <= 8 && i < frame.size(); ++i) {
        s += frame[i];
        if (s > 255) s -= 255;
    }
    return static_cast<std::uint8_t>(255 - s);
}

std::size_t EncodeFrame(std::span<std::uint8_t> frame,
                        std::span<std::uint8_t, kMaxEncodedLength> out) {
    if (frame.size() == kPollLength) {
        out[0] = frame[0];
        out[1] = frame[1];
        return kPollLength;
    }
    if (frame.size() != kFrameLength) return 0;

    frame[9] = FrameChecksum(frame);
    std::size_t n = 0;
    out[n++] = frame[0];
    out[n++] = frame[1];
    for (std::size_t i = 2; i < kFrameLength; ++i) {
        const std::uint8_t b = frame[i];
        if (b == kFrameStart || b == kEscape) {
            out[n++] = kEscape;
            out[n++] = static_cast<std::uint8_t>(b ^ 0x20);
        } else {
            out[n++] = b;
        }
    }
    return n;
}

std::size_t Unstuff(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < in.size() && n < out.size(); ++i) {
        std::uint8_t b = in[i];
        // Only 7D 5E and 7D 5D are pairs; a 0x7D before anything else is a byte of its own.
        if (b == kEscape && i + 1 < in.size() && (in[i + 1] == 0x5E || in[i + 1] == 0x5D))
            b = static_cast<std::uint8_t>(in[++i] ^ 0x20);
        out[n++] = b;
    }
    return n;
}

}  // namespace bus

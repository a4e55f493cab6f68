#include "bus/frame.h"

#include <algorithm>

namespace bus {

namespace {

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
    unsigned s = 0;
    for (std::uint8_t b : bytes) {
        s += b;
        if (s > 255) s -= 255;
    }
    return static_cast<std::uint8_t>(255 - s);
}

}  // namespace

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame) {
    return Checksum(frame.size() > 2 ? frame.subspan(2, std::min<std::size_t>(frame.size() - 2, 7))
                                     : std::span<const std::uint8_t>{});
}

std::uint8_t BodyChecksum(const Body& body) {
    return Checksum(std::span<const std::uint8_t>(body).first(kBodyLength - 1));
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
    out[0] = frame[0];
    out[1] = frame[1];
    return 2 + Stuff(frame.subspan(2), std::span<std::uint8_t>(out).subspan(2));
}

std::size_t Stuff(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    std::size_t n = 0;
    for (const std::uint8_t b : in) {
        const bool escaped = b == kFrameStart || b == kEscape;
        if (n + (escaped ? 2 : 1) > out.size()) break;
        if (escaped) out[n++] = kEscape;
        out[n++] = escaped ? static_cast<std::uint8_t>(b ^ 0x20) : b;
    }
    return n;
}

std::size_t Unstuffer::Take(std::uint8_t in, Out& out) {
    if (!escaped_) {
        escaped_ = in == kEscape;
        out[0] = in;
        return escaped_ ? 0 : 1;
    }
    escaped_ = false;
    if (in == 0x5E || in == 0x5D) {
        out[0] = static_cast<std::uint8_t>(in ^ 0x20);
        return 1;
    }
    out[0] = kEscape;
    if (in == kEscape) {
        escaped_ = true;
        return 1;
    }
    out[1] = in;
    return 2;
}

std::size_t Unstuffer::Flush(Out& out) {
    if (!escaped_) return 0;
    escaped_ = false;
    out[0] = kEscape;
    return 1;
}

std::size_t Unstuff(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    Unstuffer unstuffer;
    Unstuffer::Out done{};
    std::size_t n = 0;
    auto put = [&](std::size_t count) {
        for (std::size_t i = 0; i < count && n < out.size(); ++i) out[n++] = done[i];
    };
    for (std::uint8_t b : in) put(unstuffer.Take(b, done));
    put(unstuffer.Flush(done));
    return n;
}

}  // namespace bus

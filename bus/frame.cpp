#include "bus/frame.h"

#include "bus/protocol.h"

#include <algorithm>

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

namespace {

// Unstuffs and notes which output bytes were a frame start on the wire: only an unescaped
// 0x7E is one, never a 0x7E value that arrived as 7D 5E.
struct UnstuffedInput {
    std::array<std::uint8_t, kReadBufferSize> bytes{};
    std::array<bool, kReadBufferSize> frameStart{};
    std::size_t length = 0;
};

template <typename Sink>
void ScanStuffed(std::span<const std::uint8_t> in, Sink sink) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        std::uint8_t b = in[i];
        bool start = b == kFrameStart;
        if (b == kEscape && i + 1 < in.size()) {
            if (in[i + 1] == 0x5E) {
                b = kFrameStart;
                ++i;
            } else if (in[i + 1] == 0x5D) {
                b = kEscape;
                ++i;
            }
        }
        if (!sink(b, start)) return;
    }
}

void UnstuffMarked(std::span<const std::uint8_t> raw, UnstuffedInput& out) {
    ScanStuffed(raw.first(std::min(raw.size(), kReadBufferSize)),
                [&out](std::uint8_t b, bool start) {
                    out.frameStart[out.length] = start;
                    out.bytes[out.length++] = b;
                    return out.length < out.bytes.size();
                });
}

}  // namespace

std::size_t Unstuff(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    std::size_t n = 0;
    if (out.empty()) return 0;
    ScanStuffed(in, [&](std::uint8_t b, bool) {
        out[n++] = b;
        return n < out.size();
    });
    return n;
}

void ReadBody(std::span<const std::uint8_t> raw, std::span<std::uint8_t, kBodyLength> body) {
    UnstuffedInput in;
    UnstuffMarked(raw, in);
    int c = 0;
    std::size_t j = 0;
    for (std::size_t i = 0; i < in.length && j < kBodyLength; ++i) {
        c = in.frameStart[i] ? 0 : c + 1;
        if (c >= 2) body[j++] = in.bytes[i];
    }
}

void ReadResponseBody(std::span<const std::uint8_t> raw,
                      std::span<std::uint8_t, kBodyLength> body) {
    UnstuffedInput in;
    UnstuffMarked(raw, in);
    int c = 0;
    std::size_t j = 0;
    bool copying = false;
    for (std::size_t i = 0; i < in.length && j < kBodyLength; ++i) {
        const std::uint8_t type = i + 2 < in.length ? in.bytes[i + 2] : 0;
        if (in.frameStart[i] && type == kTypeAnswer) {
            c = 0;
            copying = true;
        }
        if (!copying) continue;
        ++c;
        if (c >= 3) body[j++] = in.bytes[i];
    }
}

}  // namespace bus

// Feeds arbitrary bytes to unstuffing and arbitrary caller buffers to the encoder: they must
// never read or write outside their buffers, whatever arrives on the port, and what the encoder
// sends (a poll or a frame) must be what the frame rules say.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bus/frame.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// Unstuffing never grows the data and shrinks it by at most one byte per pair.
void CheckUnstuff(std::span<const std::uint8_t> raw) {
    std::vector<std::uint8_t> whole(raw.size());
    const std::size_t n = bus::Unstuff(raw, whole);
    Check(n <= raw.size() && 2 * n >= raw.size());
    // A short output takes a prefix of the same bytes.
    std::vector<std::uint8_t> part(raw.size() / 3);
    const std::size_t k = bus::Unstuff(raw, part);
    Check(k <= part.size() && std::equal(part.begin(), part.begin() + k, whole.begin()));
}

// The caller's buffer of any length: 2 is a poll, sent as it is; 10 a frame, checksummed and
// stuffed; anything else sends nothing.
void CheckEncode(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return;
    const std::size_t length = data[0] % 12;
    std::vector<std::uint8_t> frame(length);
    for (std::size_t i = 0; i < length; ++i) frame[i] = i + 1 < size ? data[i + 1] : 0;
    std::array<std::uint8_t, bus::kMaxEncodedLength> wire{};
    const std::vector<std::uint8_t> before = frame;
    const std::size_t n = bus::EncodeFrame(frame, wire);
    if (length == bus::kPollLength) {
        Check(n == 2 && wire[0] == before[0] && wire[1] == before[1]);
    } else if (length == bus::kFrameLength) {
        Check(n >= bus::kFrameLength && n <= bus::kMaxEncodedLength);
        Check(frame[9] == bus::FrameChecksum(frame));
    } else {
        Check(n == 0 && frame == before);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> raw(data, size);
    (void)bus::FrameChecksum(raw);
    CheckUnstuff(raw);
    CheckEncode(data, size);
    return 0;
}

#pragma once
// The rules every byte on the Q.Wire bus follows: the physical-ID bytes, the frame checksum,
// byte stuffing on the way out and unstuffing on the way in. Pure functions over byte spans, so
// the program's port code, the reader of the wire, the bus simulator and the tests share them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace bus {

// The on-wire byte of physical IDs 0..27: bits 0-4 the ID, bits 5-7 parity bits over it.
// Users take the byte from here and never compute it, so a wrong parity cannot creep in.
inline constexpr std::array<std::uint8_t, 28> kPhysIdTable = {
    0x00, 0xA1, 0x22, 0x83, 0xE4, 0x45, 0xC6, 0x67,  //
    0x48, 0xE9, 0x6A, 0xCB, 0xAC, 0x0D, 0x8E, 0x2F,  //
    0xD0, 0x71, 0xF2, 0x53, 0x34, 0x95, 0x16, 0xB7,  //
    0x98, 0x39, 0xBA, 0x1B,
};
inline constexpr int kPhysIdCount = static_cast<int>(kPhysIdTable.size());

// The physical ID whose byte is `address`, or -1. Any two of the bytes differ in two bits at
// least, so one bit changed on the wire never turns a poll into another ID's.
inline constexpr int PhysIdIndexOf(std::uint8_t address) {
    for (int i = 0; i < kPhysIdCount; ++i)
        if (kPhysIdTable[static_cast<std::size_t>(i)] == address) return i;
    return -1;
}

inline constexpr std::uint8_t kFrameStart = 0x7E;
inline constexpr std::uint8_t kEscape = 0x7D;

inline constexpr std::size_t kPollLength = 2;
inline constexpr std::size_t kFrameLength = 10;
inline constexpr std::size_t kBodyLength = 8;
// Bytes 0 and 1 travel as they are; bytes 2..9 may each double.
inline constexpr std::size_t kMaxEncodedLength = 2 + 2 * (kFrameLength - 2);

// A backlog longer than this is purged unread rather than parsed, which bounds one read.
inline constexpr std::size_t kMaxWaitingBytes = 2000;
inline constexpr bool ExceedsWaitingLimit(std::size_t waiting) {
    return waiting > kMaxWaitingBytes;
}
// Working buffers of one read (raw and unstuffed input).
inline constexpr std::size_t kReadBufferSize = 2048;

using Body = std::array<std::uint8_t, kBodyLength>;

// Ones'-complement sum with end-around carry of frame bytes 2..8; `frame` holds at least 9.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame);

// The checksum of a body (frame bytes 2..9) over its bytes 0..6, as FrameChecksum computes it.
std::uint8_t BodyChecksum(const Body& body);
// Whether a received body carries the checksum of its bytes. Every device computes it as the
// program does, so a body whose checksum fails was hit by noise on the way: any one bit changed
// anywhere in it makes it fail.
inline bool ChecksumHolds(const Body& body) {
    return BodyChecksum(body) == body[kBodyLength - 1];
}

// Prepares a poll (2 bytes) or a frame (10 bytes) for one write. For a frame the checksum is
// written into frame[9] first, replacing whatever the caller left there, and bytes 2..9 are
// stuffed. Returns the number of bytes placed in `out`; 0 for any other length.
std::size_t EncodeFrame(std::span<std::uint8_t> frame,
                        std::span<std::uint8_t, kMaxEncodedLength> out);

// Stuffs frame bytes 2..9 for the wire: 0x7E becomes 7D 5E, 0x7D becomes 7D 5D. Writes at most
// out.size() bytes and returns how many it wrote.
std::size_t Stuff(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// Reverses the stuffing one byte at a time, for bytes that arrive in pieces: 7D 5E -> 7E,
// 7D 5D -> 7D; a 0x7D before anything else is a byte of its own.
class Unstuffer {
  public:
    using Out = std::array<std::uint8_t, 2>;
    // Takes the next byte and puts the bytes it completes (none, one, or a lone 0x7D and this
    // byte) in `out`; returns how many.
    std::size_t Take(std::uint8_t in, Out& out);
    // The input ends here: a 0x7D still held is a byte of its own.
    std::size_t Flush(Out& out);

  private:
    bool escaped_ = false;
};

// Unstuffs a whole span. Writes at most out.size() bytes and returns how many it wrote.
std::size_t Unstuff(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

}  // namespace bus

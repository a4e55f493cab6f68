#include "bus/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs a frame through the encoder and returns what would go on the wire.
Bytes Encode(Bytes& frame) {
    std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
    const std::size_t n = bus::EncodeFrame(frame, out);
    return Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
}

Bytes Unstuffed(const Bytes& in) {
    Bytes out(in.size() + 4, 0xEE);
    out.resize(bus::Unstuff(in, out));
    return out;
}

TEST(PhysIdTable, EveryByteCarriesTheIdAndItsThreeParityBits) {
    ASSERT_EQ(bus::kPhysIdTable.size(), 28u);
    for (int id = 0; id < 28; ++id) {
        auto bit = [id](int k) { return (id >> k) & 1; };
        const int expected = id | ((bit(0) ^ bit(1) ^ bit(2)) << 5) |
                             ((bit(2) ^ bit(3) ^ bit(4)) << 6) | ((bit(0) ^ bit(2) ^ bit(4)) << 7);
        EXPECT_EQ(bus::kPhysIdTable[id], expected) << "id " << id;
    }
    EXPECT_EQ(bus::kPhysIdTable[26], 0xBA);
    EXPECT_EQ(bus::kPhysIdTable[27], 0x1B);
}

TEST(EncodeFrame, WorkedFrames) {
    Bytes enter = {0x7E, 0x1C, 0x21, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Encode(enter), (Bytes{0x7E, 0x1C, 0x21, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0xD4}));

    Bytes wraps = {0x7E, 0x1C, 0x31, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Encode(wraps), (Bytes{0x7E, 0x1C, 0x31, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xCE}));

    Bytes stuffedValue = {0x7E, 0x1C, 0x31, 0x00, 0x0A, 0x22, 0x7E, 0x00, 0x00, 0x00};
    EXPECT_EQ(Encode(stuffedValue),
              (Bytes{0x7E, 0x1C, 0x31, 0x00, 0x0A, 0x22, 0x7D, 0x5E, 0x00, 0x00, 0x24}));

    Bytes stuffedChecksum = {0x7E, 0x1C, 0x31, 0x00, 0x0A, 0x22, 0x24, 0x00, 0x00, 0x00};
    EXPECT_EQ(Encode(stuffedChecksum),
              (Bytes{0x7E, 0x1C, 0x31, 0x00, 0x0A, 0x22, 0x24, 0x00, 0x00, 0x7D, 0x5E}));
    EXPECT_EQ(stuffedChecksum[9], 0x7E);
}

TEST(EncodeFrame, ChecksumEdges) {
    Bytes zeros = {0x7E, 0x1C, 0, 0, 0, 0, 0, 0, 0, 0x55};
    Encode(zeros);
    EXPECT_EQ(zeros[9], 0xFF);  // also: the caller's 0x55 is replaced

    Bytes sum255 = {0x7E, 0x1C, 0xF0, 0x0F, 0, 0, 0, 0, 0, 0x55};
    Encode(sum255);
    EXPECT_EQ(zeros[9], 0xFF);
    EXPECT_EQ(sum255[9], 0x00);
}

TEST(EncodeFrame, OnlyBytesTwoToNineAreStuffedAndEachAddsOne) {
    Bytes addr7E = {0x7E, 0x7E, 0x10, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Encode(addr7E).size(), 10u);
    EXPECT_EQ(Encode(addr7E)[1], 0x7E);
    Bytes addr7D = {0x7E, 0x7D, 0x10, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Encode(addr7D)[1], 0x7D);
    EXPECT_EQ(Encode(addr7D).size(), 10u);

    // 7E 7D 7D 7D: the sum wraps to 0xF6, checksum 0x09.
    Bytes four = {0x7E, 0x1C, 0x7E, 0x7D, 0x7D, 0x7D, 0x00, 0x00, 0x00, 0};
    EXPECT_EQ(Encode(four), (Bytes{0x7E, 0x1C, 0x7D, 0x5E, 0x7D, 0x5D, 0x7D, 0x5D, 0x7D, 0x5D, 0x00,
                                   0x00, 0x00, 0x09}));

    // Seven 0x7D sum to 0x36B -> 0x6E after three carries; checksum 0x91: 17 bytes.
    Bytes seven = {0x7E, 0x1C, 0x7D, 0x7D, 0x7D, 0x7D, 0x7D, 0x7D, 0x7D, 0};
    EXPECT_EQ(Encode(seven).size(), 17u);
    EXPECT_EQ(seven[9], 0x91);
}

TEST(EncodeFrame, PollIsCopiedAndOtherLengthsWriteNothing) {
    Bytes poll = {0x7E, 0xBA};
    EXPECT_EQ(Encode(poll), (Bytes{0x7E, 0xBA}));
    Bytes odd = {0x7E, 0x1C, 0x21};
    EXPECT_TRUE(Encode(odd).empty());
    Bytes eleven(11, 0);
    EXPECT_TRUE(Encode(eleven).empty());
    EXPECT_EQ(eleven[9], 0);  // no checksum written either
}

TEST(Unstuff, PairsAndLoneBytes) {
    EXPECT_EQ(Unstuffed({0x7D, 0x5D, 0x5E}), (Bytes{0x7D, 0x5E}));
    EXPECT_EQ(Unstuffed({0x7D, 0x5E}), (Bytes{0x7E}));
    EXPECT_EQ(Unstuffed({0x5E, 0x5D, 0x10, 0x5E}), (Bytes{0x5E, 0x5D, 0x10, 0x5E}));
    EXPECT_EQ(Unstuffed({0x7D, 0x10, 0x7D}), (Bytes{0x7D, 0x10, 0x7D}));
    EXPECT_EQ(Unstuffed({0x7D, 0x7D, 0x5E}), (Bytes{0x7D, 0x7E}));
    EXPECT_TRUE(Unstuffed({}).empty());
}

TEST(Unstuff, NeverWritesPastTheOutput) {
    Bytes in(100, 0x41);
    std::array<std::uint8_t, 8> out{};
    EXPECT_EQ(bus::Unstuff(in, out), 8u);
}

TEST(BacklogLimit, TwoThousandBytesAreStillRead) {
    EXPECT_FALSE(bus::ExceedsWaitingLimit(2000));
    EXPECT_TRUE(bus::ExceedsWaitingLimit(2001));
    EXPECT_LE(bus::kMaxWaitingBytes, bus::kReadBufferSize);
}

}  // namespace

// What one scan tick takes from what it read, byte for byte: the one-frame read as it always
// was, and the reads an adapter that holds bytes back delivers (several echoes and answers, cut
// answers, bare echoes), where each answer must count for the poll whose echo stands before it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus/frame.h"
#include "sensors/telemetry_frames.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Echo(int physId) {
    return {bus::kFrameStart, bus::kPhysIdTable[static_cast<std::size_t>(physId)]};
}

// A telemetry answer as a device sends it: its bytes stuffed, the checksum last.
Bytes Answer(std::uint16_t dataId, std::uint32_t value = 0) {
    Bytes body = {0x10,
                  static_cast<std::uint8_t>(dataId),
                  static_cast<std::uint8_t>(dataId >> 8),
                  static_cast<std::uint8_t>(value),
                  static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value >> 16),
                  static_cast<std::uint8_t>(value >> 24),
                  0x5A};
    Bytes out;
    for (std::uint8_t b : body) {
        if (b == bus::kFrameStart || b == bus::kEscape) {
            out.push_back(bus::kEscape);
            out.push_back(static_cast<std::uint8_t>(b ^ 0x20));
        } else {
            out.push_back(b);
        }
    }
    return out;
}

Bytes Unit(int physId, std::uint16_t dataId, std::uint32_t value = 0) {
    Bytes u = Echo(physId);
    Bytes a = Answer(dataId, value);
    u.insert(u.end(), a.begin(), a.end());
    return u;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// What a unit is credited with: the physical ID and the data ID of its answer.
struct Credit {
    int physId;
    std::uint16_t dataId;
    bool operator==(const Credit&) const = default;
};

std::vector<Credit> Take(const Bytes& raw, int previousPoll) {
    std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> units;
    const std::size_t n = telemetry::TakeScanUnits(raw, previousPoll, units);
    std::vector<Credit> credits;
    for (std::size_t i = 0; i < n; ++i)
        credits.push_back({units[i].physIdIndex,
                           static_cast<std::uint16_t>(units[i].body[1] | units[i].body[2] << 8)});
    return credits;
}

struct Case {
    const char* name;
    Bytes raw;
    int previousPoll;
    std::vector<Credit> expected;
};

TEST(ScanUnitsTest, EachAnswerCountsForTheEchoInFrontOfIt) {
    const Case cases[] = {
        {"one frame, the echo of the previous poll", Unit(11, 0x0A07), 11, {{11, 0x0A07}}},
        {"one frame held back a tick: its echo names the poll before",
         Unit(9, 0x0A03),
         10,
         {{9, 0x0A03}}},
        {"one frame whose second byte names no poll counts for the previous poll, as ever",
         Join({{0x7E, 0x55}, Answer(0x0A03)}),
         6,
         {{6, 0x0A03}}},
        {"two answers in one read",
         Join({Unit(3, 0x0300), Unit(9, 0x0A01)}),
         9,
         {{3, 0x0300}, {9, 0x0A01}}},
        {"an answer and the echo of the poll just written",
         Join({Unit(3, 0x0300), Echo(4)}),
         3,
         {{3, 0x0300}}},
        {"bare echoes of unanswered polls around an answer",
         Join({Echo(1), Echo(2), Unit(3, 0x0820), Echo(4), Echo(5)}),
         4,
         {{3, 0x0820}}},
        {"a cut answer, then a whole one",
         Join({Echo(5), {0x10, 0x00, 0x0A, 0x01}, Unit(6, 0x0400)}),
         6,
         {{6, 0x0400}}},
        {"stray bytes behind an answer spoil it",
         Join({Unit(3, 0x0300), {0x00, 0x11}, Unit(8, 0x0500)}),
         8,
         {{8, 0x0500}}},
        {"an answer behind an echo that names no poll is skipped",
         Join({{0x7E, 0x55}, Answer(0x0A03), Unit(2, 0x0210)}),
         2,
         {{2, 0x0210}}},
        {"stuffed 7E and 7D values are data, not frame starts",
         Join({Unit(12, 0x0A7E, 0x7D7E7D7E), Unit(13, 0x0B7D)}),
         13,
         {{12, 0x0A7E}, {13, 0x0B7D}}},
        {"a 16 ms chunk: four polls, two answers",
         Join({Echo(20), Unit(21, 0x0D00), Echo(22), Unit(23, 0xFD2A)}),
         23,
         {{21, 0x0D00}, {23, 0xFD2A}}},
        {"bare echoes and the start of an answer that make ten bytes are not one frame",
         Join({Echo(7), Echo(8), Echo(9), {0x10, 0x03, 0x0A, 0xA9}}),
         9,
         {}},
        {"nothing", {}, 0, {}},
        {"an echo alone", Echo(7), 7, {}},
        {"garbage without a frame start", Bytes(40, 0x22), 0, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Take(c.raw, c.previousPoll), c.expected) << c.name;
}

TEST(ScanUnitsTest, BodiesAreUnstuffedAndRoomIsNeverExceeded) {
    const Bytes raw = Join({Unit(12, 0x0A00, 0x7D7E0102), Unit(13, 0x0A00), Unit(14, 0x0A00)});
    std::array<telemetry::ScanUnit, 2> room;
    ASSERT_EQ(telemetry::TakeScanUnits(raw, 14, room), 2u);
    EXPECT_EQ(room[0].body, (bus::Body{0x10, 0x00, 0x0A, 0x02, 0x01, 0x7E, 0x7D, 0x5A}));
    EXPECT_EQ(room[1].physIdIndex, 13);
}

// An adapter hands a read over wherever its timer falls: inside an echo, inside an answer,
// inside a stuffed pair. Whatever the cut, the piece kept from the first read and put before the
// second gives the same answers as one read of everything.
TEST(ScanUnitsTest, AnAnswerHandedOverInTwoPiecesStillCounts) {
    const Bytes wire =
        Join({Unit(2, 0x0A7E, 0x7D7E0000), Echo(3), Unit(4, 0x0300), Unit(5, 0x0820)});
    const std::vector<Credit> whole = {{2, 0x0A7E}, {4, 0x0300}, {5, 0x0820}};
    ASSERT_EQ(Take(wire, 5), whole);
    for (std::size_t cut = 0; cut <= wire.size(); ++cut) {
        const Bytes first(wire.begin(), wire.begin() + static_cast<std::ptrdiff_t>(cut));
        std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> units;
        std::size_t unfinishedAt = 0;
        const std::size_t n = telemetry::TakeScanUnits(first, 0, units, &unfinishedAt);
        ASSERT_LE(first.size() - unfinishedAt, telemetry::kMaxUnfinishedUnit) << "cut at " << cut;
        Bytes second(first.begin() + static_cast<std::ptrdiff_t>(unfinishedAt), first.end());
        second.insert(second.end(), wire.begin() + static_cast<std::ptrdiff_t>(cut), wire.end());
        std::vector<Credit> both = Take(first, 0);
        ASSERT_EQ(both.size(), n);
        const std::vector<Credit> rest = Take(second, 0);
        both.insert(both.end(), rest.begin(), rest.end());
        EXPECT_EQ(both, whole) << "cut at " << cut;
    }
}

}  // namespace

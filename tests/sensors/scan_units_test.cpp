// What the scan takes from what it read, byte for byte: the one-frame read as it always was, and
// the reads an adapter that holds bytes back delivers (several echoes and answers, cut answers,
// bare echoes), where each answer must count for the poll whose echo stands before it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus/frame.h"
#include "bus/wire_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Echo(int physId) {
    return {bus::kFrameStart, bus::kPhysIdTable[static_cast<std::size_t>(physId)]};
}

// A telemetry answer as a device sends it: its bytes stuffed, the checksum last.
Bytes Answer(std::uint16_t dataId, std::uint32_t value = 0) {
    bus::Body body = {0x10,
                      static_cast<std::uint8_t>(dataId),
                      static_cast<std::uint8_t>(dataId >> 8),
                      static_cast<std::uint8_t>(value),
                      static_cast<std::uint8_t>(value >> 8),
                      static_cast<std::uint8_t>(value >> 16),
                      static_cast<std::uint8_t>(value >> 24),
                      0};
    body.back() = bus::BodyChecksum(body);
    Bytes out(2 * body.size());
    out.resize(bus::Stuff(body, out));
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

// Every whole answer of the reads, credited as the scan credits it: to the physical ID of the
// echoed poll that heads it.
std::vector<Credit> Take(std::initializer_list<Bytes> reads) {
    bus::WireReader wire;
    std::vector<Credit> credits;
    for (const Bytes& raw : reads)
        for (const bus::WireEvent& e : wire.Take(raw))
            if (const int id = bus::PhysIdIndexOf(e.address);
                e.kind == bus::WireEvent::Kind::kFrame && id >= 0)
                credits.push_back({id, static_cast<std::uint16_t>(e.body[1] | e.body[2] << 8)});
    return credits;
}

struct Case {
    const char* name;
    Bytes raw;
    std::vector<Credit> expected;
};

TEST(ScanUnitsTest, EachAnswerCountsForTheEchoInFrontOfIt) {
    const Case cases[] = {
        {"one frame, the echo of the previous poll", Unit(11, 0x0A07), {{11, 0x0A07}}},
        {"one frame held back a tick: its echo names the poll before",
         Unit(9, 0x0A03),
         {{9, 0x0A03}}},
        {"two answers in one read",
         Join({Unit(3, 0x0300), Unit(9, 0x0A01)}),
         {{3, 0x0300}, {9, 0x0A01}}},
        {"an answer and the echo of the poll just written",
         Join({Unit(3, 0x0300), Echo(4)}),
         {{3, 0x0300}}},
        {"bare echoes of unanswered polls around an answer",
         Join({Echo(1), Echo(2), Unit(3, 0x0820), Echo(4), Echo(5)}),
         {{3, 0x0820}}},
        {"a cut answer, then a whole one",
         Join({Echo(5), {0x10, 0x00, 0x0A, 0x01}, Unit(6, 0x0400)}),
         {{6, 0x0400}}},
        {"stray bytes behind a whole answer are skipped",
         Join({Unit(3, 0x0300), {0x00, 0x11}, Unit(8, 0x0500)}),
         {{3, 0x0300}, {8, 0x0500}}},
        {"an answer behind an echo that names no poll is skipped",
         Join({{0x7E, 0x55}, Answer(0x0A03), Unit(2, 0x0210)}),
         {{2, 0x0210}}},
        {"stuffed 7E and 7D values are data, not frame starts",
         Join({Unit(12, 0x0A7E, 0x7D7E7D7E), Unit(13, 0x0B7D)}),
         {{12, 0x0A7E}, {13, 0x0B7D}}},
        {"a 16 ms chunk: four polls, two answers",
         Join({Echo(20), Unit(21, 0x0D00), Echo(22), Unit(23, 0xFD2A)}),
         {{21, 0x0D00}, {23, 0xFD2A}}},
        {"bare echoes and the start of an answer that make ten bytes are not one frame",
         Join({Echo(7), Echo(8), Echo(9), {0x10, 0x03, 0x0A, 0xA9}}),
         {}},
        {"nothing", {}, {}},
        {"an echo alone", Echo(7), {}},
        {"garbage without a frame start", Bytes(40, 0x22), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Take({c.raw}), c.expected) << c.name;
}

// An adapter hands a read over wherever its timer falls: inside an echo, inside an answer,
// inside a stuffed pair. Whatever the cut, the two reads give the same answers as one read of
// everything.
TEST(ScanUnitsTest, AnAnswerHandedOverInTwoPiecesStillCounts) {
    const Bytes wire =
        Join({Unit(2, 0x0A7E, 0x7D7E0000), Echo(3), Unit(4, 0x0300), Unit(5, 0x0820)});
    const std::vector<Credit> whole = {{2, 0x0A7E}, {4, 0x0300}, {5, 0x0820}};
    ASSERT_EQ(Take({wire}), whole);
    for (std::size_t cut = 0; cut <= wire.size(); ++cut) {
        const Bytes first(wire.begin(), wire.begin() + static_cast<std::ptrdiff_t>(cut));
        const Bytes second(wire.begin() + static_cast<std::ptrdiff_t>(cut), wire.end());
        EXPECT_EQ(Take({first, second}), whole) << "cut at " << cut;
    }
}

}  // namespace

// The reader of the wire on byte streams as devices and adapters deliver them: echoes of what the
// program wrote told from the devices' frames, answers placed after the echo they follow, stale
// answers told apart by their place, and the same result however an adapter cuts the bytes.

#include "bus/wire_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encoded(Bytes frame) {
    std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
    return Bytes(out.begin(),
                 out.begin() + static_cast<std::ptrdiff_t>(bus::EncodeFrame(frame, out)));
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A body as a device sends it, with the checksum of its first seven bytes.
Bytes Sealed(Bytes body) {
    bus::Body b{};
    std::copy_n(body.begin(), b.size(), b.begin());
    body[7] = bus::BodyChecksum(b);
    return body;
}

const Bytes kPoll = {0x7E, 0xA1};
const Bytes kAnswer = {0x32, 0x10, 0x0A, 0x0C, 0x05, 0x00, 0x00, 0xA2};  // the worked answer
const Bytes kTelemetry = Sealed({0x10, 0x00, 0x0A, 0x01, 0x02, 0x03, 0x04, 0});
const Bytes kRead = Encoded({0x7E, 0x1C, 0x30, 0x00, 0x0A, 0x0C, 0, 0, 0, 0});
const Bytes kReadRate = Encoded({0x7E, 0x1C, 0x30, 0x00, 0x0A, 0x22, 0, 0, 0, 0});
const Bytes kWriteOf7E = Encoded({0x7E, 0x1C, 0x31, 0x00, 0x0A, 0x22, 0x7E, 0, 0, 0});
// What noise on the wire makes of our writes: one bit of the address or data ID changed, heard
// so by the devices too.
const Bytes kPollHit = {0x7E, 0xA0};
Bytes Hit(Bytes written, std::size_t at) {
    written[at] ^= 0x01;
    return written;
}
// The stabilizer's poll and requests go to one address byte.
const Bytes kKxvPoll = {0x7E, 0xBA};
const Bytes kKxvRead = Encoded({0x7E, 0xBA, 0x30, 0x30, 0x0C, 0x80, 0, 0, 0, 0});
const Bytes kKxvAnswer = {0x32, 0x30, 0x0C, 0x80, 0x05, 0x00, 0x00, 0x0C};
// The fuel kit answers a request at once, without a poll, under its own physical ID.
const Bytes kKitRead = Encoded({0x7E, 0x1B, 0x30, 0x00, 0x0D, 0x0C, 0, 0, 0, 0});
const Bytes kKitAnswer = {0x7E, 0x16, 0x32, 0x00, 0x0D, 0x0C, 0x12, 0x00, 0x00, 0xA2};

// Events as text: E<seq> for an echo, F<seq>:<address>:<type> for a frame (C when current).
std::string Described(bus::WireReader& r, std::span<const bus::WireEvent> events) {
    std::string text;
    char item[24];
    for (const bus::WireEvent& e : events) {
        if (e.kind == bus::WireEvent::Kind::kEcho)
            std::snprintf(item, sizeof item, "E%u ", e.seq);
        else
            std::snprintf(item, sizeof item, "F%u:%02X:%02X%s ", e.seq, e.address, e.body[0],
                          r.Answers(e) ? "C" : "");
        text += item;
    }
    return text;
}

// What the program wrote, then the wire handed over in pieces of `chunk` bytes (0: at once);
// last, S<n>: the items up to n are settled.
std::string Read(const std::vector<Bytes>& sent, const Bytes& wire, std::size_t chunk = 0) {
    bus::WireReader r;
    for (const Bytes& s : sent) r.Sent(s);
    std::string text;
    const std::size_t step = chunk ? chunk : std::max<std::size_t>(wire.size(), 1);
    for (std::size_t i = 0; i < wire.size(); i += step)
        text += Described(r, r.Take(std::span(wire).subspan(i, std::min(step, wire.size() - i))));
    std::uint32_t settled = 0;
    while (settled < sent.size() && r.Settled(settled + 1)) ++settled;
    return text + "S" + std::to_string(settled);
}

struct Case {
    const char* name;
    std::vector<Bytes> sent;
    Bytes wire;
    const char* events;
};

const Case kCases[] = {
    {"a device's answer heard alone", {}, Cat({kPoll, kAnswer}), "F0:A1:32C S0"},
    {"our poll's echo heads its answer", {kPoll}, Cat({kPoll, kAnswer}), "E1 F1:A1:32C S1"},
    {"half an answer: what follows our poll is not known yet",
     {kPoll},
     Cat({kPoll, {0x32, 0x10, 0x0A}}),
     "S0"},
    {"the answer to the poll after our request",
     {kRead, kPoll},
     Cat({kRead, kPoll, kAnswer}),
     "E1 E2 F2:A1:32C S2"},
    {"an answer before our request's echo is an earlier request's; what follows the echo is to "
     "come",
     {kRead},
     Cat({kPoll, kAnswer, kRead}),
     "F0:A1:32 E1 S0"},
    {"a request answered at once is settled by its answer",
     {kKitRead},
     Cat({kKitRead, kKitAnswer}),
     "E1 F1:16:32C S1"},
    {"an answer with a data ID of its own still answers",
     {kRead, kPoll},
     Cat({kRead, kPoll, {0x32, 0x10, 0x0A, 0x0C, 0x05, 0, 0, 0xA2}}),
     "E1 E2 F2:A1:32C S2"},
    {"an answer after an earlier, different request answers that one",
     {kRead, kPoll, kReadRate, kPoll},
     Cat({kRead, kPoll, kAnswer, kReadRate, kPoll, kAnswer}),
     "E1 E2 F2:A1:32 E3 E4 F4:A1:32C S4"},
    {"a request with a 0x7E value comes back stuffed", {kWriteOf7E}, kWriteOf7E, "E1 S0"},
    {"a 0x7D before anything but 5E or 5D is a byte of its own",
     {},
     {0x7E, 0xA1, 0x32, 0x7D, 0x10, 1, 2, 3, 4, 0x36},
     "F0:A1:32C S0"},
    {"a device's frame like our request is not its echo",
     {kRead},
     Cat({{0x7E, 0x1C, 0x30, 0x00, 0x0A, 0x0D, 0, 0, 0, 0xB8}, kRead}),
     "F0:1C:30 E1 S0"},
    {"a frame cut by the next frame start is dropped",
     {},
     Cat({{0x7E, 0xA1, 0x10, 0x01}, kPoll, kAnswer}),
     "F0:A1:32C S0"},
    {"a bare poll echo is no answer, and settled by the next frame start",
     {kPoll, kPoll},
     Cat({kPoll, kPoll, kTelemetry}),
     "E1 E2 F2:A1:10C S2"},
    {"bytes before any frame start are skipped",
     {},
     Cat({{0xA1, 0x32}, kPoll, kTelemetry}),
     "F0:A1:10C S0"},
    {"an echo lost on the wire: the next request's echo still counts",
     {kPoll, kRead, kPoll},
     Cat({kRead, kPoll, kAnswer}),
     "E2 E3 F3:A1:32C S3"},
    {"a poll's answer from before a purge is not taken for our poll behind our request",
     {kRead, kPoll},
     Cat({kPoll, kTelemetry, kRead, kPoll, kAnswer}),
     "F0:A1:10 E1 E2 F2:A1:32C S2"},
    {"receiver traffic: polls we did not send, their answers",
     {},
     Cat({kPoll, kTelemetry, {0x7E, 0x22}, {0x7E, 0x83}, kTelemetry}),
     "F0:A1:10C F0:83:10C S0"},
    // Noise: one write comes back changed, and no device heard it as written.
    {"a poll hit by noise names no ID: settled, the next poll's echo is the next poll's",
     {kPoll, kPoll},
     Cat({kPollHit, kPoll, kAnswer}),
     "E2 F2:A1:32C S2"},
    {"a request hit by noise: a device's last answer after it answers no question of this one",
     {kRead, kPoll},
     Cat({Hit(kRead, 3), kPoll, kAnswer}),
     "E2 F2:A1:32 S2"},
    {"a request hit in its address byte likewise",
     {kRead, kPoll},
     Cat({Hit(kRead, 1), kPoll, kAnswer}),
     "E2 F2:A1:32 S2"},
    {"a request sent again asks the same question: its echo is the copy's own",
     {kRead, kPoll, kRead, kPoll},
     Cat({Hit(kRead, 3), kPoll, kRead, kPoll, kAnswer}),
     "E2 E3 E4 F4:A1:32C S4"},
    {"copies of a request whose first echo never came: the answer counts after either",
     {kRead, kRead, kPoll},
     Cat({kRead, kPoll, kAnswer}),
     "E1 F1:A1:32C S1"},
    {"a request answered at once, hit by noise, is settled at once with no answer",
     {kKitRead},
     Hit(kKitRead, 4),
     "S1"},
    {"a poll and a request to the same address are told apart by the whole frame",
     {kKxvPoll, kKxvRead, kKxvPoll},
     Cat({kKxvPoll, kKxvRead, kKxvPoll, kKxvAnswer}),
     "E1 E2 E3 F3:BA:32C S3"},
    // Noise on what a device sends: the checksum fails, and the frame is no value.
    {"an answer hit by noise settles our poll with no answer",
     {kPoll, kPoll},
     Cat({kPoll, Hit(kAnswer, 4), kPoll, kAnswer}),
     "E1 E2 F2:A1:32C S2"},
    {"behind a poll hit by noise, a request to the same address is still a request",
     {kKxvPoll, kKxvRead, kKxvPoll},
     Cat({Hit(kKxvPoll, 1), kKxvRead, kKxvPoll, kKxvAnswer}),
     "E2 E3 F3:BA:32C S3"},
};

TEST(WireReader, TellsEchoesFromFramesAndPlacesEachFrame) {
    for (const Case& c : kCases) {
        EXPECT_EQ(Read(c.sent, c.wire), c.events) << c.name;
        // An adapter may hand the same bytes over in any pieces: nothing may change.
        for (std::size_t chunk : {1, 2, 3, 7, 9})
            EXPECT_EQ(Read(c.sent, c.wire, chunk), c.events) << c.name << ", pieces of " << chunk;
    }
}

TEST(WireReader, EchoesThatNeverComeAreGivenUpAndAPurgeForgetsThem) {
    bus::WireReader r;
    const std::uint32_t first = r.Sent(kPoll);
    for (std::size_t i = 0; i < bus::WireReader::kMaxAwaited; ++i) r.Sent(kPoll);
    EXPECT_TRUE(r.Settled(first));
    const std::uint32_t last = r.Sent(kRead);
    r.Clear();
    EXPECT_TRUE(r.Settled(last));
    EXPECT_EQ(Described(r, r.Take(Cat({kRead, kPoll, kAnswer}))), "F0:1C:30C F0:A1:32C ");
}

}  // namespace

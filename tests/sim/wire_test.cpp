// The wire itself: echo, pacing, delivery, the receiver's own polling, and every fault.

#include <set>

#include "sim/options.h"
#include "sim/sim_wire.h"
#include "support/sim_virtual_line.h"

namespace {

using simtest::Bytes;
using simtest::Wire;

TEST(Wire, EveryWrittenByteComesBack) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    const Bytes request = {0x7E, 0x1C, 0x30, 0x00, 0x0A, 0x22, 0x7D, 0x5E, 0x00, 0x00, 0x11};
    EXPECT_EQ(w.Send(request), request) << "a request, stuffed bytes included";
    EXPECT_EQ(w.Poll(17), (Bytes{0x7E, 0x71})) << "a poll of an absent device";
    const Bytes noise = {0x01, 0x7D, 0xFF, 0x5E};
    EXPECT_EQ(w.Send(noise), noise);
    const Bytes answered = w.Poll(9);
    EXPECT_EQ((Bytes{answered[0], answered[1]}), (Bytes{0x7E, 0xE9})) << "poll echo first";
}

TEST(Wire, PollsReadTogetherAreEachAnsweredBeforeTheNextIsEchoed) {
    // A simulator run late reads two of the program's polls at once; on the wire the second
    // went out after the first one's answer, and a scan credits an answer to the echo before it.
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    const Bytes back = w.Send({0x7E, 0xE9, 0x7E, 0x6A});
    ASSERT_GE(back.size(), 12u);
    EXPECT_EQ((Bytes{back[0], back[1], back[2]}), (Bytes{0x7E, 0xE9, 0x10}));
    EXPECT_EQ((Bytes{back[back.size() - 2], back.back()}), (Bytes{0x7E, 0x6A}));
}

TEST(Wire, BytesArriveAtLineSpeedAndAPollWithItsAnswerArrivesAsOneBurst) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    const Bytes poll = {0x7E, 0xE9};
    w.bus.Write(poll.data(), poll.size(), w.now);
    EXPECT_EQ(w.bus.Available(w.now), 0u) << "nothing is back at the moment of writing";
    EXPECT_EQ(w.bus.Available(w.now + 1000), 0u) << "mid-burst";
    // Echo 2 bytes, 300 µs reply delay, 8 answer bytes: 10 × 173.6 µs + 300 µs, 2035 µs.
    EXPECT_EQ(w.bus.Available(w.now + 2034), 0u);
    EXPECT_EQ(w.bus.Available(w.now + 2035), 10u);

    sim::Timing perByte = w.bus.GetTiming();
    perByte.deliveryGap = 0;
    w.bus.SetTiming(perByte);
    w.now += 10'000;
    w.Take();
    w.bus.Write(poll.data(), poll.size(), w.now);
    EXPECT_EQ(w.bus.Available(w.now + 172), 0u);
    EXPECT_EQ(w.bus.Available(w.now + 173), 1u);
    EXPECT_EQ(w.bus.Available(w.now + 347), 2u);
    EXPECT_EQ(w.bus.Available(w.now + 820), 3u);
}

// kestrova-sim --latency: what the wire carried reaches the program only at the adapter's
// hand-overs, however long ago it arrived.
TEST(Wire, ALatencyTimerHandsBytesOverOnlyEveryPeriod) {
    std::string error;
    auto options = sim::ParseOptions({"--port", "COM3", "--latency", "16"}, error);
    ASSERT_TRUE(options) << error;
    Wire w;
    ASSERT_TRUE(sim::SetUpBus(w.bus, *options, error)) << error;
    EXPECT_EQ(w.bus.GetTiming().handOverPeriod, 16'000);
    EXPECT_FALSE(sim::ParseOptions({"--port", "COM3", "--latency", "-1"}, error));

    const sim::Micros start = w.now - w.now % 16'000 + 16'000;  // a hand-over
    const Bytes poll = {0x7E, 0xE9};
    w.bus.Write(poll.data(), poll.size(), start + 1000);
    EXPECT_EQ(w.bus.Available(start + 15'999), 0u) << "all there since 3 ms, still held";
    EXPECT_EQ(w.bus.NextDelivery(start + 15'999), start + 16'000);
    Bytes in(64);
    EXPECT_EQ(w.bus.Read(in.data(), in.size(), start + 16'000), 10u);
    // The next poll's echo and answer straddle a hand-over: a first piece, the rest 16 ms later.
    w.bus.Write(poll.data(), poll.size(), start + 31'000);
    const std::size_t piece = w.bus.Available(start + 32'000);
    EXPECT_GT(piece, 2u);
    EXPECT_LT(piece, 10u);
    EXPECT_EQ(w.bus.Available(start + 47'999), piece);
    EXPECT_EQ(w.bus.Available(start + 48'000), 10u);
}

TEST(Wire, DiscardDropsOnlyWhatHasArrived) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    const Bytes poll = {0x7E, 0xE9};
    w.bus.Write(poll.data(), poll.size(), w.now);
    w.bus.DiscardInput(w.now + 100);
    EXPECT_EQ(w.bus.Available(w.now + 5000), 10u);
    w.bus.DiscardInput(w.now + 5000);
    EXPECT_EQ(w.bus.Available(w.now + 5000), 0u);
}

TEST(Wire, ReceiverModePollsItsSensorsAndEveryBurstIsOneWholeFrame) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    w.bus.AddDevice(*sim::FindKind("vario"));
    w.bus.SetReceiverMode(true, w.now);
    std::set<int> answeredBy;
    int frames = 0;
    // A listener that reads every millisecond, as the Monitoring decoder does.
    for (int ms = 0; ms < 200; ++ms) {
        w.now += 1000;
        const Bytes in = w.Take();
        if (in.empty()) continue;
        Bytes unstuffed(in.size());
        unstuffed.resize(bus::Unstuff(in, unstuffed));
        ASSERT_EQ(unstuffed.size(), 10u);
        ASSERT_EQ(unstuffed[0], 0x7E);
        answeredBy.insert(unstuffed[1]);
        EXPECT_EQ(unstuffed[2], 0x10);
        ++frames;
    }
    EXPECT_EQ(answeredBy, (std::set<int>{0xE9, 0x00}));
    EXPECT_GE(frames, 18);
}

TEST(DeviceFaults, SilentIgnoringEnterGarbageCutAndSlow) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("airspeed"));

    d.SetFault(sim::DeviceFault::kSilent, true);
    EXPECT_EQ(w.Poll(9).size(), 2u);
    d.SetFault(sim::DeviceFault::kSilent, false);

    d.SetFault(sim::DeviceFault::kIgnoresEnter, true);
    w.Request(0x21, 0x0A00);
    EXPECT_FALSE(d.InConfig());
    EXPECT_EQ(w.PollBody(9)[0], 0x10);
    d.SetFault(sim::DeviceFault::kIgnoresEnter, false);

    d.SetFault(sim::DeviceFault::kCutFrames, true);
    const Bytes cut = w.Poll(9);
    EXPECT_GT(cut.size(), 2u);
    EXPECT_LT(cut.size(), 10u);
    d.SetFault(sim::DeviceFault::kCutFrames, false);

    d.SetFault(sim::DeviceFault::kGarbage, true);
    const Bytes garbage = w.Poll(9);
    ASSERT_GE(garbage.size(), 10u);
    const bus::Body b = simtest::BodyOf(garbage);
    EXPECT_FALSE(b[0] == 0x10 && simtest::ChecksumOk(0xE9, b));
    d.SetFault(sim::DeviceFault::kGarbage, false);

    d.SetFault(sim::DeviceFault::kSlowAnswers, true);
    EXPECT_EQ(w.Poll(9).size(), 2u) << "not there by the next 4 ms scan tick";
    w.now += 20'000;
    EXPECT_EQ(w.Take().size(), 8u);
}

TEST(BusFaults, GarbageFloodAndVanishingPort) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    w.bus.SetFault(sim::BusFault::kGarbage, true, w.now);
    w.now += 100'000;
    EXPECT_GT(w.Take().size(), 0u) << "bytes nobody asked for";
    w.bus.SetFault(sim::BusFault::kGarbage, false);
    w.Take();

    w.bus.SetFault(sim::BusFault::kFlood, true);
    w.Poll(9);
    w.now += 400'000;
    EXPECT_GT(w.bus.Available(w.now), bus::kMaxWaitingBytes) << "more than a reader takes";
    w.bus.SetFault(sim::BusFault::kFlood, false);
    w.Take();

    EXPECT_TRUE(w.bus.Present());
    w.bus.SetFault(sim::BusFault::kPortGone, true);
    EXPECT_FALSE(w.bus.Present());
    EXPECT_EQ(w.Poll(9).size(), 0u);
}

TEST(VirtualLineBridge, CarriesTheProgramsBytesBothWays) {
    auto bus = std::make_shared<sim::Bus>();
    bus->AddDevice(*sim::FindKind("airspeed"));
    kestrova::test::SimVirtualLine line(bus);
    const std::uint8_t poll[] = {0x7E, 0xE9};
    line.Write(poll, 2, 1000);
    EXPECT_EQ(line.Available(1000), 0u);
    EXPECT_EQ(line.Available(6000), 10u);
    std::uint8_t in[16];
    EXPECT_EQ(line.Read(in, sizeof in, 6000), 10u);
    EXPECT_EQ(in[2], 0x10);
    bus->SetFault(sim::BusFault::kPortGone, true);
    EXPECT_FALSE(line.Present());
}

}  // namespace

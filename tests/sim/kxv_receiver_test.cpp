// The simulator as a receiver that the program configures: `--receiver` brings its KXV
// stabilizer, and its own polling keeps quiet while a device is in configuration access.

#include <gtest/gtest.h>

#include "sim/options.h"
#include "sim/sim_wire.h"

namespace {

using simtest::Bytes;
using simtest::Wire;

constexpr std::uint8_t kAirSpeedPoll = 0xE9;  // the receiver's poll of physical ID 9

// The receiver's polls of the air-speed sensor among the bytes that came back.
int ReceiverPolls(const Bytes& in) {
    int n = 0;
    for (std::size_t i = 0; i + 1 < in.size(); ++i)
        n += in[i] == 0x7E && in[i + 1] == kAirSpeedPoll;
    return n;
}

TEST(KxvReceiver, ReceiverModeBringsTheStabilizerAtPhysicalId26) {
    struct Case {
        std::vector<std::string> args;
        const char* kindAt26;  // nullptr: nothing there
    };
    const Case cases[] = {
        {{"--port", "COM2", "--receiver"}, "kxv"},
        {{"--port", "COM2", "--receiver", "--device", "kxv"}, "kxv"},
        {{"--port", "COM2", "--receiver", "--device", "servo@26"}, "servo"},
        {{"--port", "COM2"}, nullptr},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto options = sim::ParseOptions(c.args, error);
        ASSERT_TRUE(options) << error;
        sim::Bus bus;
        ASSERT_TRUE(sim::SetUpBus(bus, *options, error)) << error;
        const sim::Device* at26 = bus.DeviceAt(26);
        if (!c.kindAt26) {
            EXPECT_EQ(at26, nullptr);
            continue;
        }
        ASSERT_NE(at26, nullptr) << c.args.size();
        EXPECT_EQ(at26->Kind().name, c.kindAt26);
        int kxv = 0;
        for (auto& d : bus.Devices()) kxv += d->Kind().name == "kxv";
        EXPECT_LE(kxv, 1) << "one stabilizer, never two";
    }
}

TEST(KxvReceiver, TheReceiverKeepsQuietWhileTheProgramConfiguresItsStabilizer) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    sim::Device& kxv = w.bus.AddDevice(*sim::FindKind("kxv"));
    w.bus.SetReceiverMode(true, w.now);
    w.now += 100'000;
    EXPECT_GE(ReceiverPolls(w.Take()), 8) << "it polls its sensor every 10 ms";

    w.Request(0x21, 0x0C30, 0, 0, 0xBA);
    ASSERT_TRUE(kxv.InConfig());
    w.Take();
    Bytes heard;
    for (int i = 0; i < 20; ++i) {
        const bus::Body answer = w.ReadParam(26, 0x0C30, 0x86, 0xBA);
        EXPECT_EQ(answer[0], 0x32) << "every answer comes through undisturbed";
        EXPECT_EQ(answer[4], 80);
        w.now += 10'000;
        const Bytes in = w.Take();
        heard.insert(heard.end(), in.begin(), in.end());
    }
    EXPECT_EQ(ReceiverPolls(heard), 0) << "one master at a time";

    w.Request(0x20, 0x0C30, 0, 0, 0xBA);
    EXPECT_FALSE(kxv.InConfig());
    w.now += 100'000;
    const int after = ReceiverPolls(w.Take());
    EXPECT_GE(after, 8) << "polling comes back after the leave frame";
    EXPECT_LE(after, 11) << "without a burst of the polls it skipped";
}

}  // namespace

// Configuration access from the device side: enter, read, write, restore defaults, leave,
// and IDs that move for the very next frame.

#include "sim/sim_wire.h"

namespace {

using simtest::AnswerValue;
using simtest::Wire;

constexpr std::uint8_t kEnter = 0x21, kLeave = 0x20, kRead = 0x30, kWrite = 0x31;

TEST(Config, EnterStopsStreamingAndPollsCarryTheLastAnswer) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    EXPECT_EQ(w.PollBody(9)[0], 0x10);
    w.Request(kEnter, 0x0A00);
    EXPECT_EQ(w.Poll(9), (simtest::Bytes{0x7E, 0xE9})) << "silent until a read";

    const bus::Body fw = w.ReadParam(9, 0x0A00, 0x0C);
    EXPECT_EQ(fw[0], 0x32);
    EXPECT_EQ(fw[3], 0x0C);
    EXPECT_EQ(fw[4], 0x12);
    EXPECT_EQ(simtest::DataId(fw), 0x0A00);
    EXPECT_TRUE(simtest::ChecksumOk(0xE9, fw));
    EXPECT_EQ(w.PollBody(9), fw) << "the answer repeats for the second poll of a pair";

    w.Request(kLeave, 0x0A00);
    EXPECT_EQ(w.PollBody(9)[0], 0x10);
}

TEST(Config, WritesTakeEffectAndDefaultsRestoreFactoryValues) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("rpm"));
    w.Request(kEnter, 0x0400);
    w.Request(kEnter, 0x0410);
    w.Request(kEnter, 0x0500);
    EXPECT_EQ(AnswerValue(w.ReadParam(4, 0x0500, 0x22)), 5u);
    EXPECT_EQ(AnswerValue(w.ReadParam(4, 0x0400, 0x22)), 10u);

    w.Request(kWrite, 0x0500, 0x22, 3);   // speed stream only
    w.Request(kWrite, 0x0500, 0x80, 14);  // magnetic poles
    EXPECT_EQ(AnswerValue(w.ReadParam(4, 0x0500, 0x22)), 3u);
    EXPECT_EQ(AnswerValue(w.ReadParam(4, 0x0410, 0x22)), 10u);
    EXPECT_EQ(AnswerValue(w.ReadParam(4, 0x0500, 0x80)), 14u);

    w.Request(kWrite, 0x0400, 0x00, 0);
    const bus::Body restore = w.ReadParam(4, 0x0400, 0x00);
    EXPECT_EQ(restore[0], 0x32);
    EXPECT_EQ(AnswerValue(restore), 0u);
    EXPECT_EQ(*d.ParamValue(0x22, 2), 5u);
    EXPECT_EQ(*d.ParamValue(0x80), 1u);
}

TEST(Config, NewApplicationAndPhysicalIdsHoldForTheNextFrame) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("current40"));
    w.Request(kEnter, 0x0200);
    w.Request(kEnter, 0x0210);
    w.Request(kWrite, 0x0200, 0x0D, 7);  // on the old data ID
    EXPECT_EQ(AnswerValue(w.ReadParam(2, 0x0207, 0x0D)), 7u);
    w.Request(kRead, 0x0200, 0x0C);  // old ID: no longer this device's
    EXPECT_EQ(w.PollBody(2)[3], 0x0D) << "still the answer to the last read it took";

    w.Request(kWrite, 0x0207, 0x01, 11);
    w.Request(kRead, 0x0207, 0x01);
    EXPECT_EQ(w.Poll(2).size(), 2u) << "the old physical ID is deaf";
    EXPECT_EQ(AnswerValue(w.PollBody(11)), 11u);

    w.Request(kLeave, 0x0207);
    w.Request(kLeave, 0x0217);
    const bus::Body t = w.PollBody(11);
    EXPECT_EQ(t[0], 0x10);
    EXPECT_EQ(simtest::DataId(t) & 0x0F, 7);
}

TEST(Config, OutOfRangeIdsAndUnknownCodesAreRefused) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    w.Request(kEnter, 0x0A00);
    w.Request(kWrite, 0x0A00, 0x01, 28);
    w.Request(kWrite, 0x0A00, 0x0D, 16);
    EXPECT_EQ(AnswerValue(w.ReadParam(9, 0x0A00, 0x01)), 9u);
    EXPECT_EQ(AnswerValue(w.ReadParam(9, 0x0A00, 0x0D)), 0u);
    w.Request(kRead, 0x0A00, 0x55);
    EXPECT_EQ(w.Poll(9).size(), 2u) << "no answer to an unknown code";
    w.Request(kWrite, 0x0A00, 0x0C, 0x99);
    EXPECT_EQ(AnswerValue(w.ReadParam(9, 0x0A00, 0x0C)), 0x12u) << "firmware is read only";
}

TEST(Config, RequestsOutsideConfigurationAccessAreIgnored) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("airspeed"));
    w.Request(kWrite, 0x0A00, 0x22, 9);
    EXPECT_EQ(*d.ParamValue(0x22), 3u);
    w.Request(kRead, 0x0A00, 0x22);
    EXPECT_EQ(w.PollBody(9)[0], 0x10);
}

TEST(Config, FrameWithBadChecksumIsIgnored) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("airspeed"));
    w.Send({0x7E, 0x1C, 0x21, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0xD5});
    EXPECT_FALSE(d.InConfig());
    w.Send({0x7E, 0x1C, 0x21, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0xD4});
    EXPECT_TRUE(d.InConfig());
}

TEST(Config, ValueByte7EIsStuffedOnTheWireAndReadsBackInPlace) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("airspeed"));
    w.Request(kEnter, 0x0A00);
    w.Request(kWrite, 0x0A00, 0x22, 0x7E);
    w.Request(kRead, 0x0A00, 0x22);
    const simtest::Bytes in = w.Poll(9);
    EXPECT_EQ(in.size(), 11u);
    EXPECT_EQ(in[6], 0x7D);
    EXPECT_EQ(in[7], 0x5E);
    const bus::Body b = simtest::BodyOf(in);
    EXPECT_EQ(b[4], 0x7E);
}

TEST(Config, ConverterIsConfiguredOnItsOwnDataIdRange) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("converter"));
    w.Request(kEnter, 0xFD00);
    EXPECT_TRUE(d.InConfig());
    EXPECT_EQ(AnswerValue(w.ReadParam(5, 0xFD00, 0x82)), 1u);
    w.Request(kWrite, 0xFD00, 0x80, 4);
    w.Request(kWrite, 0xFD00, 0x81, 1);
    w.Request(kWrite, 0xFD00, 0x0D, 2);
    EXPECT_EQ(AnswerValue(w.ReadParam(5, 0xFD02, 0x80)), 4u);
    EXPECT_EQ(AnswerValue(w.ReadParam(5, 0xFD02, 0x81)), 1u);
    w.Request(kWrite, 0xFD02, 0x00, 0);
    EXPECT_EQ(AnswerValue(w.ReadParam(5, 0xFD02, 0x80)), 0u);
    EXPECT_EQ(AnswerValue(w.ReadParam(5, 0xFD02, 0x0D)), 2u) << "defaults keep the IDs";
    w.Request(kLeave, 0xFD02);
    EXPECT_EQ(simtest::DataId(w.PollBody(5)) & 0xFFEF, 0x0902);
}

TEST(Config, ServoChannelAndVideoSettingRoundTrip) {
    Wire w;
    w.bus.AddDevice(*sim::FindKind("servo"));
    w.bus.AddDevice(*sim::FindKind("vtx"));
    w.Request(kEnter, 0x0B40);
    w.Request(kWrite, 0x0B40, 0x80, 15);
    EXPECT_EQ(AnswerValue(w.ReadParam(9, 0x0B40, 0x80)), 15u);

    w.Request(kEnter, 0x0E10);
    w.Request(kWrite, 0x0E10, 0x80, 0x07'03'0C);  // NO all-freq, 600 mW; band D; CH8
    const bus::Body a = w.ReadParam(12, 0x0E10, 0x80);
    EXPECT_EQ(a[4], 0x0C);
    EXPECT_EQ(a[5], 0x03);
    EXPECT_EQ(a[6], 0x07);
    w.Request(kLeave, 0x0E10);
    const bus::Body t = w.PollBody(12);
    EXPECT_EQ(t[0], 0x10);
    EXPECT_EQ((std::array<int, 3>{t[4], t[5], t[6]}), (std::array<int, 3>{0x0C, 3, 7}));
}

TEST(Config, FuelKitAnswersRequestsDirectlyWithoutConfigurationAccess) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("fuel"));
    auto read = [&](std::uint8_t code) {
        return simtest::BodyOf(w.Request(kRead, 0x0D00, code, 0, 0x1B), true);
    };
    const bus::Body volume = read(0x83);
    EXPECT_EQ(volume[0], 0x32);
    EXPECT_EQ(AnswerValue(volume), 1000u);
    w.Request(kWrite, 0x0D00, 0x83, 60000, 0x1B);
    w.Request(kWrite, 0x0D00, 0x81, 0x0101, 0x1B);
    EXPECT_EQ(AnswerValue(read(0x83)), 60000u);
    EXPECT_EQ(AnswerValue(read(0x81)), 0x0101u);

    // Counters: streaming moves them, the reset codes put them back.
    for (int i = 0; i < 40; ++i) {
        w.now += 100'000;
        w.Poll(22);
    }
    EXPECT_LT(d.Readings(w.now)[3], 1000);
    EXPECT_GT(d.Readings(w.now)[6], 0);
    w.Request(kWrite, 0x0D00, 0x93, 0, 0x1B);
    w.Request(kWrite, 0x0D00, 0x96, 0, 0x1B);
    EXPECT_EQ(d.Readings(w.now)[3], 60000) << "residual volume back to the tank volume";
    EXPECT_EQ(AnswerValue(read(0x93)), 1000u) << "the kit acknowledges the reset with 1000";
    EXPECT_EQ(AnswerValue(read(0x96)), 0u);

    w.Request(kWrite, 0x0D00, 0x86, 1, 0x1B);
    EXPECT_EQ(AnswerValue(read(0x83)), 1000u);
    EXPECT_EQ(AnswerValue(read(0x81)), 100u);
    EXPECT_EQ(AnswerValue(read(0x86)), 1u);
}

TEST(Config, ReceiverHoldsItsParametersAndRecordsCalibrations) {
    Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("kxv"));
    const std::uint8_t codes[26] = {0x80, 0x81, 0x82, 0x83, 0x84, 0x9A, 0x9B, 0x85, 0x86,
                                    0x87, 0x88, 0x89, 0x8C, 0x8D, 0x8E, 0x90, 0x91, 0x92,
                                    0x95, 0x96, 0x97, 0x99, 0x9C, 0xA8, 0xA9, 0xAA};
    const int factory[26] = {0,   0,  255, 255, 255, 255, 255, 50,  80,  100, 50, 80, 100,
                             100, 50, 100, 128, 128, 128, 128, 128, 128, 1,   0,  0,  0};
    // The frames exactly as the receiver page sends them.
    w.Send({0x7E, 0xBA, 0x21, 0x30, 0x0C, 0x00, 0x00, 0x00, 0x00, 0xA2});
    ASSERT_TRUE(d.InConfig());
    w.Send({0x7E, 0xBA, 0x30, 0x30, 0x0C, 0x80, 0x00, 0x00, 0x00, 0x13});
    EXPECT_EQ(w.PollBody(26)[3], 0x80);
    for (int k = 0; k < 26; ++k) {
        const bus::Body b = w.ReadParam(26, 0x0C30, codes[k], 0xBA);
        EXPECT_EQ(b[3], codes[k]);
        EXPECT_EQ(b[4], factory[k]) << "k " << k;
        w.Request(kWrite, 0x0C30, codes[k], 200 - k, 0xBA);
    }
    for (int k = 0; k < 26; ++k) EXPECT_EQ(w.ReadParam(26, 0x0C30, codes[k], 0xBA)[4], 200 - k);

    w.Send({0x7E, 0xBA, 0x31, 0x30, 0x0C, 0x9D, 0x00, 0x00, 0x00, 0xF4});
    w.Send({0x7E, 0xBA, 0x31, 0x30, 0x0C, 0x9D, 0x05, 0x00, 0x00, 0xEF});
    EXPECT_EQ(d.Commands(), (std::vector<std::uint32_t>{0, 5}));
    w.Request(kRead, 0x0C30, 0x9D, 0, 0xBA);
    EXPECT_EQ(w.Poll(26).size(), 2u) << "a command is no parameter";
    w.Send({0x7E, 0xBA, 0x20, 0x30, 0x0C, 0x00, 0x00, 0x00, 0x00, 0xA3});
    EXPECT_FALSE(d.InConfig());
}

}  // namespace

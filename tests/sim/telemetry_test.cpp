// Every kind answers polls with telemetry that, read by the program's decoding table, gives
// back the quantities the device holds.

#include <cmath>
#include <map>
#include <set>

#include "sim/sim_wire.h"

namespace {

using simtest::Value;

struct Decoded {
    int quantity;
    double value;
    double resolution;
};

std::int32_t S32(const bus::Body& b) {
    return static_cast<std::int32_t>(Value(b));
}
unsigned Lo16(const bus::Body& b) {
    return b[3] | b[4] << 8;
}
unsigned Hi16(const bus::Body& b) {
    return b[5] | b[6] << 8;
}

// The decoding table, row by row, mapped onto the index of the quantity each row carries in
// the simulator's kind; LiPo and GPS positions handled below.
std::vector<Decoded> Decode(std::string_view kind, const bus::Body& b) {
    const unsigned family = simtest::DataId(b) & 0xFFF0;
    const int s = S32(b);
    if (kind == "airspeed") return {{0, s / 10.0, 0.1}};
    if (kind == "current150") return {{0, s / 10.0, 0.1}};
    if (kind == "current40")
        return family == 0x0200 ? std::vector<Decoded>{{0, s / 10.0, 0.1}}
                                : std::vector<Decoded>{{1, s / 100.0, 0.01}};
    if (kind == "rpm") return {{family == 0x0400 ? 0 : family == 0x0410 ? 1 : 2, double(s), 1}};
    if (kind == "vario") return {{family == 0x0100 ? 0 : 1, s / 100.0, 0.01}};
    if (kind == "converter") return {{family == 0x0900 ? 0 : 1, s / 100.0, 0.01}};
    if (kind == "servo") return {{0, double(s), 1}};
    if (kind == "redundancy") {
        switch (family) {
            case 0x0B00:
                return {{0, Lo16(b) / 1000.0, 0.001}, {1, Hi16(b) / 1000.0, 0.001}};
            case 0x0B10:
                return {{2, Lo16(b) / 1000.0, 0.001}, {3, Hi16(b) / 1000.0, 0.001}};
            case 0x0B20:
                return {{4, double(s), 0}};
            default:
                return {{5, double(Lo16(b)), 0}, {6, double(Hi16(b)), 0}};
        }
    }
    if (kind == "esc") {
        switch (family) {
            case 0x0B50:
                return {{0, Lo16(b) / 100.0, 0.01}, {1, Hi16(b) / 100.0, 0.01}};
            case 0x0B60:
                return {{2, Lo16(b) * 100.0, 100}, {3, double(Hi16(b)), 0}};
            default:
                return {{4, double(b[3]), 1}};
        }
    }
    if (kind == "fuel") {
        const int q = static_cast<int>((family - 0x0D00) >> 4);
        if (q <= 1) {
            const int lo = static_cast<int>(Lo16(b));
            return {{q, double(lo > 61440 ? lo - 65536 : lo), 1}};
        }
        if (q == 2) return {{q, double(b[3] | b[4] << 8 | b[5] << 16), 1}};
        return {{q, double(Lo16(b)), 1}};
    }
    if (kind == "gps") {
        if (family == 0x0820) return {{2, s / 100.0, 0.01}};  // centimetres
        if (family == 0x0830) return {{3, s / 1000.0, 0.001}};
        if (family == 0x0800) {
            const std::uint32_t v = Value(b);
            const double deg = (v & 0x3FFFFFFF) / 600000.0;
            switch (b[6] & 0xC0) {
                case 0x00:
                    return {{0, deg, 1.0 / 600000}};
                case 0x40:
                    return {{0, -deg, 1.0 / 600000}};
                case 0x80:
                    return {{1, deg, 1.0 / 600000}};
                default:
                    return {{1, -deg, 1.0 / 600000}};
            }
        }
    }
    return {};
}

class EveryKind : public ::testing::TestWithParam<std::string_view> {};

TEST_P(EveryKind, PolledTelemetryDecodesToTheHeldValues) {
    const sim::SensorKind* kind = sim::FindKind(GetParam());
    ASSERT_NE(kind, nullptr);
    simtest::Wire w;
    sim::Device& d = w.bus.AddDevice(*kind, -1, 3);
    const int phys = kind->defaultPhysId;
    std::set<std::uint16_t> seen;
    for (int i = 0; i < 60; ++i) {
        w.now += 97'000;  // let the waves move between polls
        const std::vector<double> held = d.Readings(w.PollHeardAt());
        const simtest::Bytes in = w.Poll(phys);
        ASSERT_EQ(in.size() >= 10u, true) << "poll " << i;
        EXPECT_EQ(in[0], 0x7E);
        EXPECT_EQ(in[1], bus::kPhysIdTable[phys]);
        const bus::Body b = simtest::BodyOf(in);
        ASSERT_EQ(b[0], 0x10);
        EXPECT_TRUE(simtest::ChecksumOk(in[1], b));
        const std::uint16_t id = simtest::DataId(b);
        EXPECT_EQ(id & 0x0F, 3) << "application ID in the data ID";
        seen.insert(id);
        for (const Decoded& dec : Decode(kind->name, b)) {
            EXPECT_NEAR(dec.value, held[dec.quantity], dec.resolution * 0.51 + 1e-9)
                << kind->name << " quantity " << kind->quantities[dec.quantity].name;
        }
    }
    EXPECT_EQ(seen.size(), kind->streams.size()) << "every stream comes round";
}

INSTANTIATE_TEST_SUITE_P(Sim, EveryKind,
                         ::testing::Values("airspeed", "current150", "current40", "rpm", "vario",
                                           "converter", "servo", "redundancy", "esc", "fuel",
                                           "gps"),
                         [](const auto& info) { return std::string(info.param); });

TEST(Telemetry, LipoFramesCarryTwoCellsEachAndCycleThroughThePack) {
    simtest::Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("lipo"));
    std::set<int> firsts;
    for (int i = 0; i < 6; ++i) {
        w.now += 300'000;
        const auto held = d.Readings(w.PollHeardAt());
        const bus::Body b = w.PollBody(1);
        ASSERT_EQ(b[0], 0x10);
        EXPECT_EQ(b[3] >> 4, 6) << "cell count";
        const int first = b[3] & 0x0F;
        firsts.insert(first);
        const double a = ((b[5] & 0x0F) * 256 + b[4]) / 500.0;
        const double c = (b[6] * 16 + (b[5] >> 4)) / 500.0;
        EXPECT_NEAR(a, held[1 + first], 0.0011);
        EXPECT_NEAR(c, held[2 + first], 0.0011);
    }
    EXPECT_EQ(firsts, (std::set<int>{0, 2, 4}));
}

TEST(Telemetry, GpsAlternatesHemisphereFlaggedPositionsAndTimeWithDate) {
    simtest::Wire w;
    w.bus.AddDevice(*sim::FindKind("gps"));
    std::set<int> hemispheres, dateTimeKinds;
    for (int i = 0; i < 40; ++i) {
        w.now += 250'000;
        const bus::Body b = w.PollBody(3);
        const unsigned family = simtest::DataId(b) & 0xFFF0;
        if (family == 0x0800) hemispheres.insert(b[6] & 0xC0);
        if (family == 0x0850) {
            dateTimeKinds.insert(b[3]);
            if (b[3] == 0) {
                EXPECT_LT(b[6], 24);
                EXPECT_LT(b[5], 60);
                EXPECT_LT(b[4], 60);
            } else {
                EXPECT_EQ(b[6], 25);
                EXPECT_GE(b[5], 1);
                EXPECT_LE(b[5], 12);
                EXPECT_GE(b[4], 1);
                EXPECT_LE(b[4], 31);
            }
        }
    }
    // North latitude and west longitude for the default position.
    EXPECT_EQ(hemispheres, (std::set<int>{0x00, 0xC0}));
    EXPECT_EQ(dateTimeKinds, (std::set<int>{0, 1}));
}

TEST(Telemetry, FuelTemperatureBelowZeroTravelsAsSixteenBitComplement) {
    simtest::Wire w;
    sim::Device& d = w.bus.AddDevice(*sim::FindKind("fuel"));
    bool sawNegative = false;
    for (int i = 0; i < 400 && !sawNegative; ++i) {
        w.now += 100'000;
        const auto held = d.Readings(w.PollHeardAt());
        const bus::Body b = w.PollBody(22);
        if (simtest::DataId(b) == 0x0D10 && held[1] <= -1) {
            EXPECT_GT(Lo16(b), 61440u);
            sawNegative = true;
        }
    }
    EXPECT_TRUE(sawNegative);
}

TEST(Telemetry, VideoTransmitterCarriesItsSettingInValueBytesOneToThree) {
    simtest::Wire w;
    w.bus.AddDevice(*sim::FindKind("vtx"));
    const bus::Body b = w.PollBody(12);
    EXPECT_EQ(simtest::DataId(b), 0x0E10);
    EXPECT_EQ(b[4], 1);  // 25 mW, all frequencies
    EXPECT_EQ(b[5], 0);  // band A
    EXPECT_EQ(b[6], 0);  // CH1
}

TEST(Telemetry, ReceiverIsSilentOutsideConfiguration) {
    simtest::Wire w;
    w.bus.AddDevice(*sim::FindKind("kxv"));
    EXPECT_EQ(w.Poll(26), (simtest::Bytes{0x7E, 0xBA}));
}

TEST(Telemetry, StreamsComeRoundAtTheirRates) {
    simtest::Wire w;
    w.bus.AddDevice(*sim::FindKind("rpm"));  // speed 500 ms, temperatures 1000 ms each
    std::map<unsigned, int> count;
    for (int i = 0; i < 400; ++i) {
        w.now += 20'000;
        ++count[simtest::DataId(w.PollBody(4)) & 0xFFF0];
    }
    EXPECT_NEAR(count[0x0500], 2 * count[0x0400], 3);
    EXPECT_NEAR(count[0x0400], count[0x0410], 2);
}

}  // namespace

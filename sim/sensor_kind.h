#pragma once
// What distinguishes one kind of bus device from another, as data: its streams and how each
// encodes its quantities, its parameters with their factory values, its IDs, firmware byte
// and the few ways its configuration access differs. One generic Device runs any of them.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "bus/protocol.h"

namespace sim {

// How a stream packs its quantities into the 32-bit telemetry value.
enum class Encoding : std::uint8_t {
    kScaled32,      // q0 × s0, signed 32-bit
    kScaledPair16,  // low 16 bits q0 × s0, high 16 bits q1 × s1
    kLipoCells,     // cell count and two 12-bit cells of 2 mV, first-cell index cycling 0, 2, 4
    kGpsPosition,   // latitude and longitude alternately, minutes × 10000 with hemisphere bits
    kGpsDateTime,   // time and date alternately, from the clock
    kVtxSetting,    // value bytes 1..3 carry parameter 0x80 (power, band, channel)
};

// A measured quantity: a slow wave around `base`, or a counter the device keeps (`held`),
// which moves by `drift` with every frame that carries it and is reset by writing
// `resetCode` (to the value of parameter `resetFromParam`, or to 0).
struct Quantity {
    std::string_view name;
    double base = 0;
    double swing = 0;
    double periodS = 30;
    bool held = false;
    double drift = 0;
    double lo = 0;
    double hi = 0;
    std::uint8_t resetCode = 0;
    std::uint8_t resetFromParam = 0;
    // What a read of `resetCode` answers: this acknowledgement, or the counter itself when
    // below 0.
    std::int32_t resetAnswer = -1;
};

struct Stream {
    std::string_view name;
    std::uint16_t base;        // data ID without the application ID
    std::uint8_t factoryRate;  // 100 ms units
    Encoding encoding;
    std::int8_t q0 = 0;
    std::int8_t q1 = -1;
    double s0 = 1;
    double s1 = 1;
};

struct Param {
    std::uint8_t code;
    std::uint32_t factory;
};

struct SensorKind {
    std::string_view name;   // command-line name
    std::string_view title;  // what a person calls it
    std::uint8_t firmware;   // two BCD digits
    int defaultPhysId;
    std::vector<Stream> streams;
    std::vector<Quantity> quantities;
    std::vector<Param> params;  // the device's own, besides the common codes
    // A further data-ID base that requests may use (converter 0xFD00, receiver 0x0C30).
    std::uint16_t configBase = 0;
    // Devices that answer read requests at once and know no configuration access.
    bool answersRequestsDirectly = false;
    // Frame byte 1 of the requests the device listens to; others are not for it.
    std::uint8_t requestAddress = bus::kSensorConfigAddress;
    // A write of this code with a nonzero value restores the factory values too.
    std::uint8_t factoryCode = 0;
    // Writes of this code are commands, recorded rather than stored.
    std::uint8_t commandCode = 0;
    int maxAppId = 15;
};

std::span<const SensorKind> AllKinds();
const SensorKind* FindKind(std::string_view name);

}  // namespace sim

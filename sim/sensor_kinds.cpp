// The devices the simulator can put on the bus. Default physical IDs and data rates are the
// ones the configuration pages name as the devices' defaults; values swing around plausible
// working points so that a person watching the program sees them move.

#include <algorithm>

#include "bus/fuel_kit_params.h"
#include "sim/sensor_kind.h"

namespace sim {

namespace {

using E = Encoding;
namespace fuel = bus::fuel_kit;

std::vector<SensorKind> MakeKinds() {
    std::vector<SensorKind> k;

    k.push_back(
        {.name = "airspeed",
         .title = "air-speed sensor",
         .firmware = 0x12,
         .defaultPhysId = 9,
         .streams = {{"air speed", 0x0A00, 3, E::kScaled32, 0, -1, 10}},
         .quantities = {{.name = "air speed km/h", .base = 72, .swing = 18, .periodS = 20}}});

    k.push_back({.name = "current150",
                 .title = "150 A current sensor",
                 .firmware = 0x11,
                 .defaultPhysId = 2,
                 .streams = {{"current", 0x0200, 5, E::kScaled32, 0, -1, 10}},
                 .quantities = {{.name = "current A", .base = 62, .swing = 40, .periodS = 15}}});

    k.push_back({.name = "current40",
                 .title = "40 A current sensor",
                 .firmware = 0x13,
                 .defaultPhysId = 2,
                 .streams = {{"current", 0x0200, 5, E::kScaled32, 0, -1, 10},
                             {"voltage", 0x0210, 5, E::kScaled32, 1, -1, 100}},
                 .quantities = {{.name = "current A", .base = 18, .swing = 12, .periodS = 12},
                                {.name = "voltage V", .base = 11.8, .swing = 0.6, .periodS = 40}}});

    k.push_back({.name = "lipo",
                 .title = "LiPo cell-voltage sensor",
                 .firmware = 0x21,
                 .defaultPhysId = 1,
                 .streams = {{"cells", 0x0300, 3, E::kLipoCells, 0}},
                 .quantities = {{.name = "cell count", .base = 6},
                                {.name = "cell 1 V", .base = 3.92, .swing = 0.08, .periodS = 60},
                                {.name = "cell 2 V", .base = 3.90, .swing = 0.08, .periodS = 61},
                                {.name = "cell 3 V", .base = 3.91, .swing = 0.08, .periodS = 62},
                                {.name = "cell 4 V", .base = 3.89, .swing = 0.08, .periodS = 63},
                                {.name = "cell 5 V", .base = 3.93, .swing = 0.08, .periodS = 64},
                                {.name = "cell 6 V", .base = 3.88, .swing = 0.08, .periodS = 65}}});

    k.push_back({.name = "rpm",
                 .title = "RPM and temperature sensor",
                 .firmware = 0x15,
                 .defaultPhysId = 4,
                 .streams = {{"temperature 1", 0x0400, 10, E::kScaled32, 0},
                             {"temperature 2", 0x0410, 10, E::kScaled32, 1},
                             {"speed", 0x0500, 5, E::kScaled32, 2}},
                 .quantities = {{.name = "temperature 1 C", .base = 85, .swing = 15, .periodS = 50},
                                {.name = "temperature 2 C", .base = 40, .swing = 8, .periodS = 70},
                                {.name = "speed rpm", .base = 9000, .swing = 3500, .periodS = 10}},
                 .params = {{0x80, 1}}});

    k.push_back(
        {.name = "vario",
         .title = "variometer",
         .firmware = 0x14,
         .defaultPhysId = 0,
         .streams = {{"altitude", 0x0100, 3, E::kScaled32, 0, -1, 100},
                     {"altitude rate", 0x0110, 3, E::kScaled32, 1, -1, 100}},
         .quantities = {{.name = "altitude m", .base = 120, .swing = 60, .periodS = 40},
                        {.name = "altitude rate m/s", .base = 0, .swing = 4.5, .periodS = 40}}});

    k.push_back(
        {.name = "fuel",
         .title = "fuel-engine sensor kit",
         .firmware = 0x10,
         .defaultPhysId = 22,
         .streams = {{"temperature 1", 0x0D00, 1, E::kScaled32, 0},
                     {"temperature 2", 0x0D10, 1, E::kScaled32, 1},
                     {"revolving speed", 0x0D20, 1, E::kScaled32, 2},
                     {"residual volume", 0x0D30, 1, E::kScaled32, 3},
                     {"residual percent", 0x0D40, 1, E::kScaled32, 4},
                     {"flow", 0x0D50, 1, E::kScaled32, 5},
                     {"maximum flow", 0x0D60, 1, E::kScaled32, 6},
                     {"average flow", 0x0D70, 1, E::kScaled32, 7}},
         .quantities = {{.name = "temperature 1 C", .base = 160, .swing = 40, .periodS = 60},
                        // Ambient probe on a cold morning: goes below zero on purpose.
                        {.name = "temperature 2 C", .base = -4, .swing = 9, .periodS = 45},
                        {.name = "revolving speed rpm", .base = 9000, .swing = 3000, .periodS = 20},
                        {.name = "residual volume mL",
                         .base = 1000,
                         .held = true,
                         .drift = -1,
                         .lo = 0,
                         .hi = 60000,
                         // Back to the tank volume; the kit acknowledges with 1000.
                         .resetCode = fuel::kParamResetResidualVolume,
                         .resetFromParam = fuel::kParamVolume,
                         .resetAnswer = fuel::kResidualVolumeResetAnswer},
                        {.name = "residual percent", .base = 80, .swing = 10, .periodS = 120},
                        {.name = "flow mL/min", .base = 150, .swing = 50, .periodS = 25},
                        {.name = "maximum flow mL/min",
                         .base = 0,
                         .held = true,
                         .drift = 1,
                         .lo = 0,
                         .hi = 200,
                         .resetCode = fuel::kParamResetMaximumFlow},
                        {.name = "average flow mL/min",
                         .base = 0,
                         .held = true,
                         .drift = 1,
                         .lo = 0,
                         .hi = 150,
                         .resetCode = fuel::kParamResetAverageFlow}},
         .params = {{fuel::kParamFlowPulse, 100},
                    {fuel::kParamCdiLimit, 100},
                    {fuel::kParamVolume, 1000},
                    {fuel::kParamAutoReset, 1},
                    {fuel::kParamFactorySettings, 1},
                    {fuel::kParamVolumeLowAlarm, 10},
                    {fuel::kParamOverFlowAlarm, 200},
                    {fuel::kParamOverSpeedAlarm, 90},
                    {fuel::kParamOverTemp1Alarm, 200},
                    {fuel::kParamOverTemp2Alarm, 200}},
         .answersRequestsDirectly = true,
         .requestAddress = bus::kFuelKitConfigAddress,
         .factoryCode = fuel::kParamFactorySettings});

    k.push_back(
        {.name = "gps",
         .title = "GPS sensor",
         .firmware = 0x23,
         .defaultPhysId = 3,
         .streams = {{"position", 0x0800, 10, E::kGpsPosition, 0, 1},
                     {"altitude", 0x0820, 10, E::kScaled32, 2, -1, 100},
                     {"speed", 0x0830, 5, E::kScaled32, 3, -1, 1000},
                     {"date and time", 0x0850, 10, E::kGpsDateTime}},
         .quantities = {{.name = "latitude deg", .base = 47.3769, .swing = 0.002, .periodS = 90},
                        {.name = "longitude deg", .base = -8.5417, .swing = 0.002, .periodS = 90},
                        {.name = "altitude m", .base = 480, .swing = 40, .periodS = 60},
                        {.name = "speed knots", .base = 28, .swing = 10, .periodS = 30}}});

    k.push_back(
        {.name = "redundancy",
         .title = "redundancy bus",
         .firmware = 0x16,
         .defaultPhysId = 25,
         .streams = {{"battery 1", 0x0B00, 3, E::kScaledPair16, 0, 1, 1000, 1000},
                     {"battery 2", 0x0B10, 3, E::kScaledPair16, 2, 3, 1000, 1000},
                     {"output state", 0x0B20, 3, E::kScaled32, 4},
                     {"capacity", 0x0B30, 3, E::kScaledPair16, 5, 6}},
         .quantities = {
             {.name = "battery 1 V", .base = 8.1, .swing = 0.2, .periodS = 50},
             {.name = "battery 1 A", .base = 2.5, .swing = 1.5, .periodS = 9},
             {.name = "battery 2 V", .base = 8.0, .swing = 0.2, .periodS = 55},
             {.name = "battery 2 A", .base = 2.2, .swing = 1.2, .periodS = 11},
             {.name = "status word"},
             {.name = "battery 1 mAh", .base = 0, .held = true, .drift = 1, .lo = 0, .hi = 65535},
             {.name = "battery 2 mAh",
              .base = 0,
              .held = true,
              .drift = 1,
              .lo = 0,
              .hi = 65535}}});

    k.push_back({.name = "converter",
                 .title = "Q.Wire-to-UART converter",
                 .firmware = 0x12,
                 .defaultPhysId = 5,
                 .streams = {{"ADC1", 0x0900, 3, E::kScaled32, 0, -1, 100},
                             {"ADC2", 0x0910, 3, E::kScaled32, 1, -1, 100}},
                 .quantities = {{.name = "ADC1 V", .base = 1.65, .swing = 1.2, .periodS = 20},
                                {.name = "ADC2 V", .base = 2.5, .swing = 0.5, .periodS = 35}},
                 .params = {{0x80, 0}, {0x81, 0}, {0x82, 1}},
                 .configBase = 0xFD00});

    k.push_back({.name = "servo",
                 .title = "servo ZA-3",
                 .firmware = 0x10,
                 .defaultPhysId = 9,
                 .streams = {{"position", 0x0B40, 1, E::kScaled32, 0}},
                 .quantities = {{.name = "pulse us", .base = 1500, .swing = 400, .periodS = 6}},
                 .params = {{0x80, 0}}});

    k.push_back(
        {.name = "esc",
         .title = "electronic speed controller",
         .firmware = 0x11,
         .defaultPhysId = 10,
         .streams = {{"voltage and current", 0x0B50, 1, E::kScaledPair16, 0, 1, 100, 100},
                     {"speed and consumption", 0x0B60, 1, E::kScaledPair16, 2, 3, 0.01, 1},
                     {"temperature", 0x0B70, 1, E::kScaled32, 4}},
         .quantities = {
             {.name = "voltage V", .base = 22.2, .swing = 1.0, .periodS = 40},
             {.name = "current A", .base = 35, .swing = 25, .periodS = 8},
             {.name = "electrical rpm", .base = 140000, .swing = 60000, .periodS = 8},
             {.name = "consumption mAh", .base = 0, .held = true, .drift = 1, .lo = 0, .hi = 65535},
             {.name = "temperature C", .base = 55, .swing = 15, .periodS = 80}}});

    k.push_back({.name = "vtx",
                 .title = "video transmitter TQ450",
                 .firmware = 0x22,
                 .defaultPhysId = 12,
                 // Power 25 mW, band A, CH1: (power + 10 × all-frequency), band, channel.
                 .streams = {{"setting", 0x0E10, 5, E::kVtxSetting}},
                 .params = {{0x80, 0x000001}}});

    k.push_back(
        {.name = "kxv",
         .title = "KXV stabilizer receiver",
         .firmware = 0x10,
         .defaultPhysId = 26,
         .params = {{0x80, 0},   {0x81, 0},   {0x82, 255}, {0x83, 255}, {0x84, 255}, {0x9A, 255},
                    {0x9B, 255}, {0x85, 50},  {0x86, 80},  {0x87, 100}, {0x88, 50},  {0x89, 80},
                    {0x8C, 100}, {0x8D, 100}, {0x8E, 50},  {0x90, 100}, {0x91, 128}, {0x92, 128},
                    {0x95, 128}, {0x96, 128}, {0x97, 128}, {0x99, 128}, {0x9C, 1},   {0xA8, 0},
                    {0xA9, 0},   {0xAA, 0}},
         .configBase = 0x0C30,
         .requestAddress = bus::kStabilizerAddress,
         .commandCode = 0x9D,
         .maxAppId = 0});
    return k;
}

}  // namespace

std::span<const SensorKind> AllKinds() {
    static const std::vector<SensorKind> kinds = MakeKinds();
    return kinds;
}

const SensorKind* FindKind(std::string_view name) {
    const auto kinds = AllKinds();
    const auto it = std::find_if(kinds.begin(), kinds.end(),
                                 [&](const SensorKind& k) { return k.name == name; });
    return it == kinds.end() ? nullptr : &*it;
}

}  // namespace sim

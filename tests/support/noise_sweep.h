#pragma once
// Noise on the wire at every place of an operation: after a clean run, the operation runs once
// with each of its writes hit in its address byte and in its data ID, once with each frame the
// devices sent it hit in each of its bytes, once with its last write hit twice, the copy sent
// again included, and once each with its last write hit in its frame start and in two bytes, so
// that its echo is nothing the reader can tell for it. Each must do its work within the clean
// run's time plus one retry of the step hit (`retryMs`; two for the write hit twice; and the
// longest an echo may take, where none is told); the worst is printed.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bus/wire_reader.h"
#include "sim/bus.h"

namespace kestrova::test {

struct NoiseOutcome {
    bool succeeded;       // it did its work
    int ms;               // how long it ran
    std::size_t written;  // polls and frames it wrote
    int answers = 0;      // answers the devices sent it
    int telemetry = 0;    // telemetry frames its polls brought
};

// `run(noise)` runs the operation once with `noise` on the wire.
template <class Run>
void SweepNoise(const std::string& name, int retryMs, Run run) {
    using On = sim::Noise::On;
    const NoiseOutcome clean = run({});
    ASSERT_TRUE(clean.succeeded) << name << " on a clean wire";
    const int written = static_cast<int>(clean.written);
    std::vector<std::pair<std::vector<sim::Noise>, int>> places;  // with the time it may add
    for (int at = 1; at <= written; ++at)
        for (int byte : {1, 3}) places.push_back({{{at, byte}}, retryMs});
    for (const auto& [on, count] :
         {std::pair{On::kAnswer, clean.answers}, std::pair{On::kTelemetry, clean.telemetry}})
        for (int at = 1; at <= count; ++at)
            for (int byte = 2; byte <= 9; ++byte) places.push_back({{{at, byte, on}}, retryMs});
    places.push_back({{{written, 1}, {written + 1, 1}}, 2 * retryMs});
    const int untold = retryMs + bus::kLongestEchoWaitMs;
    places.push_back({{{written, 0}}, untold});
    places.push_back({{{written, 1}, {written, 3}}, untold});

    const char* kOn[] = {"write", "answer", "telemetry frame"};
    int worst = clean.ms;
    std::string worstPlace = "none";
    for (const auto& [noise, mayAdd] : places) {
        std::string place;
        for (const sim::Noise& n : noise)
            place += std::string(place.empty() ? "" : " and ") + kOn[static_cast<int>(n.on)] + " " +
                     std::to_string(n.at) + " hit in byte " + std::to_string(n.byte);
        SCOPED_TRACE(name + ", " + place);
        const NoiseOutcome hit = run(noise);
        EXPECT_TRUE(hit.succeeded);
        EXPECT_LE(hit.ms, clean.ms + mayAdd);
        if (hit.ms > worst) worst = hit.ms, worstPlace = place;
    }
    std::printf("%s: clean %d ms, worst %d ms (%s)\n", name.c_str(), clean.ms, worst,
                worstPlace.c_str());
}

}  // namespace kestrova::test

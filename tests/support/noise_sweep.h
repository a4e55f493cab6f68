#pragma once
// One write of an operation hit by noise on the wire, at every place of it: after a clean run,
// the operation runs once with each of its writes hit, in its address byte and in its data ID.
// Each must do its work within the clean run's time plus `retryMs`; the worst is printed.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "sim/bus.h"

namespace kestrova::test {

struct NoiseOutcome {
    bool succeeded;       // it did its work
    int ms;               // how long it ran
    std::size_t written;  // polls and frames it wrote
};

// `run(noise)` runs the operation once with `noise` on the wire.
template <class Run>
void SweepNoise(const std::string& name, int retryMs, Run run) {
    const NoiseOutcome clean = run(sim::Noise{});
    ASSERT_TRUE(clean.succeeded) << name << " on a clean wire";
    NoiseOutcome worst = clean;
    sim::Noise worstNoise;
    for (int at = 1; at <= static_cast<int>(clean.written); ++at)
        for (int byte : {1, 3}) {
            const sim::Noise noise{at, byte};
            SCOPED_TRACE(name + ", write " + std::to_string(at) + " hit in byte " +
                         std::to_string(byte));
            const NoiseOutcome hit = run(noise);
            EXPECT_TRUE(hit.succeeded);
            EXPECT_LE(hit.ms, clean.ms + retryMs);
            if (hit.ms > worst.ms) worst = hit, worstNoise = noise;
        }
    std::printf("%-46s clean %5d ms, worst %5d ms (write %d hit in byte %d)\n", name.c_str(),
                clean.ms, worst.ms, worstNoise.at, worstNoise.byte);
}

}  // namespace kestrova::test

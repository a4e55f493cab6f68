#pragma once
// The Configure scan behind a serial adapter that holds received bytes back and hands them over
// late and in chunks (a USB adapter's latency timer), as the scan-latency test checks it and its
// benchmark measures it: four sensors on the simulated bus, a line that keeps every read of the
// program, and what the rules of the scan, old and new, make of those reads.
// Header only, so that the benchmark needs no test library.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "bus/wire_reader.h"
#include "platform/virtual_port.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace kestrova::test {

// Where the devices sit, by the family byte (data-ID high byte) of what they send: one at each
// place of the four-tick cycle, so an adapter whose hand-overs keep falling on one place misses
// one.
inline const std::map<int, int> kPhysIdOfFamily = {
    {0x0A, 10}, {0x03, 1}, {0x08, 4}, {0x04, 27}, {0x05, 27}};
inline constexpr int kAdapterSensors = 4;

// The four sensors on a bus whose adapter hands bytes over every `periodMs` (0: once the line
// has been quiet for a while, as an adapter without a latency timer does).
inline std::shared_ptr<sim::Bus> SensorsBehindAdapter(int periodMs) {
    sim::Timing timing;
    timing.handOverPeriod = periodMs * 1000;
    auto bus = std::make_shared<sim::Bus>(timing);
    bus->AddDevice(*sim::FindKind("airspeed"), 10, 3);
    bus->AddDevice(*sim::FindKind("lipo"), 1);
    bus->AddDevice(*sim::FindKind("gps"), 4);
    bus->AddDevice(*sim::FindKind("rpm"), 27);
    return bus;
}

// Passes everything on and keeps each read with the poll written before the latest one (the
// poll a one-frame read is credited to).
class ReadRecorder : public platform::VirtualLine {
  public:
    explicit ReadRecorder(std::shared_ptr<platform::VirtualLine> inner)
        : inner_(std::move(inner)) {}
    explicit ReadRecorder(std::shared_ptr<sim::Bus> bus)
        : ReadRecorder(std::make_shared<SimVirtualLine>(std::move(bus))) {}
    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        if (n == 2) {
            previousPoll_ = lastPoll_;
            lastPoll_ = bus::PhysIdIndexOf(data[1]);
        }
        inner_->Write(data, n, now);
    }
    std::size_t Available(platform::Micros now) override { return inner_->Available(now); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros now) override {
        const std::size_t n = inner_->Read(out, max, now);
        if (n > 0) reads.push_back({std::vector<std::uint8_t>(out, out + n), previousPoll_});
        return n;
    }
    void DiscardInput(platform::Micros now) override { inner_->DiscardInput(now); }
    bool Present() const override { return inner_->Present(); }

    struct Taken {
        std::vector<std::uint8_t> bytes;
        int previousPoll;
    };
    std::vector<Taken> reads;

  private:
    std::shared_ptr<platform::VirtualLine> inner_;
    int lastPoll_ = 0;
    int previousPoll_ = 0;
};

// Answers a rule credited: to the right sensor's ID, to a wrong one, and the families found.
struct Tally {
    int right = 0;
    int wrong = 0;
    std::set<int> found;
    void Count(const bus::Body& body, int physId) {
        auto it = kPhysIdOfFamily.find(body[2]);
        if (it == kPhysIdOfFamily.end()) return;
        if (it->second == physId) {
            ++right;
            found.insert(it->second);
        } else {
            ++wrong;
        }
    }
};

// The reads by the rule of one frame per read (what the scan did before it read the wire
// whole): a read that unstuffs to exactly one 10-byte frame, credited to the previous poll.
inline void CountOneFramePerRead(const std::vector<ReadRecorder::Taken>& reads, Tally& tally) {
    for (const auto& read : reads) {
        std::array<std::uint8_t, 2 * bus::kFrameLength> out{};
        if (read.bytes.size() > out.size() || bus::Unstuff(read.bytes, out) != bus::kFrameLength ||
            out[0] != bus::kFrameStart)
            continue;
        bus::Body body;
        std::copy(out.begin() + 2, out.begin() + bus::kFrameLength, body.begin());
        tally.Count(body, read.previousPoll);
    }
}

// The reads as the reader of the wire takes them: every whole frame, a frame cut by the end of
// a read finished by the next, each answer credited to the echoed poll that heads it.
inline void CountByWireReader(const std::vector<ReadRecorder::Taken>& reads, Tally& tally) {
    bus::WireReader wire;
    for (const auto& read : reads)
        for (const bus::WireEvent& e : wire.Take(read.bytes))
            if (e.kind == bus::WireEvent::Kind::kFrame)
                tally.Count(e.body, bus::PhysIdIndexOf(e.address));
}

}  // namespace kestrova::test

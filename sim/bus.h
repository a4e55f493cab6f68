#pragma once
// The single wire with its devices. The caller brings the time (µs, any origin, never going
// back): virtual in unit tests, the steady clock on a pty. Every byte written comes back, as
// it does on the one-wire bus, and devices answer after their reply delay; bytes travel at
// 57600 baud, 10 bits each.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/device.h"

namespace sim {

// Ways the whole bus can misbehave.
enum class BusFault : std::uint8_t {
    kGarbage,   // stray bytes between the frames
    kFlood,     // more than 2000 bytes in one burst after every poll
    kPortGone,  // the adapter vanishes: Present() is false from then on
};

// One frame hit by noise on the wire: its byte `byte` arrives with the low bit flipped.
// - On a write of the program: the `at`-th poll or request frame, counted from its first request
//   frame (1), at the devices and in the echo alike. Byte 0 is its frame start, 1 the address
//   byte, 3 or 4 a request's data ID (a poll has bytes 0 and 1 only). Two entries with the same
//   `at` hit two bytes of one write.
// - On a frame the devices send: the `at`-th answer (type 0x32), or telemetry frame (0x10),
//   counted from when the noise was set, at the program only. Bytes 2 to 9 are the type, the
//   data ID, the parameter code, the value and the checksum, as the device computed it over the
//   bytes it sent.
struct Noise {
    enum class On : std::uint8_t { kWrite, kAnswer, kTelemetry };
    int at = 0;  // 0: this one hits nothing
    int byte = 1;
    On on = On::kWrite;
};

struct Timing {
    // One byte of 10 bits at 57600 baud, in ns to keep long runs exact.
    std::int64_t byteNanos = 10'000'000'000 / 57600;
    Micros replyDelay = 300;        // a real sensor answers well inside a millisecond
    Micros slowReplyDelay = 20000;  // far past a scan tick
    // The adapter hands over what the wire carried once the line has been quiet this long, as
    // USB serial adapters do; 0 hands over every byte as it arrives.
    Micros deliveryGap = 1000;
    // Non-zero: the adapter hands over what it has received only every this many µs, late and
    // in chunks, as a USB adapter's latency timer does (16 ms on an FTDI by default); the
    // quiet-line rule above then does not apply.
    Micros handOverPeriod = 0;
    Micros receiverPollPeriod = 10000;
};

class Bus {
  public:
    explicit Bus(Timing timing = {});

    Device& AddDevice(const SensorKind& kind, int physId = -1, int appId = 0);
    std::vector<std::unique_ptr<Device>>& Devices() { return devices_; }
    Device* DeviceAt(int physId);

    // As a receiver that is bus master: polls its sensors in turn, from `now` on.
    void SetReceiverMode(bool on, Micros now = 0);
    void SetFault(BusFault fault, bool on, Micros now = 0);
    // Noise on a clean wire; each counts its frames from here.
    void SetNoise(std::vector<Noise> noise) {
        noise_ = std::move(noise);
        heardSinceRequest_ = 0;
        sent_ = {};
    }
    // How many answers or telemetry frames the devices sent since the noise was set.
    int SentSinceNoise(Noise::On on) const { return sent_[static_cast<std::size_t>(on)]; }
    const Timing& GetTiming() const { return timing_; }
    void SetTiming(const Timing& t) { timing_ = t; }

    // The program's end of the line.
    void Write(const std::uint8_t* data, std::size_t n, Micros now);
    std::size_t Available(Micros now);
    std::size_t Read(std::uint8_t* out, std::size_t max, Micros now);
    void DiscardInput(Micros now);
    bool Present() const { return !gone_; }

    // When the next bytes become readable; INT64_MAX when nothing is on its way.
    Micros NextDelivery(Micros now);

    // Every frame heard and sent, as one line of text with its time.
    using Log = std::function<void(Micros when, const std::string& line)>;
    void SetLog(Log log) { log_ = std::move(log); }

  private:
    struct Byte {
        Micros at;
        std::uint8_t value;
    };
    void Advance(Micros now);
    bool AnyInConfig() const;
    Micros Transmit(const std::vector<std::uint8_t>& bytes, Micros start);
    void HearUnit(const std::vector<std::uint8_t>& unit, Micros end);
    void HitByNoise(std::vector<std::uint8_t>& unit, Micros now);
    void HitSentByNoise(std::vector<std::uint8_t>& bytes, std::size_t head, Micros now);
    Micros Send(std::vector<std::uint8_t> bytes, std::size_t head, Micros start);
    void Poll(std::uint8_t address, Micros end, bool fromProgram);
    std::size_t Deliverable(Micros now) const;
    void Note(Micros when, const char* what, const std::vector<std::uint8_t>& bytes);

    Timing timing_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::deque<Byte> rx_;  // on its way to, or waiting at, the program
    Micros lineFree_ = 0;  // end of the last scheduled byte
    bool receiver_ = false;
    Micros nextReceiverPoll_ = 0;
    std::size_t receiverIndex_ = 0;
    bool garbage_ = false;
    bool flood_ = false;
    bool gone_ = false;
    Micros nextGarbage_ = 0;
    std::uint32_t noiseState_ = 0x9E3779B9u;
    std::vector<Noise> noise_;
    int heardSinceRequest_ = 0;  // the program's polls and frames since its first request
    std::array<int, 3> sent_{};  // by Noise::On: the devices' answers and telemetry frames
    Log log_;
};

}  // namespace sim

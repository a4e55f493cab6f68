#pragma once
// One device on the bus, seen from its own side of the wire: it hears frames and polls, keeps
// its settings, and decides what (if anything) to send back. Any kind of the table runs here.

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include "bus/frame.h"
#include "sim/sensor_kind.h"

namespace sim {

using Micros = std::int64_t;

// Ways a single device can misbehave.
enum class DeviceFault : std::uint8_t {
    kSilent,           // answers nothing, though it hears
    kIgnoresEnter,     // never enters configuration access, keeps streaming
    kGarbage,          // answers polls with random bytes
    kCutFrames,        // answers with only the first half of its frame
    kSlowAnswers,      // answers, but far later than a real device
    kFirstStreamOnly,  // hears the requests on its first stream only: no answer on the others
    kOwnAnswerId,      // answers under a data ID of its own, not its request's
    kWrongValue,       // answers every read with 0x77: a setting it did not take
};

class Device {
  public:
    Device(const SensorKind& kind, int physId, int appId);

    const SensorKind& Kind() const { return *kind_; }
    int PhysId() const { return physId_; }
    int AppId() const { return appId_; }
    bool InConfig() const { return inConfig_; }

    // The value a read of `code` would answer with, on stream `stream`'s data ID; nullopt
    // for a code the device does not know.
    std::optional<std::uint32_t> ParamValue(std::uint8_t code, int stream = 0) const;
    // Values of the kind's quantities as a frame sent at `t` would carry them.
    std::vector<double> Readings(Micros t) const;
    // Commands received (the receiver's calibration positions), oldest first.
    const std::vector<std::uint32_t>& Commands() const { return commands_; }
    int StreamOfDataId(std::uint16_t dataId) const;  // -1 when not this device's
    std::uint16_t StreamDataId(int stream) const;

    void SetFault(DeviceFault f, bool on);
    bool HasFault(DeviceFault f) const { return (faults_ >> static_cast<int>(f)) & 1u; }
    // The device falls silent (DeviceFault::kSilent) once it has sent this many answers (type
    // 0x32): one that stops answering in the middle of an exchange. 0: never.
    void SilenceAfter(int answers) { answersLeft_ = answers > 0 ? answers : -1; }

    // The wire side. `frame` is an unstuffed, checksum-verified frame body (type .. checksum).
    // Returns the unstuffed 8-byte body to send at once for devices that answer directly.
    std::optional<bus::Body> OnFrame(const bus::Body& frame, Micros t);
    // Bytes (already stuffed) to send after the poll of this device's physical ID.
    std::vector<std::uint8_t> OnPoll(Micros t);

  private:
    std::optional<bus::Body> Answer(std::uint8_t code, int stream, std::uint16_t dataId) const;
    // Counts an answer that goes out, and silences the device after the last one it sends.
    void Answered();
    void Write(std::uint8_t code, std::uint32_t value, int stream);
    void RestoreFactory();
    int NextStream(Micros t);
    std::uint32_t TelemetryValue(int stream, Micros t);
    double Quantity(int index, Micros t) const;

    const SensorKind* kind_;
    int physId_;
    int appId_;
    bool inConfig_ = false;
    std::optional<bus::Body> pendingAnswer_;
    std::map<std::uint8_t, std::uint32_t> params_;
    std::vector<std::uint8_t> rates_;
    std::vector<Micros> nextDue_;
    std::vector<std::uint32_t> phase_;
    std::vector<double> held_;
    std::vector<std::uint32_t> commands_;
    std::uint32_t faults_ = 0;
    int answersLeft_ = -1;
    std::mt19937 noise_{12345};
};

// Stuffed wire bytes of a frame body, preceded by 0x7E and `address` when `withHead`.
std::vector<std::uint8_t> EncodeBody(std::uint8_t address, const bus::Body& body, bool withHead);

}  // namespace sim

#pragma once
// The requests of one run on the bus (a sensor page's operation, a KXV sequence, a calibration),
// from the frame laid out once to the echo that shows the devices heard it. A request counts as
// heard only when its echo came back exactly as written: one that came back otherwise, or not at
// all within the longest an echo may take, was not heard and goes out again. And the
// configuration access a run entered has one way out, whatever ends the run.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "bus/frame.h"
#include "bus/link.h"

namespace bus {

// A request by name. Its frame is laid out from these in one place, whoever sends it.
struct Request {
    std::uint8_t address = 0;  // frame byte 1: whom it is for
    std::uint8_t type = 0;
    std::uint16_t dataId = 0;
    std::uint8_t param = 0;
    std::uint32_t value = 0;  // three bytes, low first; the rest is dropped

    std::array<std::uint8_t, kFrameLength> Layout() const;
};

// How long the way out may take, and how often it sends one leave frame at the most.
inline constexpr int kLeaveWithinMs = 1000;
inline constexpr int kLeaveCopies = 5;

class RequestTracker {
  public:
    // What the wire has shown of one request.
    enum class Heard : std::uint8_t {
        kYes,     // back as written
        kNotYet,  // nothing yet, within the longest an echo may take
        kNo,      // back otherwise, or not back in time
    };
    // A request sent again: the step of the run that had sent it, and the number its copy that
    // was not heard had.
    struct Resent {
        int step;
        std::uint32_t was;
    };

    // Sends `request` and keeps it until the wire shows it heard; `step` is where the run goes
    // back to should the devices not hear it.
    std::uint32_t Send(Link& link, const Request& request, int step);
    // Sends again, exactly as it was written, the first request the devices did not hear; those
    // sent after it are forgotten, as they went out on its wrong footing. nullopt when none.
    std::optional<Resent> ResendUnheard(Link& link);
    bool AnyUnheard(Link& link) const;
    bool AllHeard(Link& link) const;
    // The number of the latest request sent (or sent again); 0 before any.
    std::uint32_t Latest() const { return latest_; }
    // Whether the run entered configuration access and has not been taken out by Leave.
    bool InAccess() const { return !accesses_.empty(); }

    // The one way out: a leave frame for every data ID the run reached in configuration access
    // (the device may answer at a new application ID by then), each sent until it is heard, for a
    // second or five copies at the most, waiting for the echoes on the spot. True when all were
    // heard; the tracker is clear afterwards either way. Nothing is sent outside access.
    bool Leave(Link& link);
    // Forgets the run's requests but not the access it entered: a run that starts again from its
    // enter frame is still in it.
    void ForgetRequests();
    // Forgets everything: the run has ended with its own leave frames heard.
    void Clear();

  private:
    struct Sent {
        std::uint32_t seq;
        int step;
        Request request;
        std::int64_t atUs;
    };
    struct Access {
        std::uint8_t address;
        std::uint16_t dataId;
        bool operator==(const Access&) const = default;
    };

    Heard HeardOf(const Sent& sent, Link& link) const;
    void SendOnce(Sent& sent, Link& link);

    std::vector<Sent> sent_;
    std::vector<Access> accesses_;
    std::uint32_t latest_ = 0;
};

}  // namespace bus

#pragma once
// The requests a sequence sent, kept until the wire shows that the devices heard each as written.
// A request whose echo came back hit by noise was not heard: the sequence goes back to the step
// that sent it and sends it again, rather than go on from a request that never took effect.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "bus/wire_reader.h"

namespace bus {

class SentRequests {
  public:
    struct Request {
        std::uint32_t seq;                             // the number the reader of the wire gave it
        int step;                                      // of the sequence that sent it
        std::array<std::uint8_t, kFrameLength> frame;  // as written, before stuffing
    };

    void Add(const Request& request);
    // Forgets those the devices heard as written. Of the others, the first whose echo came back
    // lost, taken out with all sent after it (they went out on its wrong footing); nullopt when
    // none did.
    std::optional<Request> TakeFirstLost(const WireReader& wire);
    // Whether any came back lost.
    bool AnyLost(const WireReader& wire) const { return Any(wire, Echo::kLost); }
    // Whether a sequence whose last request went out must wait another tick of `periodMs` before
    // it ends: an echo is still to come. One that stays away longer than an echo can take was
    // lost on the wire and is waited for no longer. Called once a tick; a request added starts
    // the wait afresh.
    bool EchoesToCome(const WireReader& wire, unsigned periodMs);
    std::span<const Request> All() const { return requests_; }
    void Clear() {
        requests_.clear();
        waitedTicks_ = 0;
    }

  private:
    bool Any(const WireReader& wire, Echo echo) const;

    std::vector<Request> requests_;
    unsigned waitedTicks_ = 0;
};

}  // namespace bus

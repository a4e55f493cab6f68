#include "bus/sent_requests.h"

#include <algorithm>

namespace bus {

void SentRequests::Add(const Request& request) {
    // The reader remembers no more than this many writes; an older echo is no longer awaited.
    if (requests_.size() >= WireReader::kMaxAwaited) requests_.erase(requests_.begin());
    requests_.push_back(request);
    waitedTicks_ = 0;
}

bool SentRequests::EchoesToCome(const WireReader& wire, unsigned periodMs) {
    const unsigned longest = static_cast<unsigned>(kLongestEchoWaitMs) / std::max(periodMs, 1u);
    return Any(wire, Echo::kAwaited) && waitedTicks_++ < longest;
}

std::optional<SentRequests::Request> SentRequests::TakeFirstLost(const WireReader& wire) {
    std::erase_if(requests_,
                  [&](const Request& r) { return wire.EchoOf(r.seq) == Echo::kAsWritten; });
    const auto lost = std::find_if(requests_.begin(), requests_.end(), [&](const Request& r) {
        return wire.EchoOf(r.seq) == Echo::kLost;
    });
    if (lost == requests_.end()) return std::nullopt;
    const Request first = *lost;
    requests_.erase(lost, requests_.end());
    return first;
}

bool SentRequests::Any(const WireReader& wire, Echo echo) const {
    return std::any_of(requests_.begin(), requests_.end(),
                       [&](const Request& r) { return wire.EchoOf(r.seq) == echo; });
}

}  // namespace bus

#include "bus/request_tracker.h"

#include <algorithm>
#include <utility>

#include "bus/protocol.h"

namespace bus {

std::array<std::uint8_t, kFrameLength> Request::Layout() const {
    return {kFrameStart,
            address,
            type,
            static_cast<std::uint8_t>(dataId & 0xFF),
            static_cast<std::uint8_t>(dataId >> 8),
            param,
            static_cast<std::uint8_t>(value & 0xFF),
            static_cast<std::uint8_t>((value >> 8) & 0xFF),
            static_cast<std::uint8_t>((value >> 16) & 0xFF),
            0};
}

RequestTracker::Heard RequestTracker::HeardOf(const Sent& sent, Link& link) const {
    switch (link.Wire().EchoOf(sent.seq)) {
        case Echo::kAsWritten:
            return Heard::kYes;
        case Echo::kLost:
            return Heard::kNo;
        case Echo::kAwaited:
            break;
    }
    // A read made later than an echo can take found none: the echo was lost on the wire, or
    // came back as something the reader could not tell for it.
    const std::int64_t longestUs = std::int64_t{kLongestEchoWaitMs} * 1000;
    return link.LastReadUs() - sent.atUs > longestUs ? Heard::kNo : Heard::kNotYet;
}

void RequestTracker::SendOnce(Sent& sent, Link& link) {
    // The copy not heard in time must not be taken for the one whose echo comes next.
    if (sent.seq && link.Wire().EchoOf(sent.seq) == Echo::kAwaited) link.Wire().GiveUp(sent.seq);
    auto frame = sent.request.Layout();
    sent.seq = latest_ = link.Send(frame.data(), static_cast<int>(kFrameLength));
    sent.atUs = link.NowUs();
}

std::uint32_t RequestTracker::Send(Link& link, const Request& request, int step) {
    std::erase_if(sent_, [&](const Sent& s) { return HeardOf(s, link) == Heard::kYes; });
    // The reader remembers no more than this many writes; an older echo is no longer awaited.
    if (sent_.size() >= WireReader::kMaxAwaited) sent_.erase(sent_.begin());
    // Where the device may answer while in access: the data ID it was entered on, and any a
    // request of the run went to after (a new application ID's read-back).
    const Access at{request.address, request.dataId};
    const bool reaches = request.type == kTypeEnter || (InAccess() && request.type != kTypeLeave);
    if (reaches && std::find(accesses_.begin(), accesses_.end(), at) == accesses_.end())
        accesses_.push_back(at);
    sent_.push_back({0, step, request, 0});
    SendOnce(sent_.back(), link);
    return sent_.back().seq;
}

std::optional<RequestTracker::Resent> RequestTracker::ResendUnheard(Link& link) {
    std::erase_if(sent_, [&](const Sent& s) { return HeardOf(s, link) == Heard::kYes; });
    const auto unheard = std::find_if(
        sent_.begin(), sent_.end(), [&](const Sent& s) { return HeardOf(s, link) == Heard::kNo; });
    if (unheard == sent_.end()) return std::nullopt;
    const Resent resent{unheard->step, unheard->seq};
    sent_.erase(unheard + 1, sent_.end());
    SendOnce(sent_.back(), link);
    return resent;
}

bool RequestTracker::AnyUnheard(Link& link) const {
    return std::any_of(sent_.begin(), sent_.end(),
                       [&](const Sent& s) { return HeardOf(s, link) == Heard::kNo; });
}

bool RequestTracker::AllHeard(Link& link) const {
    return std::all_of(sent_.begin(), sent_.end(),
                       [&](const Sent& s) { return HeardOf(s, link) == Heard::kYes; });
}

bool RequestTracker::Leave(Link& link) {
    const std::vector<Access> accesses = std::exchange(accesses_, {});
    sent_.clear();
    if (accesses.empty()) return true;
    if (!link.Usable()) return false;
    for (const Access& a : accesses) Send(link, {a.address, kTypeLeave, a.dataId}, -1);
    std::vector<int> copies(sent_.size(), 1);
    const std::int64_t deadline = link.NowUs() + std::int64_t{kLeaveWithinMs} * 1000;
    bool left = false;
    for (;;) {
        link.Read();
        left = true;
        bool waiting = false;
        for (std::size_t i = 0; i < sent_.size(); ++i) {
            const Heard heard = HeardOf(sent_[i], link);
            if (heard == Heard::kYes) continue;
            left = false;
            if (heard == Heard::kNo && copies[i] < kLeaveCopies) {
                SendOnce(sent_[i], link);
                ++copies[i];
                waiting = true;
            }
            if (heard == Heard::kNotYet) waiting = true;
        }
        if (left || !waiting || link.NowUs() >= deadline) break;
        // Long enough for the bytes to move, short beside an echo's time on the wire.
        link.Pause(1000);
    }
    sent_.clear();
    return left;
}

void RequestTracker::ForgetRequests() {
    sent_.clear();
}

void RequestTracker::Clear() {
    sent_.clear();
    accesses_.clear();
}

}  // namespace bus

#include "bus/wire_reader.h"

#include <algorithm>
#include <utility>

namespace bus {

WireReader::WireReader() {
    // A read holds at most the backlog bound; its events fit without growing on the way.
    events_.reserve(kMaxWaitingBytes / kPollLength + 1);
}

std::uint32_t WireReader::Sent(std::span<const std::uint8_t> written) {
    Awaited a{next_++, 0, written.size() == kPollLength, 0, {}};
    if (written.size() >= kPollLength) a.address = written[1];
    if (!a.poll && written.size() > kPollLength) {
        Unstuff(written.subspan(kPollLength), a.body);
        a.question = latestQuestion_ = QuestionOf(a);
    }
    awaited_.push_back(a);
    if (awaited_.size() > kMaxAwaited) {
        Settle(awaited_.front().seq);
        Lose(awaited_.begin(), awaited_.begin() + 1);
        awaited_.pop_front();
    }
    return a.seq;
}

std::uint32_t WireReader::QuestionOf(const Awaited& request) {
    const auto same = std::find_if(questions_.begin(), questions_.end(), [&](const Question& q) {
        return q.address == request.address && q.body == request.body;
    });
    if (same != questions_.end()) return same->id;
    questions_.push_back({request.address, request.body, request.seq});
    if (questions_.size() > kMaxAwaited) questions_.pop_front();
    return request.seq;
}

void WireReader::Clear() {
    awaited_.clear();
    questions_.clear();
    lost_.clear();
    inFrame_ = false;
    addressed_ = false;
    unstuffer_ = Unstuffer{};
    lastEcho_ = 0;
    question_ = 0;
    latestQuestion_ = 0;
    echoedRequest_ = 0;
    Settle(next_ - 1);
}

void WireReader::Settle(std::uint32_t seq) {
    settled_ = std::max(settled_, seq);
}

void WireReader::Lose(std::deque<Awaited>::const_iterator from,
                      std::deque<Awaited>::const_iterator to) {
    for (auto it = from; it != to; ++it) lost_.push_back(it->seq);
    while (lost_.size() > kMaxAwaited) lost_.pop_front();
}

Echo WireReader::EchoOf(std::uint32_t seq) const {
    const auto is = [seq](std::uint32_t s) { return s == seq; };
    if (std::any_of(awaited_.begin(), awaited_.end(), [&](const Awaited& a) { return is(a.seq); }))
        return Echo::kAwaited;
    return std::any_of(lost_.begin(), lost_.end(), is) ? Echo::kLost : Echo::kAsWritten;
}

void WireReader::GiveUp(std::uint32_t seq) {
    const auto it = std::find_if(awaited_.begin(), awaited_.end(),
                                 [seq](const Awaited& a) { return a.seq == seq; });
    if (it == awaited_.end()) return;
    Settle(seq);
    Lose(it, it + 1);
    awaited_.erase(it);
}

void WireReader::Emit(WireEvent::Kind kind, std::uint32_t seq) {
    WireEvent e{kind, seq, question_, address_, {}};
    if (kind == WireEvent::Kind::kFrame) e.body = body_;
    events_.push_back(e);
}

std::span<const WireEvent> WireReader::Take(std::span<const std::uint8_t> raw) {
    events_.clear();
    Unstuffer::Out out{};
    for (std::uint8_t b : raw) {
        // On the wire every 0x7E starts a frame: a 0x7E value travels as 7D 5E.
        if (b == kFrameStart) {
            StartFrame();
        } else if (!inFrame_) {
            continue;  // stray bytes, or what trails a whole frame
        } else if (!addressed_) {
            address_ = b;  // never stuffed
            addressed_ = true;
        } else {
            const std::size_t n = unstuffer_.Take(b, out);
            // A frame made whole by the first byte leaves the second to what trails it.
            for (std::size_t i = 0; i < n && inFrame_; ++i) Add(out[i]);
        }
    }
    return events_;
}

void WireReader::StartFrame() {
    if (addressed_) {
        Unstuffer::Out out{};
        if (unstuffer_.Flush(out) > 0) Add(out[0]);
        // Cut by the frame start before its body was whole.
        if (inFrame_) EndFrame();
    }
    inFrame_ = true;
    addressed_ = false;
    count_ = 0;
    unstuffer_ = Unstuffer{};
}

void WireReader::Add(std::uint8_t value) {
    body_[count_++] = value;
    if (count_ == kBodyLength) EndFrame();
}

// A write of ours that noise hit on the wire comes back changed, and the devices heard it so,
// so nothing answers it. A poll hit so names no physical ID (any two of theirs differ in two
// bits), and nothing follows it; a request comes back whole with one of its nine bytes changed.
bool WireReader::HitOnTheWire(const Awaited& ours) const {
    if (ours.poll) return count_ == 0 && PhysIdIndexOf(address_) < 0;
    if (count_ != kBodyLength) return false;
    int changed = address_ != ours.address;
    for (std::size_t i = 0; i < kBodyLength; ++i) changed += body_[i] != ours.body[i];
    return changed == 1;
}

// What the frame that ended was: our request's echo, exactly as written; the echo of the oldest
// awaited write, hit by noise; that write's echo, when it is a poll, with the answer that followed
// it if whole and sound; or a frame of someone else's. Echoes come back in the order of the writes:
// a request's echo after which those before it are still awaited means theirs were lost.
void WireReader::EndFrame() {
    inFrame_ = false;
    addressed_ = false;
    const bool whole = count_ == kBodyLength;
    // Whatever it is, it is the frame after the last request echoed.
    if (echoedRequest_) Settle(std::exchange(echoedRequest_, 0));

    const auto request = std::find_if(awaited_.begin(), awaited_.end(), [&](const Awaited& a) {
        return whole && !a.poll && a.address == address_ && a.body == body_;
    });
    if (request != awaited_.end()) {
        // The first awaited copy of a request sent again: all copies ask the same question.
        lastEcho_ = request->seq;
        question_ = request->question;
        echoedRequest_ = lastEcho_;
        Settle(lastEcho_ - 1);
        Lose(awaited_.begin(), request);
        awaited_.erase(awaited_.begin(), request + 1);
        Emit(WireEvent::Kind::kEcho, lastEcho_);
        return;
    }
    if (!awaited_.empty() && HitOnTheWire(awaited_.front())) {
        Settle(awaited_.front().seq);
        Lose(awaited_.begin(), awaited_.begin() + 1);
        awaited_.pop_front();
        return;
    }
    // A poll's two bytes are no evidence against the order of the writes: a device's answer to a
    // poll from before a purge looks just like the echo of ours.
    if (!awaited_.empty() && awaited_.front().poll && awaited_.front().address == address_) {
        lastEcho_ = awaited_.front().seq;
        Settle(lastEcho_);
        awaited_.pop_front();
        Emit(WireEvent::Kind::kEcho, lastEcho_);
    }
    // A frame whose checksum fails was hit by noise: it still stands where it stood, settling a
    // poll with no answer, but its bytes are no value and answer nothing.
    if (whole && ChecksumHolds(body_)) Emit(WireEvent::Kind::kFrame, lastEcho_);
}

}  // namespace bus

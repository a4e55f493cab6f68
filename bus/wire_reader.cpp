#include "bus/wire_reader.h"

#include <algorithm>

namespace bus {

WireReader::WireReader() {
    // A read holds at most the backlog bound; its events fit without growing on the way.
    events_.reserve(kMaxWaitingBytes / kPollLength + 1);
}

std::uint32_t WireReader::Sent(std::span<const std::uint8_t> written) {
    Awaited a{next_++, written.size() == kPollLength, 0, {}};
    if (written.size() >= kPollLength) a.address = written[1];
    if (!a.poll && written.size() > kPollLength) {
        Unstuff(written.subspan(kPollLength), a.body);
        lastRequest_ = a.seq;
    }
    awaited_.push_back(a);
    if (awaited_.size() > kMaxAwaited) {
        Settle(awaited_.front().seq);
        awaited_.pop_front();
    }
    return a.seq;
}

void WireReader::Clear() {
    awaited_.clear();
    head_ = Head::kNone;
    escaped_ = false;
    lastEcho_ = 0;
    lastRequest_ = 0;
    Settle(next_ - 1);
}

void WireReader::Settle(std::uint32_t seq) {
    settled_ = std::max(settled_, seq);
}

void WireReader::Emit(WireEvent::Kind kind, std::uint32_t seq) {
    WireEvent e{kind, seq, address_, {}};
    if (kind == WireEvent::Kind::kFrame) e.body = body_;
    events_.push_back(e);
}

std::span<const WireEvent> WireReader::Take(std::span<const std::uint8_t> raw) {
    events_.clear();
    for (std::uint8_t b : raw) {
        // On the wire every 0x7E starts a frame: a 0x7E value travels as 7D 5E.
        if (b == kFrameStart) {
            if (escaped_ && head_ != Head::kNone && head_ != Head::kOpen) Add(kEscape);
            StartFrame();
            continue;
        }
        if (head_ == Head::kNone) continue;  // stray bytes, or what trails a whole frame
        if (head_ == Head::kOpen) {
            AddressByte(b);  // never stuffed
            continue;
        }
        if (escaped_) {
            escaped_ = false;
            if (b == 0x5E || b == 0x5D) {
                Add(static_cast<std::uint8_t>(b ^ 0x20));
                continue;
            }
            Add(kEscape);  // a 0x7D before anything else is a byte of its own
            if (head_ == Head::kNone) continue;
        }
        if (b == kEscape)
            escaped_ = true;
        else
            Add(b);
    }
    return events_;
}

void WireReader::StartFrame() {
    // A poll's echo that the next frame start closes before a whole answer came: no answer.
    if (head_ == Head::kPollEcho) Settle(pollSeq_);
    head_ = Head::kOpen;
    count_ = 0;
    escaped_ = false;
}

void WireReader::AddressByte(std::uint8_t address) {
    address_ = address;
    if (!awaited_.empty() && awaited_.front().poll && awaited_.front().address == address) {
        pollSeq_ = awaited_.front().seq;
        awaited_.pop_front();
        lastEcho_ = pollSeq_;
        head_ = Head::kPollEcho;
        Emit(WireEvent::Kind::kEcho, pollSeq_);
        return;
    }
    head_ = Head::kOther;
}

void WireReader::Add(std::uint8_t value) {
    body_[count_++] = value;
    if (count_ == kBodyLength) Whole();
}

void WireReader::Whole() {
    const Head head = head_;
    head_ = Head::kNone;
    escaped_ = false;
    if (head == Head::kPollEcho) {
        Emit(WireEvent::Kind::kFrame, pollSeq_);
        Settle(pollSeq_);
        return;
    }
    // Our request comes back whole and exactly as written. One that matches a request further
    // down the list means the echoes before it were lost on the wire: they count as settled.
    const auto ours = std::find_if(awaited_.begin(), awaited_.end(), [&](const Awaited& a) {
        return !a.poll && a.address == address_ && a.body == body_;
    });
    if (ours == awaited_.end()) {
        Emit(WireEvent::Kind::kFrame, lastEcho_);
        return;
    }
    lastEcho_ = ours->seq;
    Settle(ours->seq);
    awaited_.erase(awaited_.begin(), ours + 1);
    Emit(WireEvent::Kind::kEcho, lastEcho_);
}

}  // namespace bus

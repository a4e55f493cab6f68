#pragma once
// The one reader of the wire. What a read of the port returns is whatever the adapter handed
// over since the read before: part of a frame, one frame, or many, with the program's own polls
// and requests among them (the single wire brings back every byte the program writes). The
// reader keeps a frame that a read cut off for the next read, tells the echoes of what the
// program wrote from the devices' frames, and places every frame after the echo it follows, so
// an answer can be judged by where it stands on the wire: after the echo of our own request it
// answers that request; before it, it belongs to an earlier one. It needs no port and no clock.

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "bus/frame.h"

namespace bus {

// One thing the reader recognized, in the order the wire carried it.
struct WireEvent {
    enum class Kind : std::uint8_t {
        kEcho,   // one of ours came back: `seq` names which
        kFrame,  // a frame with a whole body, from a device (or from a master we only hear)
    };
    Kind kind = Kind::kFrame;
    // kEcho: the number Sent gave. kFrame: the number of the last of ours whose echo came
    // before it, 0 when none has since the reader was cleared.
    std::uint32_t seq = 0;
    // kFrame: the byte after its frame start; for an answer to a poll, the poll's own
    // physical-ID byte, which heads the answer on the wire.
    std::uint8_t address = 0;
    Body body{};
};

class WireReader {
  public:
    // What the program writes is remembered this far back; an echo that never comes (a byte
    // lost on the wire) cannot make the list grow without end.
    static constexpr std::size_t kMaxAwaited = 64;

    WireReader();

    // Remembers a poll or a request as the program wrote it (the bytes as written, stuffed), so
    // that its echo is known when it comes back. Numbers start at 1 and only grow.
    std::uint32_t Sent(std::span<const std::uint8_t> written);

    // Takes the bytes of one read and returns what they completed, in wire order. The result
    // lives until the next call. A frame cut at the end of `raw` is finished by a later call.
    std::span<const WireEvent> Take(std::span<const std::uint8_t> raw);

    // Forgets a cut frame and every echo still awaited, as when the port's input is purged:
    // frames that come after it follow no echo (seq 0).
    void Clear();

    // Whether what the wire carried after our `seq` is known: its echo came back, and after a
    // poll's echo either a whole answer came or the next frame started. An item given up for
    // lost, or forgotten by Clear, counts as settled with no answer.
    bool Settled(std::uint32_t seq) const { return seq <= settled_; }

    // The number of the latest request frame written, 0 when none since Clear.
    std::uint32_t LastRequest() const { return lastRequest_; }

    // A frame that answers what was asked last: it follows the echo of the latest request, or
    // of a poll written after it. With no request since Clear, every frame does.
    bool Current(const WireEvent& e) const {
        return e.kind == WireEvent::Kind::kFrame && e.seq >= lastRequest_;
    }

  private:
    struct Awaited {
        std::uint32_t seq;
        bool poll;
        std::uint8_t address;
        Body body;  // a request's bytes 2..9, unstuffed
    };
    // How the frame being read began.
    enum class Head : std::uint8_t {
        kNone,      // no frame start seen since the last finished frame
        kOpen,      // a frame start, its address byte still to come
        kPollEcho,  // the echo of our poll: what follows is its answer
        kOther,     // our request's echo or a device's frame: told apart once whole
    };

    void Add(std::uint8_t value);
    void StartFrame();
    void AddressByte(std::uint8_t address);
    void Whole();
    void Settle(std::uint32_t seq);
    void Emit(WireEvent::Kind kind, std::uint32_t seq);

    std::deque<Awaited> awaited_;
    std::vector<WireEvent> events_;
    Head head_ = Head::kNone;
    std::uint32_t pollSeq_ = 0;  // kPollEcho: whose echo heads the frame
    std::uint8_t address_ = 0;
    Body body_{};
    std::size_t count_ = 0;  // body bytes of the frame being read
    bool escaped_ = false;   // the last byte was 0x7D
    std::uint32_t next_ = 1;
    std::uint32_t lastEcho_ = 0;
    std::uint32_t settled_ = 0;
    std::uint32_t lastRequest_ = 0;
};

}  // namespace bus

#pragma once
// The one reader of the wire. What a read of the port returns is whatever the adapter handed
// over since the read before: part of a frame, one frame, or many, with the program's own polls
// and requests among them (the single wire brings back every byte the program writes). The
// reader keeps a frame that a read cut off for the next read, tells the echoes of what the
// program wrote from the devices' frames, and places every frame after the echo it follows, so
// an answer can be judged by where it stands on the wire: after the echo of our own request it
// answers that request; after an earlier, different request, it answers that one. It needs no
// port and no clock.

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
        kFrame,  // a whole body whose checksum holds, from a device (or a master we only hear)
    };
    Kind kind = Kind::kFrame;
    // kEcho: the number Sent gave. kFrame: the number of the last of ours whose echo came
    // before it, 0 when none has since the reader was cleared.
    std::uint32_t seq = 0;
    // The question the last request echoed before it asked (see WireReader::Answers); 0 when
    // none came since the reader was cleared.
    std::uint32_t question = 0;
    // kFrame: the byte after its frame start; for an answer to a poll, the poll's own
    // physical-ID byte, which heads the answer on the wire.
    std::uint8_t address = 0;
    Body body{};
};

// How long an echo may take to come back: an adapter holds bytes back for at most its latency
// timer (255 ms at the most on common USB adapters). An echo later than this was lost on the
// wire: the devices did not hear what it echoes.
inline constexpr int kLongestEchoWaitMs = 256;

// What came back of one of our writes.
enum class Echo : std::uint8_t {
    kAwaited,    // nothing yet
    kAsWritten,  // the devices heard it as the program wrote it
    kLost,       // hit by noise, or lost: the devices did not hear it as written
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

    // Whether what the wire carried after our `seq` is known: after a poll's echo, a whole
    // answer or the next frame start; after a request's echo, the next frame. An item whose
    // echo came back hit by noise, was given up for lost or forgotten by Clear counts as
    // settled with nothing after it.
    bool Settled(std::uint32_t seq) const { return seq <= settled_; }

    // Whether our `seq` came back as written. One forgotten by Clear or written before it
    // counts as written.
    Echo EchoOf(std::uint32_t seq) const;

    // The program waited for the echo of `seq` as long as an echo can take: it was lost, and
    // the echo of a copy written after it is the copy's.
    void GiveUp(std::uint32_t seq);

    // The one rule for whether a frame answers what the program asked last: the last request
    // whose echo came before it is the latest request written, or a byte-identical copy of it
    // (a request sent again asks the same question). A frame after the echo of an earlier,
    // different request answers that one; a frame before any request's echo, none. With no
    // request since Clear, every frame counts (a bus the program only listens to).
    bool Answers(const WireEvent& e) const {
        return e.kind == WireEvent::Kind::kFrame &&
               (latestQuestion_ == 0 || e.question == latestQuestion_);
    }

  private:
    struct Awaited {
        std::uint32_t seq;
        std::uint32_t question;  // a request's; 0 for a poll
        bool poll;
        std::uint8_t address;
        Body body;  // a request's bytes 2..9, unstuffed
    };
    // A request as written, and the question it asks: the number of its first copy.
    struct Question {
        std::uint8_t address;
        Body body;
        std::uint32_t id;
    };

    std::uint32_t QuestionOf(const Awaited& request);
    void StartFrame();
    void Add(std::uint8_t value);
    void EndFrame();
    bool HitOnTheWire(const Awaited& ours) const;
    void Settle(std::uint32_t seq);
    void Lose(std::deque<Awaited>::const_iterator from, std::deque<Awaited>::const_iterator to);
    void Emit(WireEvent::Kind kind, std::uint32_t seq);

    std::deque<Awaited> awaited_;
    std::deque<Question> questions_;
    std::deque<std::uint32_t> lost_;  // the latest writes whose echo came back hit or never
    std::vector<WireEvent> events_;
    bool inFrame_ = false;    // a frame start came, and its frame has not ended
    bool addressed_ = false;  // and its address byte too
    std::uint8_t address_ = 0;
    Body body_{};
    std::size_t count_ = 0;  // body bytes of the frame being read
    Unstuffer unstuffer_;
    std::uint32_t next_ = 1;
    std::uint32_t lastEcho_ = 0;
    std::uint32_t question_ = 0;        // asked by the last request whose echo came
    std::uint32_t latestQuestion_ = 0;  // asked by the latest request written
    std::uint32_t echoedRequest_ = 0;   // a request whose echo came, before the frame after it
    std::uint32_t settled_ = 0;
};

}  // namespace bus

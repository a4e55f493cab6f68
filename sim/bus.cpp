#include "sim/bus.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "bus/protocol.h"

namespace sim {

namespace {

constexpr std::size_t kFloodBytes = 2100;  // past the readers' 2000-byte limit in one burst
constexpr Micros kGarbagePeriod = 37'000;

}  // namespace

Bus::Bus(Timing timing) : timing_(timing) {}

Device& Bus::AddDevice(const SensorKind& kind, int physId, int appId) {
    devices_.push_back(
        std::make_unique<Device>(kind, physId < 0 ? kind.defaultPhysId : physId, appId));
    return *devices_.back();
}

Device* Bus::DeviceAt(int physId) {
    for (auto& d : devices_)
        if (d->PhysId() == physId) return d.get();
    return nullptr;
}

void Bus::SetReceiverMode(bool on, Micros now) {
    receiver_ = on;
    nextReceiverPoll_ = now;
}

void Bus::SetFault(BusFault fault, bool on, Micros now) {
    switch (fault) {
        case BusFault::kGarbage:
            garbage_ = on;
            nextGarbage_ = now;
            break;
        case BusFault::kFlood:
            flood_ = on;
            break;
        case BusFault::kPortGone:
            gone_ = on;
            break;
    }
}

Micros Bus::Transmit(const std::vector<std::uint8_t>& bytes, Micros start) {
    const Micros s = std::max(start, lineFree_);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const Micros at = s + static_cast<Micros>((i + 1) * timing_.byteNanos / 1000);
        rx_.push_back({at, bytes[i]});
        lineFree_ = at;
    }
    return lineFree_;
}

void Bus::Note(Micros when, const char* what, const std::vector<std::uint8_t>& bytes) {
    if (!log_) return;
    std::string line = what;
    char hex[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    log_(when, line);
}

void Bus::Poll(std::uint8_t address, Micros end, bool fromProgram) {
    for (auto& d : devices_) {
        if (bus::kPhysIdTable[static_cast<std::size_t>(d->PhysId())] != address) continue;
        std::vector<std::uint8_t> answer = d->OnPoll(end);
        if (answer.empty()) break;
        const Micros delay =
            d->HasFault(DeviceFault::kSlowAnswers) ? timing_.slowReplyDelay : timing_.replyDelay;
        // The poll's echo heads the answer: the device sends no head of its own.
        Send(std::move(answer), 0, end + delay);
        break;
    }
    if (flood_ && fromProgram) {
        std::vector<std::uint8_t> noise(kFloodBytes);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>((noiseState_ = noiseState_ * 1664525u + 1013904223u) >>
                                          24);
        Note(Transmit(noise, lineFree_), "flood   ", {});
    }
}

// What the devices make of one write of the program: a poll when the address byte ends it,
// otherwise a frame, which counts only when it unstuffs to 8 bytes with a good checksum.
void Bus::HearUnit(const std::vector<std::uint8_t>& unit, Micros end) {
    std::size_t i = 0;
    while (i < unit.size()) {
        if (unit[i] != bus::kFrameStart || i + 1 >= unit.size()) {
            ++i;
            continue;
        }
        const std::uint8_t address = unit[i + 1];
        std::size_t j = i + 2;
        while (j < unit.size() && unit[j] != bus::kFrameStart) ++j;
        if (j == i + 2) {
            Poll(address, end, true);
        } else {
            std::array<std::uint8_t, 16> body{};
            const std::size_t n =
                bus::Unstuff(std::span<const std::uint8_t>(unit.data() + i + 2, j - i - 2), body);
            std::array<std::uint8_t, bus::kFrameLength> whole{bus::kFrameStart, address};
            std::copy(body.begin(), body.begin() + 8, whole.begin() + 2);
            if (n == bus::kBodyLength && bus::FrameChecksum(whole) == body[7]) {
                bus::Body b;
                std::copy(body.begin(), body.begin() + 8, b.begin());
                for (auto& d : devices_) {
                    if (d->Kind().requestAddress != address) continue;
                    if (const auto answer = d->OnFrame(b, end)) {
                        if (d->HasFault(DeviceFault::kSilent)) continue;
                        const Micros delay = d->HasFault(DeviceFault::kSlowAnswers)
                                                 ? timing_.slowReplyDelay
                                                 : timing_.replyDelay;
                        const std::uint8_t self =
                            bus::kPhysIdTable[static_cast<std::size_t>(d->PhysId())];
                        Send(EncodeBody(self, *answer, true), bus::kPollLength, end + delay);
                    }
                }
            }
        }
        i = j;
    }
}

void Bus::HitByNoise(std::vector<std::uint8_t>& unit, Micros now) {
    if (heardSinceRequest_ == 0 && unit.size() <= bus::kPollLength) return;
    ++heardSinceRequest_;
    bool hit = false;
    for (const Noise& n : noise_) {
        if (n.on != Noise::On::kWrite || n.at != heardSinceRequest_) continue;
        const auto at = static_cast<std::size_t>(n.byte);
        unit[at < unit.size() ? at : 1] ^= 0x01;
        hit = true;
    }
    if (hit) Note(now, "noise   ", unit);
}

// A device's frame, stuffed, after `head` bytes of its own (0x7E and its address, or none when
// the poll's echo heads it), hit where the noise says. Its checksum stays the one the device
// computed over what it meant to send.
void Bus::HitSentByNoise(std::vector<std::uint8_t>& bytes, std::size_t head, Micros now) {
    std::array<std::uint8_t, 2 * bus::kBodyLength> body{};
    const auto sent = std::span<const std::uint8_t>(bytes).subspan(std::min(head, bytes.size()));
    // A cut frame or garbage is not a frame the noise counts.
    if (bus::Unstuff(sent, body) != bus::kBodyLength) return;
    Noise::On on;
    if (body[0] == bus::kTypeAnswer)
        on = Noise::On::kAnswer;
    else if (body[0] == bus::kTypeTelemetry)
        on = Noise::On::kTelemetry;
    else
        return;
    const int count = ++sent_[static_cast<std::size_t>(on)];
    bool hit = false;
    for (const Noise& n : noise_) {
        if (n.on != on || n.at != count || n.byte < 2 || n.byte > 9) continue;
        body[static_cast<std::size_t>(n.byte - 2)] ^= 0x01;
        hit = true;
    }
    if (!hit) return;
    std::array<std::uint8_t, 2 * bus::kBodyLength> stuffed{};
    const std::size_t n = bus::Stuff(std::span(body).first(bus::kBodyLength), stuffed);
    bytes.resize(head);
    bytes.insert(bytes.end(), stuffed.begin(), stuffed.begin() + static_cast<std::ptrdiff_t>(n));
    Note(now, "noise   ", bytes);
}

Micros Bus::Send(std::vector<std::uint8_t> bytes, std::size_t head, Micros start) {
    HitSentByNoise(bytes, head, start);
    const Micros done = Transmit(bytes, start);
    Note(done, "sent    ", bytes);
    return done;
}

bool Bus::AnyInConfig() const {
    for (const auto& d : devices_)
        if (d->InConfig()) return true;
    return false;
}

void Bus::Advance(Micros now) {
    while (receiver_ && nextReceiverPoll_ <= now) {
        // While the program configures a device it is the one master: the receiver keeps quiet.
        if (AnyInConfig()) {
            nextReceiverPoll_ += timing_.receiverPollPeriod;
            continue;
        }
        std::vector<const Device*> sensors;
        for (auto& d : devices_)
            if (!d->Kind().streams.empty()) sensors.push_back(d.get());
        if (!sensors.empty()) {
            const Device* d = sensors[receiverIndex_++ % sensors.size()];
            const std::uint8_t address = bus::kPhysIdTable[static_cast<std::size_t>(d->PhysId())];
            const std::vector<std::uint8_t> poll = {bus::kFrameStart, address};
            const Micros end = Transmit(poll, nextReceiverPoll_);
            Note(end, "receiver", poll);
            Poll(address, end, false);
        }
        nextReceiverPoll_ += timing_.receiverPollPeriod;
    }
    while (garbage_ && nextGarbage_ <= now) {
        std::vector<std::uint8_t> noise(1 + (noiseState_ >> 29));
        for (auto& b : noise)
            b = static_cast<std::uint8_t>((noiseState_ = noiseState_ * 1664525u + 1013904223u) >>
                                          24);
        Note(Transmit(noise, nextGarbage_), "garbage ", noise);
        nextGarbage_ += kGarbagePeriod;
    }
}

void Bus::Write(const std::uint8_t* data, std::size_t n, Micros now) {
    if (gone_ || n == 0) return;
    Advance(now);
    Note(now, "received", std::vector<std::uint8_t>(data, data + n));
    // A read of the pty may bring several of the program's writes at once (a busy machine runs
    // the simulator late). On the wire each went out after the answer to the one before, so
    // each frame is echoed and heard, and answered, in turn.
    for (std::size_t i = 0; i < n;) {
        std::size_t j = i + 1;
        while (j < n && data[j] != bus::kFrameStart) ++j;
        std::vector<std::uint8_t> unit(data + i, data + j);
        if (unit.size() >= bus::kPollLength) HitByNoise(unit, now);
        const Micros end = Transmit(unit, now);  // the echo
        HearUnit(unit, end);
        i = j;
    }
}

std::size_t Bus::Deliverable(Micros now) const {
    if (timing_.handOverPeriod > 0) {
        const Micros handedOver = now - now % timing_.handOverPeriod;
        std::size_t count = 0;
        while (count < rx_.size() && rx_[count].at <= handedOver) ++count;
        return count;
    }
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < rx_.size() && rx_[i].at <= now) {
        std::size_t j = i;
        while (j + 1 < rx_.size() && rx_[j + 1].at - rx_[j].at <= timing_.deliveryGap) ++j;
        if (rx_[j].at > now) break;
        count = j + 1;
        i = j + 1;
    }
    return count;
}

std::size_t Bus::Available(Micros now) {
    if (gone_) return 0;
    Advance(now);
    return Deliverable(now);
}

std::size_t Bus::Read(std::uint8_t* out, std::size_t max, Micros now) {
    if (gone_) return 0;
    Advance(now);
    const std::size_t n = std::min(max, Deliverable(now));
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = rx_.front().value;
        rx_.pop_front();
    }
    return n;
}

void Bus::DiscardInput(Micros now) {
    Advance(now);
    const std::size_t n = Deliverable(now);
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
}

Micros Bus::NextDelivery(Micros now) {
    Advance(now);
    Micros next = INT64_MAX;
    const std::size_t ready = Deliverable(now);
    if (ready < rx_.size() && timing_.handOverPeriod > 0) {
        const Micros p = timing_.handOverPeriod;
        next = (rx_[ready].at + p - 1) / p * p;
    } else if (ready < rx_.size()) {
        std::size_t j = ready;
        while (j + 1 < rx_.size() && rx_[j + 1].at - rx_[j].at <= timing_.deliveryGap) ++j;
        next = rx_[j].at;
    } else if (ready > 0) {
        next = now;
    }
    if (receiver_) next = std::min(next, nextReceiverPoll_);
    if (garbage_) next = std::min(next, nextGarbage_);
    return next;
}

}  // namespace sim

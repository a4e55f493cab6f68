#include "sim/device.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "bus/protocol.h"

namespace sim {

namespace {

bus::Body MakeBody(std::uint8_t type, std::uint16_t dataId, std::uint32_t value) {
    return {type,
            static_cast<std::uint8_t>(dataId & 0xFF),
            static_cast<std::uint8_t>(dataId >> 8),
            static_cast<std::uint8_t>(value),
            static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 24),
            0};
}

std::uint32_t ToWord(double v) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v)));
}

// 1 January 2025, 00:00:00 UTC plus this many seconds of simulated time: the clock of the GPS.
constexpr int kGpsStartYear = 25;

}  // namespace

std::vector<std::uint8_t> EncodeBody(std::uint8_t address, const bus::Body& body, bool withHead) {
    std::array<std::uint8_t, bus::kFrameLength> frame{bus::kFrameStart, address};
    std::copy(body.begin(), body.begin() + 7, frame.begin() + 2);
    std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
    const std::size_t n = bus::EncodeFrame(frame, out);
    return {out.begin() + (withHead ? 0 : 2), out.begin() + static_cast<std::ptrdiff_t>(n)};
}

Device::Device(const SensorKind& kind, int physId, int appId)
    : kind_(&kind),
      physId_(physId),
      appId_(appId),
      rates_(kind.streams.size()),
      nextDue_(kind.streams.size(), 0),
      phase_(kind.streams.size(), 0),
      held_(kind.quantities.size()) {
    RestoreFactory();
    for (std::size_t i = 0; i < held_.size(); ++i) held_[i] = kind.quantities[i].base;
}

void Device::RestoreFactory() {
    params_.clear();
    for (const Param& p : kind_->params) params_[p.code] = p.factory;
    for (std::size_t s = 0; s < rates_.size(); ++s) rates_[s] = kind_->streams[s].factoryRate;
}

std::uint16_t Device::StreamDataId(int stream) const {
    return static_cast<std::uint16_t>(kind_->streams[stream].base + appId_);
}

int Device::StreamOfDataId(std::uint16_t dataId) const {
    for (std::size_t s = 0; s < kind_->streams.size(); ++s)
        if (StreamDataId(static_cast<int>(s)) == dataId) return static_cast<int>(s);
    if (kind_->configBase != 0 && dataId == kind_->configBase + appId_) return 0;
    // A device reached through a request address of its own (the fuel kit) takes requests on
    // its first stream whatever application ID they carry: the read-back of a new application
    // ID still carries the old one.
    if (kind_->answersRequestsDirectly && !kind_->streams.empty() &&
        (dataId & 0xFFF0) == kind_->streams[0].base)
        return 0;
    return -1;
}

void Device::Answered() {
    if (answersLeft_ > 0 && --answersLeft_ == 0) SetFault(DeviceFault::kSilent, true);
}

void Device::SetFault(DeviceFault f, bool on) {
    const std::uint32_t bit = 1u << static_cast<int>(f);
    faults_ = on ? (faults_ | bit) : (faults_ & ~bit);
}

std::optional<std::uint32_t> Device::ParamValue(std::uint8_t code, int stream) const {
    switch (code) {
        case bus::kParamRestoreDefaults:
            return 0;
        case bus::kParamPhysId:
            return static_cast<std::uint32_t>(physId_);
        case bus::kParamAppId:
            return static_cast<std::uint32_t>(appId_);
        case bus::kParamFirmware:
            return kind_->firmware;
        case bus::kParamDataRate:
            if (rates_.empty()) return std::nullopt;
            return rates_[static_cast<std::size_t>(stream)];
        default:
            break;
    }
    for (std::size_t i = 0; i < kind_->quantities.size(); ++i) {
        const sim::Quantity& q = kind_->quantities[i];
        if (q.resetCode != code || code == 0) continue;
        if (q.resetAnswer >= 0) return static_cast<std::uint32_t>(q.resetAnswer);
        return static_cast<std::uint32_t>(std::lround(held_[i]));
    }
    const auto it = params_.find(code);
    if (it == params_.end()) return std::nullopt;
    return it->second;
}

std::optional<bus::Body> Device::Answer(std::uint8_t code, int stream, std::uint16_t dataId) const {
    auto value = ParamValue(code, stream);
    if (!value) return std::nullopt;
    if (HasFault(DeviceFault::kWrongValue)) value = 0x77;
    // Some devices answer under the ID of another of their streams, as in 7E A1 32 10 0A ...
    const auto answerId =
        HasFault(DeviceFault::kOwnAnswerId)
            ? static_cast<std::uint16_t>((dataId & 0xFF00) | ((dataId + 0x10) & 0xFF))
            : dataId;
    bus::Body body = MakeBody(bus::kTypeAnswer, answerId, 0);
    body[3] = code;
    body[4] = static_cast<std::uint8_t>(*value);
    body[5] = static_cast<std::uint8_t>(*value >> 8);
    body[6] = static_cast<std::uint8_t>(*value >> 16);
    return body;
}

void Device::Write(std::uint8_t code, std::uint32_t value, int stream) {
    const std::uint8_t low = static_cast<std::uint8_t>(value);
    switch (code) {
        case bus::kParamRestoreDefaults:
            RestoreFactory();
            return;
        case bus::kParamPhysId:
            // A device refuses an ID it cannot answer to rather than vanish from the bus.
            if (low < bus::kPhysIdCount) physId_ = low;
            return;
        case bus::kParamAppId:
            if (low <= kind_->maxAppId) appId_ = low;
            return;
        case bus::kParamFirmware:
            return;
        case bus::kParamDataRate:
            if (!rates_.empty()) rates_[static_cast<std::size_t>(stream)] = low;
            return;
        default:
            break;
    }
    if (code == kind_->commandCode && code != 0) {
        commands_.push_back(value);
        return;
    }
    if (code == kind_->factoryCode && code != 0 && value != 0) {
        RestoreFactory();
        return;
    }
    for (std::size_t i = 0; i < kind_->quantities.size(); ++i) {
        const sim::Quantity& q = kind_->quantities[i];
        if (q.resetCode == code && code != 0) {
            held_[i] = q.resetFromParam ? params_[q.resetFromParam] : 0;
            return;
        }
    }
    if (params_.count(code)) params_[code] = value & 0xFFFFFF;
}

std::optional<bus::Body> Device::OnFrame(const bus::Body& frame, Micros t) {
    // A silent device still hears: it enters and leaves configuration access, and only sends
    // nothing.
    const std::uint16_t dataId = static_cast<std::uint16_t>(frame[1] | (frame[2] << 8));
    const int stream = StreamOfDataId(dataId);
    if (stream < 0) return std::nullopt;
    if (stream > 0 && HasFault(DeviceFault::kFirstStreamOnly)) return std::nullopt;
    const std::uint8_t type = frame[0];
    const std::uint32_t value = frame[4] | (static_cast<std::uint32_t>(frame[5]) << 8) |
                                (static_cast<std::uint32_t>(frame[6]) << 16);

    if (kind_->answersRequestsDirectly) {
        if (type == bus::kTypeRead && !HasFault(DeviceFault::kSilent)) {
            auto answer = Answer(frame[3], stream, dataId);
            if (answer) Answered();
            return answer;
        }
        if (type == bus::kTypeWrite) Write(frame[3], value, stream);
        return std::nullopt;
    }
    switch (type) {
        case bus::kTypeEnter:
            if (!HasFault(DeviceFault::kIgnoresEnter)) {
                inConfig_ = true;
                pendingAnswer_.reset();
            }
            break;
        case bus::kTypeLeave:
            if (inConfig_) {
                inConfig_ = false;
                pendingAnswer_.reset();
                // Streams start afresh rather than bursting out everything that fell due.
                std::fill(nextDue_.begin(), nextDue_.end(), t);
            }
            break;
        case bus::kTypeRead:
            if (inConfig_) pendingAnswer_ = Answer(frame[3], stream, dataId);
            break;
        case bus::kTypeWrite:
            if (inConfig_) Write(frame[3], value, stream);
            break;
        default:
            break;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> Device::OnPoll(Micros t) {
    if (HasFault(DeviceFault::kSilent)) return {};
    std::optional<bus::Body> body;
    if (inConfig_) {
        body = pendingAnswer_;
        if (body) Answered();
    } else if (!kind_->streams.empty()) {
        const int s = NextStream(t);
        body = MakeBody(bus::kTypeTelemetry, StreamDataId(s), TelemetryValue(s, t));
    }
    if (!body) return {};

    const std::uint8_t address = bus::kPhysIdTable[static_cast<std::size_t>(physId_)];
    std::vector<std::uint8_t> bytes = EncodeBody(address, *body, false);
    if (HasFault(DeviceFault::kGarbage)) {
        std::uniform_int_distribution<int> byte(0, 255);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(noise_));
    }
    if (HasFault(DeviceFault::kCutFrames)) bytes.resize(bytes.size() / 2);
    return bytes;
}

// Each poll carries the stream that is most overdue, so streams come round as often as their
// rates ask while every poll still gets an answer.
int Device::NextStream(Micros t) {
    int best = 0;
    for (std::size_t s = 1; s < nextDue_.size(); ++s)
        if (nextDue_[s] < nextDue_[static_cast<std::size_t>(best)]) best = static_cast<int>(s);
    const Micros period = std::max<Micros>(1, rates_[static_cast<std::size_t>(best)]) * 100'000;
    Micros& due = nextDue_[static_cast<std::size_t>(best)];
    due = std::max(due, t - period) + period;
    return best;
}

double Device::Quantity(int index, Micros t) const {
    const sim::Quantity& q = kind_->quantities[static_cast<std::size_t>(index)];
    if (q.held) return held_[static_cast<std::size_t>(index)];
    if (q.swing == 0) return q.base;
    const double seconds = static_cast<double>(t) / 1e6;
    return q.base + q.swing * std::sin(2 * std::numbers::pi * seconds / q.periodS);
}

std::vector<double> Device::Readings(Micros t) const {
    std::vector<double> r(kind_->quantities.size());
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = Quantity(static_cast<int>(i), t);
    return r;
}

std::uint32_t Device::TelemetryValue(int s, Micros t) {
    const Stream& st = kind_->streams[static_cast<std::size_t>(s)];
    const std::uint32_t phase = phase_[static_cast<std::size_t>(s)]++;
    std::uint32_t v = 0;
    switch (st.encoding) {
        case Encoding::kScaled32:
            v = ToWord(Quantity(st.q0, t) * st.s0);
            break;
        case Encoding::kScaledPair16:
            v = (ToWord(Quantity(st.q0, t) * st.s0) & 0xFFFF) |
                (ToWord(Quantity(st.q1, t) * st.s1) << 16);
            break;
        case Encoding::kLipoCells: {
            const int cells = static_cast<int>(Quantity(st.q0, t));
            const int pairs = std::max(1, (cells + 1) / 2);
            const int first = static_cast<int>(phase % static_cast<std::uint32_t>(pairs)) * 2;
            auto count = [&](int cell) -> std::uint32_t {
                if (cell >= cells) return 0;
                return static_cast<std::uint32_t>(
                           std::lround(Quantity(st.q0 + 1 + cell, t) * 500)) &
                       0xFFF;
            };
            const std::uint32_t a = count(first), b = count(first + 1);
            v = static_cast<std::uint32_t>(cells << 4 | first) | (a << 8) | (b << 20);
            break;
        }
        case Encoding::kGpsPosition: {
            const bool longitude = phase % 2 == 1;
            const double deg = Quantity(longitude ? st.q1 : st.q0, t);
            const auto minutes = static_cast<std::uint32_t>(std::lround(std::fabs(deg) * 600000));
            const std::uint32_t hemisphere =
                longitude ? (deg < 0 ? 0xC0000000u : 0x80000000u) : (deg < 0 ? 0x40000000u : 0u);
            v = (minutes & 0x3FFFFFFF) | hemisphere;
            break;
        }
        case Encoding::kGpsDateTime: {
            const std::int64_t secs = t / 1'000'000;
            if (phase % 2 == 0) {
                const auto hms = static_cast<std::uint32_t>(secs % 86400);
                v = (hms / 3600) << 24 | (hms / 60 % 60) << 16 | (hms % 60) << 8 | 0;
            } else {
                // Days past 1 January, within a 28-day month so the date stays valid.
                const auto day = static_cast<std::uint32_t>(secs / 86400);
                v = static_cast<std::uint32_t>(kGpsStartYear + day / 336) << 24 |
                    (day / 28 % 12 + 1) << 16 | (day % 28 + 1) << 8 | 1;
            }
            break;
        }
        case Encoding::kVtxSetting:
            v = params_[0x80] << 8;
            break;
    }
    for (int qi : {static_cast<int>(st.q0), static_cast<int>(st.q1)}) {
        if (qi < 0 || static_cast<std::size_t>(qi) >= held_.size()) continue;
        const sim::Quantity& q = kind_->quantities[static_cast<std::size_t>(qi)];
        if (q.held)
            held_[static_cast<std::size_t>(qi)] = std::clamp(held_[qi] + q.drift, q.lo, q.hi);
    }
    return v;
}

}  // namespace sim

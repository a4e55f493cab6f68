#include "sim/options.h"

#include <charconv>

namespace sim {

namespace {

struct FaultName {
    const char* name;
    const char* help;
    bool busLevel;
    DeviceFault device;
    BusFault bus;
};

// "garbage" exists at both levels: with @PHYSID it is one device's, without it the bus's.
constexpr FaultName kFaults[] = {
    {"silent", "the device answers nothing", false, DeviceFault::kSilent, {}},
    {"ignore-enter",
     "the device ignores the enter frame and keeps streaming",
     false,
     DeviceFault::kIgnoresEnter,
     {}},
    {"cut-frames", "the device sends only half of each frame", false, DeviceFault::kCutFrames, {}},
    {"slow", "the device answers 20 ms late", false, DeviceFault::kSlowAnswers, {}},
    {"first-stream",
     "the device answers requests on its first stream only",
     false,
     DeviceFault::kFirstStreamOnly,
     {}},
    {"answer-id",
     "the device answers under a data ID of its own (its request's plus 0x10)",
     false,
     DeviceFault::kOwnAnswerId,
     {}},
    {"wrong-value",
     "the device answers every read with 0x77, whatever it holds",
     false,
     DeviceFault::kWrongValue,
     {}},
    {"garbage", "random bytes: instead of a device's answers (@PHYSID) or between frames", true,
     DeviceFault::kGarbage, BusFault::kGarbage},
    {"flood", "2100 bytes of noise after every poll of the program", true, {}, BusFault::kFlood},
    {"port-gone", "the port disappears 3 s after the start", true, {}, BusFault::kPortGone},
};

// Noise on the program's writes, or on the frames the devices send, and the bytes it may hit.
struct NoiseFlag {
    std::string_view name;
    Noise::On on;
    int firstByte;
    int defaultByte;
};
constexpr NoiseFlag kNoiseFlags[] = {
    {"--noise", Noise::On::kWrite, 0, 1},
    {"--answer-noise", Noise::On::kAnswer, 2, 6},
    {"--telemetry-noise", Noise::On::kTelemetry, 2, 6},
};

const NoiseFlag* FindNoiseFlag(std::string_view arg) {
    for (const NoiseFlag& f : kNoiseFlags)
        if (arg == f.name) return &f;
    return nullptr;
}

bool ParseInt(std::string_view s, int& out) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

const FaultName* FindFault(std::string_view name) {
    for (const auto& f : kFaults)
        if (name == f.name) return &f;
    return nullptr;
}

// KIND[@PHYSID[:APPID]]
bool ParseDevice(std::string_view text, DeviceSpec& spec, std::string& error) {
    const auto at = text.find('@');
    spec.kind = FindKind(text.substr(0, at));
    if (!spec.kind) {
        error = "unknown device kind: " + std::string(text.substr(0, at));
        return false;
    }
    if (at == std::string_view::npos) return true;
    std::string_view rest = text.substr(at + 1);
    const auto colon = rest.find(':');
    if (!ParseInt(rest.substr(0, colon), spec.physId) || spec.physId < 0 || spec.physId > 27) {
        error = "physical ID must be 0..27: " + std::string(text);
        return false;
    }
    if (colon != std::string_view::npos && (!ParseInt(rest.substr(colon + 1), spec.appId) ||
                                            spec.appId < 0 || spec.appId > spec.kind->maxAppId)) {
        error = "application ID out of range: " + std::string(text);
        return false;
    }
    return true;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--receiver") {
            o.receiver = true;
        } else if (a == "--port") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (v->rfind("COM", 0) != 0 || !ParseInt(std::string_view(*v).substr(3), o.port) ||
                o.port < 1 || o.port > 32) {
                error = "port must be COM1..COM32: " + *v;
                return std::nullopt;
            }
        } else if (a == "--device") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            DeviceSpec spec;
            if (!ParseDevice(*v, spec, error)) return std::nullopt;
            o.devices.push_back(spec);
        } else if (a == "--fault") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            FaultSpec f;
            const auto at = v->find('@');
            f.name = v->substr(0, at);
            if (!FindFault(f.name)) {
                error = "unknown fault: " + f.name;
                return std::nullopt;
            }
            if (at != std::string::npos &&
                (!ParseInt(std::string_view(*v).substr(at + 1), f.physId) || f.physId < 0 ||
                 f.physId > 27)) {
                error = "fault device must be a physical ID 0..27: " + *v;
                return std::nullopt;
            }
            o.faults.push_back(f);
        } else if (a == "--latency") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (!ParseInt(*v, o.latencyMs) || o.latencyMs < 0 || o.latencyMs > 1000) {
                error = "latency must be 0..1000 ms: " + *v;
                return std::nullopt;
            }
        } else if (a == "--receiver-period") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (!ParseInt(*v, o.receiverPeriodMs) || o.receiverPeriodMs < 1 ||
                o.receiverPeriodMs > 1000) {
                error = "receiver period must be 1..1000 ms: " + *v;
                return std::nullopt;
            }
        } else if (const NoiseFlag* flag = FindNoiseFlag(a)) {
            const std::string* v = value();
            if (!v) return std::nullopt;
            Noise noise{0, flag->defaultByte, flag->on};
            const std::string_view text(*v);
            const auto colon = text.find(':');
            if (!ParseInt(text.substr(0, colon), noise.at) || noise.at < 1 ||
                (colon != std::string_view::npos &&
                 (!ParseInt(text.substr(colon + 1), noise.byte) || noise.byte < flag->firstByte ||
                  noise.byte > 9))) {
                error = a + " must be N[:BYTE], N from 1, BYTE " + std::to_string(flag->firstByte) +
                        "..9: " + *v;
                return std::nullopt;
            }
            o.noise.push_back(noise);
        } else if (a == "--silent-after") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (!ParseInt(*v, o.silentAfter) || o.silentAfter < 1) {
                error = "--silent-after must be a number of answers from 1: " + *v;
                return std::nullopt;
            }
        } else if (a == "--log") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            o.logFile = *v;
        } else {
            error = "unknown argument: " + a;
            return std::nullopt;
        }
    }
    if (!o.help && o.port == 0) {
        error = "--port COMn is required";
        return std::nullopt;
    }
    if (o.devices.empty()) o.devices.push_back({FindKind("airspeed"), -1, 0});
    return o;
}

std::string HelpText() {
    std::string t =
        "usage: kestrova-sim --port COMn [--device KIND[@PHYSID[:APPID]]]... [--receiver]\n"
        "                    [--receiver-period MS] [--fault NAME[@PHYSID]]... [--latency MS]\n"
        "                    [--noise N[:BYTE]]... [--answer-noise N[:BYTE]]...\n"
        "                    [--telemetry-noise N[:BYTE]]... [--silent-after N] [--log FILE]\n"
        "Serves a simulated Q.Wire bus on a pseudo-terminal published as COMn until SIGINT or\n"
        "SIGTERM. Without --device: one air-speed sensor. --receiver: the simulator polls its\n"
        "sensors itself, as a receiver does, and the program only listens; the receiver is a KXV\n"
        "stabilizer at physical ID 26 too (unless a device sits there), which the program\n"
        "configures, and keeps quiet while a device is in configuration access; it polls a sensor\n"
        "every 10 ms, or every --receiver-period MS. --latency MS: the\n"
        "bytes of the bus reach the program only every MS ms, late and in chunks, as through a\n"
        "USB adapter's latency timer (16 ms on an FTDI adapter by default). --noise N[:BYTE]: one\n"
        "write of the program is hit by noise on the wire: the Nth poll or frame, counted from "
        "its\n"
        "first request frame (1), has the low bit of its byte BYTE flipped (1, the address, by\n"
        "default; 0 its frame start; 3 or 4, a request's data ID), as the devices and the echo\n"
        "both receive it; --noise N:B --noise N:C hits two bytes of one write.\n"
        "--answer-noise N[:BYTE], --telemetry-noise N[:BYTE]: the Nth answer (type 0x32), or\n"
        "telemetry frame (0x10), the devices send reaches the program with the low bit of its\n"
        "byte BYTE flipped (2 the type, 3-4 the data ID, 5 the parameter code, 6-8 the value, 6\n"
        "by default, 9 the checksum); its checksum stays the device's. Each noise option may\n"
        "be given more than once. --silent-after N: every device falls silent after its Nth\n"
        "answer (type 0x32); it still hears, and leaves configuration access when told.\n"
        "\nkinds (default "
        "physical ID):\n";
    for (const SensorKind& k : AllKinds()) {
        t += "  " + std::string(k.name) +
             std::string(12 - std::min<std::size_t>(11, k.name.size()), ' ') +
             std::string(k.title) + " (" + std::to_string(k.defaultPhysId) + ")\n";
    }
    t += "\nfaults (NAME@PHYSID for one device, NAME alone for all devices or the bus):\n";
    for (const auto& f : kFaults)
        t += "  " + std::string(f.name) +
             std::string(14 - std::min<std::size_t>(13, std::string_view(f.name).size()), ' ') +
             f.help + "\n";
    return t;
}

bool SetUpBus(Bus& bus, const Options& options, std::string& error) {
    for (const DeviceSpec& d : options.devices) {
        const int phys = d.physId < 0 ? d.kind->defaultPhysId : d.physId;
        if (bus.DeviceAt(phys)) {
            error = "two devices at physical ID " + std::to_string(phys);
            return false;
        }
        bus.AddDevice(*d.kind, phys, d.appId);
    }
    // A receiver is also the KXV stabilizer the program configures, unless one was named.
    const SensorKind& stabilizer = *FindKind("kxv");
    if (options.receiver && !bus.DeviceAt(stabilizer.defaultPhysId)) bus.AddDevice(stabilizer);
    bus.SetReceiverMode(options.receiver);
    Timing timing = bus.GetTiming();
    timing.handOverPeriod = Micros{options.latencyMs} * 1000;
    timing.receiverPollPeriod = Micros{options.receiverPeriodMs} * 1000;
    bus.SetTiming(timing);
    bus.SetNoise(options.noise);
    for (auto& d : bus.Devices()) d->SilenceAfter(options.silentAfter);
    for (const FaultSpec& spec : options.faults) {
        const FaultName* f = FindFault(spec.name);
        if (f->busLevel && (spec.physId < 0 || f->bus != BusFault::kGarbage)) {
            if (f->bus != BusFault::kPortGone) bus.SetFault(f->bus, true);
            continue;
        }
        bool found = false;
        for (auto& d : bus.Devices()) {
            if (spec.physId >= 0 && d->PhysId() != spec.physId) continue;
            d->SetFault(f->device, true);
            found = true;
        }
        if (!found) {
            error = "no device at physical ID " + std::to_string(spec.physId) + " for " + spec.name;
            return false;
        }
    }
    return true;
}

bool WantsPortGone(const Options& options) {
    for (const FaultSpec& f : options.faults)
        if (f.name == "port-gone") return true;
    return false;
}

}  // namespace sim

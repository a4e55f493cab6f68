#pragma once
// The command line of kestrova-sim, and how its fault names map onto a bus.

#include <optional>
#include <string>
#include <vector>

#include "sim/bus.h"

namespace sim {

struct DeviceSpec {
    const SensorKind* kind = nullptr;
    int physId = -1;  // the kind's default
    int appId = 0;
};

struct FaultSpec {
    std::string name;
    int physId = -1;  // every device, or the bus for bus faults
};

struct Options {
    int port = 0;
    std::vector<DeviceSpec> devices;
    bool receiver = false;
    std::vector<FaultSpec> faults;
    std::string logFile;
    // The adapter hands bytes over every this many ms; 0: once the line is quiet.
    int latencyMs = 0;
    // The receiver polls a sensor every this many ms.
    int receiverPeriodMs = 10;
    std::vector<Noise> noise;
    // Every device falls silent after this many answers; 0: never.
    int silentAfter = 0;
    bool help = false;
};

// nullopt with `error` set when the command line is not usable.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);
std::string HelpText();

// Puts the devices on the bus and switches the faults on. A port-gone fault is not applied
// here: the caller decides when the port disappears. False with `error` for unknown names or
// devices.
bool SetUpBus(Bus& bus, const Options& options, std::string& error);
bool WantsPortGone(const Options& options);

}  // namespace sim

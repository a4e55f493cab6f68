#pragma once
// The fuel kit's step machines. The kit knows no configuration access and is never polled: every
// step sends one read or write request on its own address, or takes the answer to the request
// before it, and a failed exchange goes back to its own request rather than to step 0.

#include <span>

#include "sensors/SensorSteps.h"

namespace sensor_steps {

struct FuelKitMachines {
    Machine read, write, defaults;
    Machine resetResidualVolume, resetMaximumFlow, resetAverageFlow;
};

const FuelKitMachines& FuelKit();
// All six, each on its own timer.
std::span<const Machine* const> FuelKitMachineList();

}  // namespace sensor_steps

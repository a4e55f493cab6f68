#pragma once
// The Read, Write and Default Settings machines of a sensor with one telemetry stream and one
// data rate (air speed, 150 A current, LiPo cells): the page's stream 0 is the one they address.

#include <span>

#include "sensors/SensorSteps.h"

namespace sensor_steps {

const Machine& OneStreamRead();
const Machine& OneStreamWrite();
const Machine& OneStreamDefault();
// All three, as a page returns them from Machines().
std::span<const Machine* const> OneStreamMachines();

}  // namespace sensor_steps

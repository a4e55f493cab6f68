#pragma once
// Which physical ID an address byte on the wire names: an answer heads with the echo of the poll
// it answers, whose byte is the polled ID's entry of kPhysIdTable.

#include <cstdint>

#include "bus/frame.h"

namespace telemetry {

// The physical ID whose kPhysIdTable byte is `address`, or -1.
int PhysIdIndexOf(std::uint8_t address);

}  // namespace telemetry

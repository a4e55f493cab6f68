#include "sensors/telemetry_frames.h"

namespace telemetry {

int PhysIdIndexOf(std::uint8_t address) {
    for (int i = 0; i < bus::kPhysIdCount; ++i)
        if (bus::kPhysIdTable[static_cast<std::size_t>(i)] == address) return i;
    return -1;
}

}  // namespace telemetry

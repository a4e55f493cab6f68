#pragma once
// The program's own sensor pages, the global objects, as the decoding table addresses them. The
// bus scan, the Monitoring listener and the lamps all go through this one list.

#include "sensors/TelemetryTable.h"

namespace telemetry {

Pages GlobalPages();

}  // namespace telemetry

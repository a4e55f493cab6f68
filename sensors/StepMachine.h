#pragma once
// The one engine that runs every configuration step machine of the sensor pages.

#include "bus/link.h"
#include "platform/cstring.h"
#include "sensors/SensorSteps.h"

namespace sensor_steps {

// One tick of `machine` on `page` with the inputs the page read for it: one bus action, then
// the shared end of the tick.
Outcome RunTick(CSensorPage& page, const Machine& machine, const TickInputs& inputs,
                bus::Link& bus);

// The data ID of stream `stream` of the page for its current application ID.
WORD StreamDataId(const CSensorPage& page, int stream);

// atoi of the control's text, as every edit that feeds a Write is read.
int EditNumber(CSensorPage& page, int id);

// An ID as the machines show it: "%.d" prints nothing for 0, so 0 is written as "0".
CString IdText(int value);

}  // namespace sensor_steps

#pragma once
// The one engine that runs every configuration step machine of the sensor pages.

#include "platform/cstring.h"
#include "sensors/SensorBus.h"
#include "sensors/SensorSteps.h"

namespace sensor_steps {

// One tick of `machine` on `page` with the inputs the page read for it: one bus action, then
// the shared end of the tick.
Outcome RunTick(CSensorPage& page, const Machine& machine, const TickInputs& inputs,
                SensorBus& bus);

// At the end of an operation: the leave frames of its last run that the devices did not hear
// as written (their echo came back hit by noise) are sent once more, so no device is left in
// configuration access, where it sends no telemetry.
void ConfirmLeaves(CSensorPage& page, SensorBus& bus);

// The data ID of stream `stream` of the page for its current application ID.
WORD StreamDataId(const CSensorPage& page, int stream);

// atoi of the control's text, as every edit that feeds a Write is read.
int EditNumber(CSensorPage& page, int id);

// An ID as the machines show it: "%.d" prints nothing for 0, so 0 is written as "0".
CString IdText(int value);

}  // namespace sensor_steps

#pragma once
// How the step machines reach the bus: one small interface, so the engine needs no window. The
// program's bus is the main window's static bus operations on the one port and its one reader of
// the wire; a test may put a bus of its own in its place.

#include <cstdint>
#include <span>

#include "bus/wire_reader.h"

namespace sensor_steps {

class SensorBus {
  public:
    virtual ~SensorBus() = default;
    // A poll (2 bytes) or a request frame (10 bytes, checksummed and stuffed on the way);
    // returns the number the reader of the wire knows it by.
    virtual std::uint32_t Send(unsigned char* frame, int length) = 0;
    // What arrived since the last read, as the reader of the wire placed it.
    virtual std::span<const bus::WireEvent> Read() = 0;
    virtual const bus::WireReader& Wire() const = 0;
    virtual void Purge() = 0;
};

// The main window's bus operations (defined with them in app/).
SensorBus& ProgramBus();

}  // namespace sensor_steps

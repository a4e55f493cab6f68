#pragma once
// How the step machines reach the bus: one small interface, so the engine needs no window. The
// program's bus is the main window's static bus operations on the one port; a test may put a
// bus of its own in its place.

namespace sensor_steps {

class SensorBus {
  public:
    virtual ~SensorBus() = default;
    // A poll (2 bytes) or a request frame (10 bytes, checksummed and stuffed on the way).
    virtual void Send(unsigned char* frame, int length) = 0;
    // The reply body of what arrived, and the body of the first answer frame among it.
    virtual void ReadBody(unsigned char* body) = 0;
    virtual void ReadAnswerBody(unsigned char* body) = 0;
    virtual void Purge() = 0;
};

// The main window's bus operations (defined with them in app/).
SensorBus& ProgramBus();

}  // namespace sensor_steps

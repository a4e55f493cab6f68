#pragma once
// Binding a COM port name to an in-process device, so that tests run the program's serial
// code against a simulated bus on the virtual clock.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/clock.h"

namespace platform {

// The far end of a virtual COM port. All times are the active clock's microseconds.
class VirtualLine {
  public:
    virtual ~VirtualLine() = default;
    // Bytes the program writes, at time `now`.
    virtual void Write(const std::uint8_t* data, std::size_t n, Micros now) = 0;
    // Bytes that have arrived at the program's end by `now` and not yet been read.
    virtual std::size_t Available(Micros now) = 0;
    // Takes up to `max` of the bytes available by `now`.
    virtual std::size_t Read(std::uint8_t* out, std::size_t max, Micros now) = 0;
    // Drops everything received but not yet read (input purge).
    virtual void DiscardInput(Micros now) = 0;
    // False once the adapter has vanished: every operation on an open handle then fails.
    virtual bool Present() const { return true; }
};

// COM`number` (1..32) now opens `line`. Binding a port announces it as an arriving device
// only if `announce` is set; unbinding announces removal likewise.
void BindVirtualPort(int number, std::shared_ptr<VirtualLine> line, bool announce = false);
void UnbindVirtualPort(int number, bool announce = false);
void UnbindAllVirtualPorts();

}  // namespace platform

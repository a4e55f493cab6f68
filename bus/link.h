#pragma once
// How a run on the bus reaches it: one small interface over the port, its one reader of the wire
// and the clock, so the step machines, the KXV page and the way out of configuration access need
// no window. The program's link is the main window's static bus operations on the one port.

#include <cstdint>
#include <span>

#include "bus/wire_reader.h"

namespace bus {

class Link {
  public:
    virtual ~Link() = default;
    // A poll (2 bytes) or a request frame (10 bytes, checksummed and stuffed on the way);
    // returns the number the reader of the wire knows it by.
    virtual std::uint32_t Send(unsigned char* frame, int length) = 0;
    // What arrived since the last read, as the reader of the wire placed it.
    virtual std::span<const WireEvent> Read() = 0;
    virtual WireReader& Wire() = 0;
    virtual void Purge() = 0;
    // Whether the port is open, so a frame can go out at all.
    virtual bool Usable() const = 0;
    // The clock, in µs, and when the wire was last read: what had come by then has been seen.
    virtual std::int64_t NowUs() const = 0;
    virtual std::int64_t LastReadUs() const = 0;
    // Waits doing nothing else, as a handler that blocks does.
    virtual void Pause(std::int64_t us) = 0;
};

}  // namespace bus

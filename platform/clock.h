#pragma once
// The one time source of the program: real (steady clock) or virtual (moved only by tests).
// Timers, virtual serial lines and the simulator bridge all read time from here, so a test
// that advances the virtual clock sees wire latency and timer ticks move together.

#include <cstdint>

namespace platform {

using Micros = std::int64_t;

// Microseconds since an arbitrary origin, from the active time source.
Micros Now();

bool UsingVirtualTime();

// The UI thread waits, doing nothing else, as a handler that blocks does: on the real clock it
// sleeps; on the virtual one the time passes with no timer firing (they fire late, once).
void Block(Micros by);

// Virtual time for tests. Install before any timer is set; Advance moves the clock in steps,
// firing every timer that falls due, in due-time order, through the normal dispatch.
class VirtualClock {
  public:
    static void Install();
    static void Uninstall();
    static void Advance(Micros by);
    static void AdvanceMs(std::int64_t ms) { Advance(ms * 1000); }
    static void AdvanceTo(Micros when);
};

}  // namespace platform

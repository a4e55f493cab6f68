#include "platform/clock.h"

#include <chrono>
#include <thread>

#include "platform/timer_service.h"

namespace platform {
namespace {

bool g_virtual = false;
Micros g_virtualNow = 0;

Micros RealNow() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Micros Now() {
    return g_virtual ? g_virtualNow : RealNow();
}

bool UsingVirtualTime() {
    return g_virtual;
}

void Block(Micros by) {
    if (by <= 0) return;
    if (g_virtual)
        g_virtualNow += by;
    else
        std::this_thread::sleep_for(std::chrono::microseconds(by));
}

void VirtualClock::Install() {
    g_virtual = true;
    // Start well away from zero so "time since" arithmetic never goes negative.
    g_virtualNow = 1'000'000'000;
}

void VirtualClock::Uninstall() {
    g_virtual = false;
}

void VirtualClock::Advance(Micros by) {
    AdvanceTo(g_virtualNow + by);
}

void VirtualClock::AdvanceTo(Micros when) {
    if (!g_virtual) return;
    // Step from one due timer to the next so that handlers see the time they were due at.
    for (;;) {
        Micros due = TimerService::Instance().NextDue();
        if (due < 0 || due > when) break;
        if (due > g_virtualNow) g_virtualNow = due;
        TimerService::Instance().FireDue(g_virtualNow);
    }
    if (when > g_virtualNow) g_virtualNow = when;
}

}  // namespace platform

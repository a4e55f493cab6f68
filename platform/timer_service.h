#pragma once
// Window timers: one schedule for every (window, id) pair, driven by the real clock through one
// precise Qt timer, or by the virtual clock in tests.

#include <cstdint>
#include <map>
#include <utility>

#include "platform/clock.h"
#include "platform/win_types.h"

class CWnd;
class QTimer;

namespace platform {

class TimerService {
public:
    static TimerService& Instance();

    // Setting a running id restarts it with the new period.
    void Set(CWnd* wnd, UINT_PTR id, UINT periodMs);
    bool Kill(CWnd* wnd, UINT_PTR id);
    void KillAll(CWnd* wnd);
    bool IsRunning(CWnd* wnd, UINT_PTR id) const;

    // Earliest due time, or -1 when no timer runs.
    Micros NextDue() const;
    // Fires every timer due at `now`, earliest first. A late timer fires once and is then
    // rescheduled from its due time, or from now when it fell a whole period behind.
    void FireDue(Micros now);

private:
    struct Entry {
        Micros period = 0;
        Micros due = 0;
        std::uint64_t generation = 0;
    };
    using Key = std::pair<CWnd*, UINT_PTR>;

    void Rearm();

    std::map<Key, Entry> m_timers;
    std::uint64_t m_generation = 0;
    QTimer* m_qtimer = nullptr;
};

}  // namespace platform

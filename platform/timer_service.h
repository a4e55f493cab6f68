#pragma once
// Window timers, one schedule for every (window, id) pair. On the real clock a waker thread
// sleeps until the earliest due time and asks the UI thread to fire what is due; handlers
// always run on the UI thread. On the virtual clock the tests move the schedule.

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "platform/clock.h"
#include "platform/win_types.h"

class CWnd;

namespace platform {

class TimerWaker;

class TimerService {
  public:
    static TimerService& Instance();
    ~TimerService();

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

    // Tells the waker the new earliest due time (real clock only).
    void Rearm();

    std::map<Key, Entry> m_timers;
    std::uint64_t m_generation = 0;
    std::unique_ptr<TimerWaker> m_waker;
};

}  // namespace platform

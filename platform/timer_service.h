#pragma once
// Window timers, one schedule for every (window, id) pair. On the real clock a waker thread
// sleeps until the earliest due time and asks the UI thread to fire what is due; handlers
// always run on the UI thread. On the virtual clock the tests move the schedule.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/clock.h"
#include "platform/win_types.h"

class CWnd;

namespace platform {

class TimerWaker;
class InputWaiter;

class TimerService {
  public:
    static TimerService& Instance();
    ~TimerService();

    // Setting a running id restarts it with the new period.
    void Set(CWnd* wnd, UINT_PTR id, UINT periodMs);
    bool Kill(CWnd* wnd, UINT_PTR id);
    void KillAll(CWnd* wnd);
    bool IsRunning(CWnd* wnd, UINT_PTR id) const;

    // Timer `id` of `wnd` ticks only when the port that `port` names has bytes to read, at most
    // once a period: a listener that reads what arrived then wakes when something arrives,
    // not a thousand times a second to find nothing. Where the port has no descriptor (a
    // virtual line) or the clock is virtual, the timer ticks by its period as any other.
    void WakeOnInput(CWnd* wnd, UINT_PTR id, std::function<HANDLE()> port);
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
        Micros notBefore = 0;    // a timer woken by input: the earliest time of its next tick
        bool inputCame = false;  // ... and its wait ended because input came
    };
    using Key = std::pair<CWnd*, UINT_PTR>;
    static constexpr Micros kWaiting = INT64_MAX;

    // The descriptor a timer woken by input waits on, or -1 when it ticks by its period.
    int InputDescriptor(const Key& key) const;
    void WaitForInput(const Key& key, Entry& e, int fd, Micros notBefore);
    // Whether a due timer may tick now; a timer woken by input (on `fd`) that finds none waits
    // for it.
    bool MayTick(const Key& key, Entry& e, int fd);

    // Tells the waker the new earliest due time (real clock only).
    void Rearm();

    std::map<Key, Entry> m_timers;
    std::uint64_t m_generation = 0;
    std::unique_ptr<TimerWaker> m_waker;
    std::map<Key, std::function<HANDLE()>> m_inputPorts;
    std::map<Key, std::unique_ptr<InputWaiter>> m_waiters;
};

}  // namespace platform

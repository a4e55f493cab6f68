#pragma once
// Window timers, one per (window, id) pair. On the real clock each is a periodic precise Qt
// timer, which keeps its period from the due times and fires a late timer once; on the virtual
// clock the schedule here is moved by the tests.

#include <cstdint>
#include <map>
#include <memory>
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
        std::shared_ptr<QTimer> qt;  // real time only
    };
    using Key = std::pair<CWnd*, UINT_PTR>;

    void StartReal(const Key& key, Entry& e);
    static void Arm(Entry& e, Micros now);

    std::map<Key, Entry> m_timers;
    std::uint64_t m_generation = 0;
};

}  // namespace platform

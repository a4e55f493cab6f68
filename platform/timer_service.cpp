#include "platform/timer_service.h"

#include <QCoreApplication>
#include <algorithm>
#include <QTimer>
#include <vector>

#include "platform/wnd.h"

namespace platform {

TimerService& TimerService::Instance() {
    static TimerService service;
    return service;
}

void TimerService::Set(CWnd* wnd, UINT_PTR id, UINT periodMs) {
    // A zero period would spin; the platform raises it to the minimum as Windows does.
    Micros period = static_cast<Micros>(periodMs < 1 ? 1 : periodMs) * 1000;
    Entry& e = m_timers[{wnd, id}];
    e.period = period;
    e.due = Now() + period;
    e.generation = ++m_generation;
    Rearm();
}

bool TimerService::Kill(CWnd* wnd, UINT_PTR id) {
    bool had = m_timers.erase({wnd, id}) > 0;
    if (had) Rearm();
    return had;
}

void TimerService::KillAll(CWnd* wnd) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == wnd)
            it = m_timers.erase(it);
        else
            ++it;
    }
    Rearm();
}

bool TimerService::IsRunning(CWnd* wnd, UINT_PTR id) const { return m_timers.count({wnd, id}) > 0; }

Micros TimerService::NextDue() const {
    Micros best = -1;
    for (const auto& [key, e] : m_timers)
        if (best < 0 || e.due < best) best = e.due;
    return best;
}

void TimerService::FireDue(Micros now) {
    // Collect first: handlers may set, kill or restart any timer, including their own.
    struct Due {
        Micros due;
        std::uint64_t order;
        Key key;
        std::uint64_t generation;
    };
    std::vector<Due> due;
    for (const auto& [key, e] : m_timers)
        if (e.due <= now) due.push_back({e.due, e.generation, key, e.generation});
    std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    for (const Due& d : due) {
        auto it = m_timers.find(d.key);
        // Killed or re-set by an earlier handler in this round: skip.
        if (it == m_timers.end() || it->second.generation != d.generation) continue;
        Entry& e = it->second;
        e.due += e.period;
        if (e.due <= now) e.due = now + e.period;
        d.key.first->DispatchTimer(d.key.second);
    }
    Rearm();
}

void TimerService::Rearm() {
    if (UsingVirtualTime() || !QCoreApplication::instance()) return;
    if (!m_qtimer) {
        m_qtimer = new QTimer(QCoreApplication::instance());
        m_qtimer->setSingleShot(true);
        m_qtimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_qtimer, &QTimer::timeout, [this] { FireDue(Now()); });
    }
    Micros next = NextDue();
    if (next < 0) {
        m_qtimer->stop();
        return;
    }
    Micros wait = next - Now();
    // Round up so we never wake before the due time and spin.
    int ms = wait <= 0 ? 0 : static_cast<int>((wait + 999) / 1000);
    m_qtimer->start(ms);
}

}  // namespace platform

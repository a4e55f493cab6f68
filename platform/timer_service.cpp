#include "platform/timer_service.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "platform/wnd.h"

namespace platform {

TimerService& TimerService::Instance() {
    static TimerService service;
    return service;
}

void TimerService::Set(CWnd* wnd, UINT_PTR id, UINT periodMs) {
    // A zero period would spin; the platform raises it to the minimum as Windows does.
    UINT ms = periodMs < 1 ? 1 : periodMs;
    Entry& e = m_timers[{wnd, id}];
    e.period = static_cast<Micros>(ms) * 1000;
    e.due = Now() + e.period;
    e.generation = ++m_generation;
    if (!UsingVirtualTime()) StartReal({wnd, id}, e);
}

void TimerService::StartReal(const Key& key, Entry& e) {
    if (!QCoreApplication::instance()) return;
    if (!e.qt) {
        e.qt = std::make_shared<QTimer>();
        e.qt->setTimerType(Qt::PreciseTimer);
        e.qt->setSingleShot(true);
        std::weak_ptr<QTimer> self = e.qt;
        QObject::connect(e.qt.get(), &QTimer::timeout, [this, key, self] {
            auto it = m_timers.find(key);
            if (it == m_timers.end() || it->second.qt != self.lock()) return;
            std::shared_ptr<QTimer> keep = it->second.qt;  // the handler may kill this timer
            Entry& entry = it->second;
            // The next tick counts from this one's due time, so the period does not drift by
            // the event loop's lateness; a timer that fell a whole period behind fires once.
            Micros now = Now();
            entry.due += entry.period;
            if (entry.due <= now) entry.due = now + entry.period;
            Arm(entry, now);
            key.first->DispatchTimer(key.second);
        });
    }
    Arm(e, Now());
}

void TimerService::Arm(Entry& e, Micros now) {
    Micros wait = e.due - now;
    // Qt counts whole milliseconds and wakes a little late; rounding the wait down keeps each
    // tick within a millisecond of its due time with the same offset every time, so the
    // periods between ticks stay even.
    e.qt->start(wait <= 0 ? 0 : static_cast<int>(wait / 1000));
}

bool TimerService::Kill(CWnd* wnd, UINT_PTR id) {
    auto it = m_timers.find({wnd, id});
    if (it == m_timers.end()) return false;
    if (it->second.qt) it->second.qt->stop();
    m_timers.erase(it);
    return true;
}

void TimerService::KillAll(CWnd* wnd) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == wnd) {
            if (it->second.qt) it->second.qt->stop();
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

bool TimerService::IsRunning(CWnd* wnd, UINT_PTR id) const {
    return m_timers.count({wnd, id}) > 0;
}

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
        Key key;
        std::uint64_t generation;
    };
    std::vector<Due> due;
    for (const auto& [key, e] : m_timers)
        if (e.due <= now) due.push_back({e.due, key, e.generation});
    std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
        return a.due != b.due ? a.due < b.due : a.generation < b.generation;
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
}

}  // namespace platform

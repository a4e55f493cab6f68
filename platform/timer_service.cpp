#include "platform/timer_service.h"

#include <poll.h>

#include <QCoreApplication>
#include <algorithm>
#include <vector>

#include "platform/comm_port.h"
#include "platform/timer_waker.h"
#include "platform/wnd.h"

namespace platform {

TimerService& TimerService::Instance() {
    // Never destroyed: global windows kill their timers from destructors that run after every
    // function-local static is gone.
    static auto* service = new TimerService;
    return *service;
}

TimerService::~TimerService() = default;

void TimerService::Set(CWnd* wnd, UINT_PTR id, UINT periodMs) {
    // A zero period would spin; the platform raises it to the minimum as Windows does.
    UINT ms = periodMs < 1 ? 1 : periodMs;
    Entry& e = m_timers[{wnd, id}];
    e.period = static_cast<Micros>(ms) * 1000;
    e.due = Now() + e.period;
    e.generation = ++m_generation;
    // Set afresh, a timer woken by input first waits out its period like any other.
    if (const auto w = m_waiters.find({wnd, id}); w != m_waiters.end()) w->second->Pause();
    Rearm();
}

void TimerService::WakeOnInput(CWnd* wnd, UINT_PTR id, std::function<HANDLE()> port) {
    m_inputPorts[{wnd, id}] = std::move(port);
}

int TimerService::InputDescriptor(const Key& key) const {
    const auto bound = m_inputPorts.find(key);
    if (bound == m_inputPorts.end() || UsingVirtualTime() || !QCoreApplication::instance())
        return -1;
    return InputDescriptorOf(bound->second());
}

void TimerService::WaitForInput(const Key& key, Entry& e, int fd, Micros notBefore) {
    auto& waiter = m_waiters[key];
    if (!waiter || waiter->Descriptor() != fd) {
        waiter = std::make_unique<InputWaiter>(fd, [this, key] {
            // Set afresh while it waited: nothing waits any more until its next tick.
            const auto it = m_timers.find(key);
            if (it == m_timers.end() || it->second.due != kWaiting) {
                if (const auto w = m_waiters.find(key); w != m_waiters.end()) w->second->Pause();
                return;
            }
            // Input came: the tick is due now, or once a period has passed since the last; till
            // then what came is not read, and the watch would only fire again.
            const Micros now = Now();
            it->second.due = std::max(now, it->second.notBefore);
            it->second.inputCame = true;
            if (it->second.due > now) m_waiters.at(key)->Pause();
            FireDue(now);
        });
    }
    e.due = kWaiting;
    e.notBefore = notBefore;
    waiter->Wait();
}

bool TimerService::MayTick(const Key& key, Entry& e, int fd) {
    if (fd < 0 || std::exchange(e.inputCame, false)) return true;
    // Input waiting, or a port that hung up: the handler reads it and finds out.
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 0) > 0) return true;
    WaitForInput(key, e, fd, 0);
    return false;
}

bool TimerService::Kill(CWnd* wnd, UINT_PTR id) {
    m_waiters.erase({wnd, id});
    bool had = m_timers.erase({wnd, id}) > 0;
    if (had) Rearm();
    return had;
}

void TimerService::KillAll(CWnd* wnd) {
    std::erase_if(m_waiters, [wnd](const auto& w) { return w.first.first == wnd; });
    std::erase_if(m_inputPorts, [wnd](const auto& p) { return p.first.first == wnd; });
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == wnd)
            it = m_timers.erase(it);
        else
            ++it;
    }
    Rearm();
}

bool TimerService::IsRunning(CWnd* wnd, UINT_PTR id) const {
    return m_timers.count({wnd, id}) > 0;
}

Micros TimerService::NextDue() const {
    Micros best = -1;
    for (const auto& [key, e] : m_timers)
        if (e.due != kWaiting && (best < 0 || e.due < best)) best = e.due;
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
        // Killed or re-set by an earlier handler of this round, or already fired by a nested
        // loop (a message box inside a handler): skip.
        if (it == m_timers.end() || it->second.generation != d.generation || it->second.due > now)
            continue;
        Entry& e = it->second;
        const int fd = InputDescriptor(d.key);
        if (!MayTick(d.key, e, fd)) continue;
        // A timer woken by input waits for the next input after its tick; nothing else wakes it.
        if (fd >= 0) {
            e.due = kWaiting;
        } else if (now - d.due > e.period / 4) {
            // On time, the next tick keeps the schedule, so periods stay exact. A tick that ran
            // more than a quarter period late starts the period again: the step machines poll
            // on one tick and read the answer on the next, and need their ticks a period apart.
            e.due = now + e.period;
        } else {
            e.due += e.period;
        }
        // Rearm before the handler runs, so timers go on firing in any modal loop it opens.
        Rearm();
        d.key.first->DispatchTimer(d.key.second);
        // After the handler has read what waited, so the wait is for what comes next.
        if (fd < 0) continue;
        it = m_timers.find(d.key);
        if (it != m_timers.end() && it->second.generation == d.generation &&
            it->second.due == kWaiting)
            WaitForInput(d.key, it->second, fd, now + it->second.period);
    }
    Rearm();
}

void TimerService::Rearm() {
    if (UsingVirtualTime() || !QCoreApplication::instance()) return;
    if (!m_waker) m_waker = std::make_unique<TimerWaker>([this] { FireDue(Now()); });
    m_waker->WakeAt(NextDue());
}

}  // namespace platform

#include "platform/timer_waker.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdint>

namespace platform {

TimerWaker::TimerWaker(std::function<void()> fire) : m_fire(std::move(fire)) {
    // The real clock is the steady clock, which is CLOCK_MONOTONIC.
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        std::uint64_t expirations = 0;
        if (read(m_fd, &expirations, sizeof expirations) != sizeof expirations) return;
        m_armed = -1;
        m_fire();
    });
}

TimerWaker::~TimerWaker() {
    m_notifier.reset();
    if (m_fd >= 0) close(m_fd);
}

void TimerWaker::WakeAt(Micros due) {
    // Armed for that moment already: the kernel timer needs no second call.
    if (m_fd < 0 || due == m_armed) return;
    m_armed = due;
    itimerspec spec{};
    if (due >= 0) {
        // An absolute time of zero would disarm the timer; anything due is at least 1 ns.
        Micros at = due > 0 ? due : 1;
        spec.it_value.tv_sec = at / 1'000'000;
        spec.it_value.tv_nsec = static_cast<long>(at % 1'000'000) * 1000;
    }
    timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &spec, nullptr);
}

InputWaiter::InputWaiter(int fd, std::function<void()> ready)
    : m_fd(fd),
      m_ready(std::move(ready)),
      m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)) {
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        // A copy: what it starts may end this waiter, and with it `m_ready`.
        const std::function<void()> ready = m_ready;
        ready();
    });
}

InputWaiter::~InputWaiter() {
    // It may be ended from inside its own signal: the notifier goes once that is over, and
    // fires nothing more meanwhile.
    m_notifier->setEnabled(false);
    QObject::disconnect(m_notifier.get(), nullptr, nullptr, nullptr);
    m_notifier.release()->deleteLater();
}

void InputWaiter::Wait() {
    if (!m_notifier->isEnabled()) m_notifier->setEnabled(true);
}

void InputWaiter::Pause() {
    m_notifier->setEnabled(false);
}

}  // namespace platform

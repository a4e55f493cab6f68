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
        m_fire();
    });
}

TimerWaker::~TimerWaker() {
    m_notifier.reset();
    if (m_fd >= 0) close(m_fd);
}

void TimerWaker::WakeAt(Micros due) {
    if (m_fd < 0) return;
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
        // Level-triggered: off until asked again, or it would fire until the bytes are read.
        m_notifier->setEnabled(false);
        // Queued: what it starts may end this waiter, which must not happen inside its signal.
        QMetaObject::invokeMethod(QCoreApplication::instance(), m_ready, Qt::QueuedConnection);
    });
}

InputWaiter::~InputWaiter() = default;

void InputWaiter::Wait() {
    m_notifier->setEnabled(true);
}

}  // namespace platform

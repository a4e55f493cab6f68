#pragma once
// The real clock's side of the window timers: a kernel timer (timerfd) armed for the earliest
// due time, watched by the UI thread's event loop, and the wait for input of timers that tick
// only when their port has bytes. Qt's own timers wake the loop up to a
// millisecond late, which would stretch a 4 ms period by a tenth; the kernel timer is exact to
// the microsecond and costs no thread.

#include <functional>
#include <memory>

#include "platform/clock.h"

class QSocketNotifier;

namespace platform {

class TimerWaker {
  public:
    // `fire` runs on the UI thread each time the armed time is reached.
    explicit TimerWaker(std::function<void()> fire);
    ~TimerWaker();
    // The next moment to wake at (the real clock's microseconds); -1 for none.
    void WakeAt(Micros due);

  private:
    std::function<void()> m_fire;
    int m_fd = -1;
    Micros m_armed = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Watches, on the UI thread's event loop, a descriptor that has something to read, and calls
// `ready` whenever it has: until what waits is read, or Pause.
class InputWaiter {
  public:
    InputWaiter(int fd, std::function<void()> ready);
    ~InputWaiter();
    int Descriptor() const { return m_fd; }
    void Wait();
    void Pause();

  private:
    int m_fd;
    std::function<void()> m_ready;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace platform

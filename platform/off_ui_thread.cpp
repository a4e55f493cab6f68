#include "platform/off_ui_thread.h"

#include <QEventLoop>
#include <thread>

namespace platform {

void RunOffUiThread(const std::function<void()>& work) {
    QEventLoop loop;
    std::thread worker([&] {
        work();
        // Queued, so it reaches the loop on the UI thread even when the work ends before the
        // loop has started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
}

}  // namespace platform

#include "platform/off_ui_thread.h"

#include <QEventLoop>
#include <thread>

namespace platform {
namespace {
int g_heldBack = 0;  // nested runs, on the UI thread only
}  // namespace

bool UiInputHeldBack() {
    return g_heldBack > 0;
}

void RunOffUiThread(const std::function<void()>& work) {
    QEventLoop loop;
    ++g_heldBack;
    std::thread worker([&] {
        work();
        // Queued, so it reaches the loop on the UI thread even when the work ends before the
        // loop has started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    --g_heldBack;
}

}  // namespace platform

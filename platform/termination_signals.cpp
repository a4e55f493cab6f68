#include "platform/termination_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <cerrno>

#include "platform/styles.h"
#include "platform/win_app.h"
#include "platform/wnd.h"

namespace platform {
namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// Set before the handler that writes to it is installed.
int g_wakeFd = -1;
// Read by other threads while the handler may be setting it: it must never need a lock.
std::atomic<bool> g_terminationRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// A handler may only use calls that are safe in a signal: it wakes the event loop and nothing
// more.
void OnTerminationSignal(int sig) {
    const int savedErrno = errno;
    // The user's second Ctrl-C finds the default action and ends the program at once, whatever
    // holds the first up. SIGTERM and SIGHUP come in bunches when a session ends (the kernel and
    // the shell each send SIGHUP for a closed terminal; a login manager sends SIGTERM, then
    // SIGHUP, which the shell passes on): a repeat of them joins the close under way, which
    // takes the devices out of configuration access before the program exits.
    if (sig == SIGINT) {
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigaction(sig, &fallback, nullptr);
    }
    g_terminationRequested.store(true);
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(g_wakeFd, &wake, 1);
    errno = savedErrno;
}

void CloseMainWindow() {
    CWinApp* app = AfxGetApp();
    if (CWnd* main = app ? app->m_pMainWnd : nullptr) main->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    // The main window's loop returns only after the loops of the boxes open above it (a message
    // box, a file dialog, a dialog, the system menu), and nobody is there to answer them: every
    // loop ends now, and one that the ending code opens after them returns at once. Each box
    // then answers as it does when closed without a button.
    QCoreApplication::exit(0);
}

}  // namespace

void CloseOnTerminationSignals() {
    if (g_wakeFd >= 0 || !QCoreApplication::instance()) return;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return;
    g_wakeFd = ends[0];
    const int readFd = ends[1];
    auto* notifier =
        new QSocketNotifier(readFd, QSocketNotifier::Read, QCoreApplication::instance());
    // Signals that came together are one byte or several here, and one close.
    QObject::connect(notifier, &QSocketNotifier::activated, [readFd] {
        char drained[16];
        while (read(readFd, drained, sizeof drained) > 0) {
        }
        CloseMainWindow();
    });

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    // On one thread the handlers do not nest; on two they may run at once, which is harmless as
    // each one changes only its own signal.
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals) {
        struct sigaction before {};
        sigaction(s, nullptr, &before);
        // Whoever started the program asked for it to outlive this signal (nohup, or a script
        // that runs it in the background, which ignores SIGINT).
        if (before.sa_handler == SIG_IGN) continue;
        sigaction(s, &action, nullptr);
    }
}

bool TerminationRequested() {
    return g_terminationRequested.load();
}

}  // namespace platform

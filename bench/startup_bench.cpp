// Start-up: the time from process start to the main window shown with every page created, and
// the resident memory then. Ten fresh processes; the median is what counts. Run it under Xvfb
// (xvfb-run) to include a real X server; without a display it uses the offscreen platform.

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bench/process_stats.h"
#include "platform/port_namespace.h"
#include "platform/ui_events.h"
#include "resources/resources.h"

extern char** environ;

namespace {

long long MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1'000'000'000LL + ts.tv_nsec;
}

// One start-up, as the program makes it, ending when the main window is on screen.
int Child(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::EnsureUiEvents();
    platform::SetModalHook([](const platform::ModalRecord& r) {
        if (r.kind == platform::ModalKind::Dialog && r.dialogId == CKestrovaDlg::IDD) {
            QApplication::processEvents();  // let it paint once
            std::printf("shown %lld rss %ld\n", MonotonicNs(), bench::RssKb());
            std::fflush(stdout);
        }
        return platform::ModalAnswer{IDCANCEL};
    });
    theApp.InitInstance();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return Child(argc, argv);
    std::vector<double> ms;
    std::vector<long> rss;
    for (int i = 0; i < 10; ++i) {
        int out[2];
        if (pipe(out) != 0) return 1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char child[] = "--child";
        char* args[] = {argv[0], child, nullptr};
        long long start = MonotonicNs();
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, args, environ) != 0) return 1;
        close(out[1]);
        std::string text;
        char buf[256];
        ssize_t n = 0;
        while ((n = read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
        close(out[0]);
        waitpid(pid, nullptr, 0);
        long long shown = 0;
        long kb = 0;
        size_t at = text.find("shown ");
        if (at == std::string::npos ||
            std::sscanf(text.c_str() + at, "shown %lld rss %ld", &shown, &kb) != 2) {
            std::printf("run %d: no window\n", i);
            continue;
        }
        ms.push_back((shown - start) / 1e6);
        rss.push_back(kb);
    }
    if (ms.empty()) return 1;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    std::sort(rss.begin(), rss.end());
    std::printf(
        "start-up to main window with all pages: median %.1f ms (min %.1f, max %.1f) over %zu "
        "runs\n",
        sorted[sorted.size() / 2], sorted.front(), sorted.back(), sorted.size());
    std::printf("resident memory then: median %.1f MB\n", rss[rss.size() / 2] / 1024.0);
    return 0;
}

// Real-time behaviour of the window layer: the period of a 1 ms and a 4 ms window timer over
// five seconds, the CPU they cost, and the time and memory to create 60 dialogs holding 1,500
// controls (about what the program's pages hold).

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/process_stats.h"
#include "platform/afx.h"

namespace {

class TickDlg : public CDialogEx {
  public:
    explicit TickDlg(UINT id) : CDialogEx(id) {}
    std::vector<platform::Micros> ticks[2];
    const platform::MessageMap* GetMessageMap() const override {
        static const platform::MessageMap map{CDialogEx::ThisMessageMap(),
                                              {platform::OnWmTimer(&TickDlg::OnTimer)}};
        return &map;
    }
    void OnTimer(UINT_PTR id) {
        if (id < 2) ticks[id].push_back(platform::Now());
    }
};

void Report(const char* name, std::vector<platform::Micros>& at, double nominalMs) {
    std::vector<double> periods;
    for (size_t i = 1; i < at.size(); ++i) periods.push_back((at[i] - at[i - 1]) / 1000.0);
    std::sort(periods.begin(), periods.end());
    if (periods.empty()) return;
    double median = periods[periods.size() / 2];
    double p99 = periods[std::min(periods.size() - 1, periods.size() * 99 / 100)];
    std::printf("%s: %zu ticks, median %.3f ms (%.3f x nominal), p99 %.3f ms, max %.3f ms\n", name,
                periods.size(), median, median / nominalMs, p99, periods.back());
}

platform::DialogTemplate MakeTemplate(UINT id, int controls) {
    platform::DialogTemplate t{id, "Bench", 300, 200, WS_CHILD, "MS Shell Dlg", 9, {}};
    for (int i = 0; i < controls; ++i) {
        auto kind = std::vector<platform::CtrlKind>{
            platform::CtrlKind::PushButton, platform::CtrlKind::Edit, platform::CtrlKind::Static,
            platform::CtrlKind::ComboBox, platform::CtrlKind::Progress}[i % 5];
        t.controls.push_back({kind, 1000 + i, "Text", WS_VISIBLE,
                              static_cast<short>(5 + (i % 5) * 50),
                              static_cast<short>(5 + (i / 5) * 14), 45, 12});
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    static platform::DialogTemplate host{7000, "Host", 100, 50, WS_POPUP, "MS Shell Dlg", 9, {}};
    platform::RegisterDialogTemplate(host);

    TickDlg dlg(7000);
    dlg.Create(7000);
    double cpu0 = bench::CpuSeconds();
    dlg.SetTimer(0, 1);
    dlg.SetTimer(1, 4);
    QTimer::singleShot(5000, &app, [&] { app.quit(); });
    app.exec();
    dlg.KillTimer(0);
    dlg.KillTimer(1);
    double cpu = bench::CpuSeconds() - cpu0;
    Report("1 ms timer", dlg.ticks[0], 1.0);
    Report("4 ms timer", dlg.ticks[1], 4.0);
    std::printf("CPU of both timers: %.2f %% of one core over 5 s\n", cpu / 5.0 * 100.0);

    static std::vector<platform::DialogTemplate> templates;
    for (int i = 0; i < 60; ++i) templates.push_back(MakeTemplate(7100 + i, 25));
    for (auto& t : templates) platform::RegisterDialogTemplate(t);
    std::vector<std::unique_ptr<CDialogEx>> pages;
    long rss0 = bench::RssKb();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 60; ++i) {
        pages.push_back(std::make_unique<CDialogEx>(7100 + i));
        pages.back()->Create(7100 + i, &dlg);
    }
    double ms = clock.nsecsElapsed() / 1e6;
    std::printf("60 dialogs with 1500 controls: %.1f ms, %.1f MB more resident memory\n", ms,
                (bench::RssKb() - rss0) / 1024.0);
    return 0;
}

// Read, Write and Default Settings on the air-speed page in real time, against kestrova-sim on a
// pty: how many of 50 of each succeed, how many needed a restart of their machine (more than
// one enter frame on the wire), how long each took, and the CPU the program used meanwhile.
// Usage: bench_sensor_operations_bench [path/to/kestrova-sim] (default: ../sim/kestrova-sim).

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bench/process_stats.h"
#include "bench/sim_child.h"
#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/timer_service.h"
#include "platform/ui_events.h"
#include "resources/resources.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 50;

using bench::RunEventsFor;
using bench::Sim;

// Enter frames the simulator heard so far.
int EntersHeard(const fs::path& log) {
    std::ifstream in(log);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) n += line.find("received 7E 1C 21") != std::string::npos;
    return n;
}

struct Tally {
    const char* name;
    int succeeded = 0;
    int failed = 0;
    int restarted = 0;
    std::vector<double> ms;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string simBinary =
        argc > 1
            ? argv[1]
            : (fs::canonical("/proc/self/exe").parent_path().parent_path() / "sim" / "kestrova-sim")
                  .string();
    if (!fs::exists(simBinary)) {
        std::printf("kestrova-sim not found at %s; nothing measured\n", simBinary.c_str());
        return 0;
    }
    if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::EnsureUiEvents();
    resources::RegisterAll();
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    std::vector<std::string> messages;
    platform::SetModalHook([&messages](const platform::ModalRecord& r) {
        if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
        return platform::ModalAnswer{IDOK};
    });

    const fs::path dir =
        fs::temp_directory_path() / ("kestrova-operations-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path log = dir / "wire.log";
    Sim sim(simBinary, dir, {"--device", "airspeed@9", "--log", log.string()});
    if (sim.Port() != "COM7") {
        std::printf("kestrova-sim did not publish COM7; nothing measured\n");
        return 0;
    }
    CKestrovaDlg main;
    main.Create(CKestrovaDlg::IDD);
    main.OnBnClickedOpen();
    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
    page.OnBnClickedConfigure();
    RunEventsFor(140 * 46 + 200);
    std::printf("Configure found the air-speed sensor at physical ID %d, application ID %d\n",
                page.m_nPhysIdIndex, page.m_nAppId);

    auto& timers = platform::TimerService::Instance();
    // One operation from its button until its progress run or time-out has ended it.
    auto run = [&](Tally& tally, void (CSensorPage::*start)()) {
        messages.clear();
        int enters = EntersHeard(log);
        auto t0 = std::chrono::steady_clock::now();
        (page.*start)();
        do {
            RunEventsFor(5);
        } while (timers.IsRunning(&page, 2));
        tally.ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
        bool failed =
            std::find(messages.begin(), messages.end(), "Operation failed！") != messages.end();
        tally.failed += failed;
        tally.succeeded += !failed;
        RunEventsFor(20);  // the simulator's log catches up
        tally.restarted += EntersHeard(log) - enters > 1;
    };

    Tally reads{"Read"}, writes{"Write"}, defaults{"Default Settings"};
    const double cpu0 = bench::CpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) run(reads, &CSensorPage::OnBnClickedRead);
    for (int i = 0; i < kRuns; ++i) {
        // New settings every time: rate 300 or 400 ms, application ID 0 or 1.
        page.SetDlgItemText(1057, i % 2 ? "400" : "300");
        page.SetDlgItemText(1056, i % 2 ? "1" : "0");
        page.SetDlgItemText(1055, "9");
        run(writes, &CSensorPage::OnBnClickedWrite);
    }
    for (int i = 0; i < kRuns; ++i) run(defaults, &CSensorPage::OnBnClickedDefault);
    const double cpu = bench::CpuSeconds() - cpu0;
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();

    for (const Tally* t : {&reads, &writes, &defaults})
        std::printf("%-16s %d/%d succeeded, %d failed, %d needed a restart; median %.0f ms\n",
                    t->name, t->succeeded, kRuns, t->failed, t->restarted, Median(t->ms));
    std::printf("CPU during the operations: %.2f %% of one core (%.0f ms over %.0f ms)\n",
                100.0 * cpu / (wallMs / 1000.0), cpu * 1000, wallMs);
    main.OnBnClickedOpen();
    main.DestroyWindow();
    fs::remove_all(dir);
    return 0;
}

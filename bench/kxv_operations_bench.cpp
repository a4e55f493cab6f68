// Read, Write and Default of the KXV page's 26 parameters in real time, against
// `kestrova-sim --receiver` on a pty: how many of 20 of each succeed, how long each sequence
// takes beside the figure its timer periods give, and how often a parameter went out again.
// Usage: bench_kxv_operations_bench [path/to/kestrova-sim] (default: ../sim/kestrova-sim).

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bench/median.h"
#include "bench/process_stats.h"
#include "bench/program_setup.h"
#include "bench/sim_child.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 20;
// Past this a sequence has failed whatever it does: the page's own time-outs.
constexpr double kGiveUpMs = 16000;

using bench::Median;
using bench::RunEventsFor;
using bench::Sim;

// Requests of `kind` ("7E BA 30 30 0C" reads, "7E BA 31 30 0C" writes) the simulator heard so
// far; a poll and a frame that reach it in one piece share a line.
int Heard(const fs::path& log, const std::string& kind) {
    std::ifstream in(log);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        if (line.find("received") == std::string::npos) continue;
        for (std::size_t at = line.find(kind); at != std::string::npos;
             at = line.find(kind, at + 1))
            ++n;
    }
    return n;
}

struct Tally {
    const char* name;
    double nominalMs;
    const char* nominalWhy;
    const char* frameKind;  // the request that counts repeats
    int succeeded = 0;
    std::vector<double> ms;
    std::vector<int> frames;
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> simBinary = bench::FindSim(argc > 1 ? argv[1] : nullptr);
    if (!simBinary) return 0;
    if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::PrepareProgram();
    std::vector<std::string> messages;
    bench::KeepMessageBoxTexts(messages);

    const fs::path dir =
        fs::temp_directory_path() / ("kestrova-kxv-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path log = dir / "wire.log";
    Sim sim(*simBinary, dir, {"--receiver", "--log", log.string()});
    if (sim.Port() != "COM7") {
        std::printf("kestrova-sim did not publish COM7; nothing measured\n");
        return 0;
    }
    CKestrovaDlg main;
    main.Create(CKestrovaDlg::IDD);
    main.OnBnClickedOpen();
    CReceiver_KXVDlg& page = g_receiverKXV;

    // One operation from its button to its leave frame. The page keeps its buttons locked until
    // its time-out timer (15 s after a Read, 10 s after a Write); the next start ends that wait,
    // so the figures are the bus exchange's.
    auto run = [&](Tally& tally, void (CReceiver_KXVDlg::*start)()) {
        messages.clear();
        RunEventsFor(50);  // the simulator's log catches up
        const int before = Heard(log, tally.frameKind);
        const auto t0 = std::chrono::steady_clock::now();
        (page.*start)();
        double ms = 0;
        do {
            RunEventsFor(2);
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                     .count();
        } while (page.SequenceRunning() && ms < kGiveUpMs);
        const bool ok = !page.SequenceRunning() && messages.empty();
        tally.succeeded += ok;
        if (ok) tally.ms.push_back(ms);
        RunEventsFor(200);
        const int frames = Heard(log, tally.frameKind) - before;
        tally.frames.push_back(frames);
    };

    Tally reads{"Read", 820, "3 + 3 x 26 + 1 ticks of 10 ms", "7E BA 30 30 0C"};
    Tally writes{"Write", 4800, "3 + 6 x 26 + 1 ticks of 30 ms", "7E BA 31 30 0C"};
    Tally defaults{"Default", 4800, "3 + 6 x 26 + 1 ticks of 30 ms", "7E BA 31 30 0C"};
    const double cpu0 = bench::CpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) run(reads, &CReceiver_KXVDlg::OnBnClickedRead);
    for (int i = 0; i < kRuns; ++i) {
        // New values every time: a gain and an angle go back and forth.
        g_receiverKXV_GainSetting.SetDlgItemText(1183, i % 2 ? "120" : "60");
        g_receiverKXV_OffsetAngleSetting.SetDlgItemText(1010, i % 2 ? "-7" : "9");
        run(writes, &CReceiver_KXVDlg::OnBnClickedWrite);
    }
    for (int i = 0; i < kRuns; ++i) run(defaults, &CReceiver_KXVDlg::OnBnClickedDefault);
    const double cpu = bench::CpuSeconds() - cpu0;
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();

    std::printf("%-8s %9s %10s %10s %10s   %-32s %s\n", "", "succeeded", "median ms", "min ms",
                "max ms", "nominal (timer periods)", "requests per run");
    for (Tally* t : {&reads, &writes, &defaults}) {
        const auto [lo, hi] = std::minmax_element(t->ms.begin(), t->ms.end());
        const auto [fewest, most] = std::minmax_element(t->frames.begin(), t->frames.end());
        std::printf("%-8s %6d/%-2d %10.0f %10.0f %10.0f   %5.0f ms = %-23s %d..%d\n", t->name,
                    t->succeeded, kRuns, Median(t->ms), t->ms.empty() ? 0 : *lo,
                    t->ms.empty() ? 0 : *hi, t->nominalMs, t->nominalWhy, *fewest, *most);
    }
    std::printf("ratio of the median to the nominal: Read %.2f, Write %.2f, Default %.2f\n",
                Median(reads.ms) / reads.nominalMs, Median(writes.ms) / writes.nominalMs,
                Median(defaults.ms) / defaults.nominalMs);
    std::printf("CPU during the operations: %.2f %% of one core (%.0f ms over %.0f ms)\n",
                100.0 * cpu / (wallMs / 1000.0), cpu * 1000, wallMs);
    page.StopTimers();
    main.OnBnClickedOpen();
    main.DestroyWindow();
    fs::remove_all(dir);
    return 0;
}

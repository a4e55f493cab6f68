// The bus scan and the Monitoring listener in real time, against kestrova-sim on a pty: the
// sweep period seen on the wire (nominal 28 × 4 ms = 112 ms) and the CPU the program uses
// while scanning and while monitoring. Without a display Qt runs offscreen.
// Usage: bench_scan_bench [path/to/kestrova-sim] (default: ../sim/kestrova-sim beside this).

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
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bench/process_stats.h"
#include "bench/program_setup.h"
#include "bench/sim_child.h"
#include "platform/modal_ui.h"
#include "platform/timer_service.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUpMs = 1000;
constexpr int kMeasureMs = 10000;
constexpr int kRounds = 3;

using bench::RunEventsFor;
using bench::Sim;

double Percent(double cpuSeconds, int wallMs) {
    return 100.0 * cpuSeconds / (wallMs / 1000.0);
}

// Times (s) at which the simulator heard the poll of physical ID 0: one per sweep.
std::vector<double> SweepStarts(const fs::path& log) {
    std::vector<double> starts;
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        double t = 0;
        std::string what, b0, b1;
        if (s >> t >> what >> b0 >> b1 && what == "received" && b0 == "7E" && b1 == "00")
            starts.push_back(t);
    }
    return starts;
}

// How many frames the simulated devices sent (the log's "sent" lines), since the log began.
std::size_t SentFrames(const fs::path& log) {
    std::ifstream in(log);
    std::string line;
    std::size_t n = 0;
    while (std::getline(in, line)) n += line.find(" sent ") != std::string::npos;
    return n;
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> simBinary = bench::FindSim(argc > 1 ? argv[1] : nullptr);
    if (!simBinary) return 0;
    if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::PrepareProgram();
    int boxes = 0;
    platform::SetModalHook([&boxes](const platform::ModalRecord& r) {
        ++boxes;
        std::printf("box: %s\n", r.text.c_str());
        return platform::ModalAnswer{IDOK};
    });

    const fs::path dir =
        fs::temp_directory_path() / ("kestrova-scan-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path log = dir / "wire.log";
    const std::vector<std::string> devices = {"--device", "airspeed@9", "--device", "lipo@1",
                                              "--device", "gps@3",      "--device", "current40@2"};

    // Configure: the program polls the 28 IDs on its 4 ms timer.
    double scanCpu = 0;
    std::vector<double> periods;
    {
        std::vector<std::string> args = devices;
        args.insert(args.end(), {"--log", log.string()});
        Sim sim(*simBinary, dir, args);
        if (sim.Port() != "COM7") {
            std::printf("kestrova-sim did not publish COM7; nothing measured\n");
            return 0;
        }
        CKestrovaDlg main;
        main.Create(CKestrovaDlg::IDD);
        main.OnBnClickedOpen();
        main.SetTimer(1, 4);
        RunEventsFor(kWarmUpMs);
        const double cpu0 = bench::CpuSeconds();
        RunEventsFor(kMeasureMs);
        scanCpu = bench::CpuSeconds() - cpu0;
        main.KillTimer(1);
        main.OnBnClickedOpen();
        std::printf("scan found: air speed at %d, LiPo at %d (%g cells), GPS at %d\n",
                    g_sensorAirSpeed.m_nPhysIdIndex, g_sensorLipoVoltage.m_nPhysIdIndex,
                    g_sensorLipoVoltage.m_dCellCount, g_sensorGPS.m_nPhysIdIndex);
        main.DestroyWindow();
    }
    std::vector<double> starts = SweepStarts(log);
    for (std::size_t i = 1; i < starts.size(); ++i) {
        if (starts[i - 1] < kWarmUpMs / 1000.0) continue;
        periods.push_back((starts[i] - starts[i - 1]) * 1000.0);
    }

    // Monitoring: the simulated receiver is master; the program listens on its timer 0, woken
    // when the port has bytes, and, for comparison, on a plain 1 ms timer. The rounds take
    // turns, so that whatever else the machine does falls on every case alike.
    struct Listening {
        int receiverPeriodMs;
        bool wokenByInput;
        std::vector<double> cpu;
        std::vector<double> wakeups;  // a second
        double frames = 0;            // frames a second the receiver's sensors sent
    };
    std::vector<Listening> listening = {{10, true}, {10, false}, {3, true}, {3, false}};
    for (int round = 0; round < kRounds; ++round)
        for (Listening& l : listening) {
            fs::remove(log);
            std::vector<std::string> args = devices;
            args.insert(args.end(), {"--receiver", "--receiver-period",
                                     std::to_string(l.receiverPeriodMs), "--log", log.string()});
            Sim sim(*simBinary, dir, args);
            if (sim.Port() != "COM7") {
                std::printf("kestrova-sim did not publish COM7 for monitoring\n");
                return 0;
            }
            CKestrovaDlg main;
            main.Create(CKestrovaDlg::IDD);
            main.OnBnClickedOpen();
            // Without a port to wait on, the listener's timer ticks by its period.
            if (!l.wokenByInput)
                platform::TimerService::Instance().WakeOnInput(&main, main_timers::kListener,
                                                               [] { return INVALID_HANDLE_VALUE; });
            g_sensorLipoVoltage.m_dCellCount = 0;
            main.SetTimer(main_timers::kListener, 1);
            RunEventsFor(kWarmUpMs);
            const double cpu0 = bench::CpuSeconds();
            const long wakeups0 = bench::Wakeups();
            RunEventsFor(kMeasureMs);
            l.cpu.push_back(Percent(bench::CpuSeconds() - cpu0, kMeasureMs));
            l.wakeups.push_back((bench::Wakeups() - wakeups0) / (kMeasureMs / 1000.0));
            main.KillTimer(main_timers::kListener);
            if (round == 0)
                std::printf("monitoring heard: LiPo %g cells, %g V; current %g A\n",
                            g_sensorLipoVoltage.m_dCellCount, g_sensorLipoVoltage.m_dTotalVoltage,
                            g_sensorCurrentL.m_dCurrent);
            main.OnBnClickedOpen();
            main.DestroyWindow();
            l.frames = static_cast<double>(SentFrames(log)) / ((kWarmUpMs + kMeasureMs) / 1000.0);
        }
    fs::remove_all(dir);

    if (periods.empty()) {
        std::printf("no sweeps seen on the wire\n");
    } else {
        std::printf(
            "scan sweep period on the wire: median %.2f ms (p10 %.2f, p90 %.2f, max %.2f) "
            "over %zu sweeps; nominal 112 ms, ratio %.3f\n",
            Quantile(periods, 0.5), Quantile(periods, 0.1), Quantile(periods, 0.9),
            Quantile(periods, 1.0), periods.size(), Quantile(periods, 0.5) / 112.0);
    }
    std::printf("CPU while scanning:   %.2f %% of one core (%.0f ms over %d ms)\n",
                Percent(scanCpu, kMeasureMs), scanCpu * 1000, kMeasureMs);
    for (const Listening& l : listening)
        std::printf(
            "CPU while monitoring a receiver that polls every %2d ms (%.0f frames/s), listener "
            "%s: median %.2f %% of one core (%.2f to %.2f over %d rounds), %.0f wake-ups/s\n",
            l.receiverPeriodMs, l.frames, l.wokenByInput ? "woken by input " : "on a 1 ms timer",
            Quantile(l.cpu, 0.5), Quantile(l.cpu, 0.0), Quantile(l.cpu, 1.0), kRounds,
            Quantile(l.wakeups, 0.5));
    std::printf("message boxes: %d\n", boxes);
    return 0;
}

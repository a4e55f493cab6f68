// One write of the program, or one answer of the device, hit by noise on the wire, at every
// place of three Reads (the KXV page's, the fuel kit's and the air-speed page's), in real time
// against kestrova-sim on a pty: a new simulator for every place, as its noise strikes once.
// Prints, beside the clean run, how long the Read took with each place hit and whether it
// succeeded.
// Usage: bench_wire_noise_bench [adapter latency ms] [writes|answers]
// (default 0 and writes; 16 ms is an FTDI adapter's latency).

#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bench/program_setup.h"
#include "bench/sim_child.h"
#include "platform/timer_service.h"
#include "resources/messages.h"

namespace {

namespace fs = std::filesystem;

using bench::RunEventsFor;
using bench::Sim;

// Past this a Read has failed whatever it does: the KXV page's time-out.
constexpr double kGiveUpMs = 16000;

struct Case {
    const char* name;
    std::vector<std::string> device;  // kestrova-sim's arguments for the device
    int writes;                       // the writes of a clean Read
    int answers;                      // the answers it gets
    std::function<void(CKestrovaDlg&)> start;
    std::function<bool()> running;
};

std::vector<Case> Cases() {
    auto& timers = platform::TimerService::Instance();
    // The sensor pages read a sensor the scan found: the bench gives its IDs instead.
    auto sensorRead = [&timers](CSensorPage& page, int item, int physId) {
        return std::make_pair(
            [&page, item, physId](CKestrovaDlg& main) {
                main.m_treeDevices.SelectItem(main.m_hTreeItems[item]);
                page.m_nPhysIdIndex = physId;
                page.m_nAppId = 0;
                page.OnBnClickedRead();
            },
            [&page, &timers] { return timers.IsRunning(&page, sensor_timers::kRead); });
    };
    const auto [kitStart, kitRunning] = sensorRead(g_sensorFuelKit, 8, 22);
    const auto [airStart, airRunning] = sensorRead(g_sensorAirSpeed, 3, 9);
    return {
        {"KXV Read",
         {"--receiver"},
         82,
         52,
         [](CKestrovaDlg&) { g_receiverKXV.OnBnClickedRead(); },
         [] { return g_receiverKXV.SequenceRunning(); }},
        {"FuelKit Read", {"--device", "fuel@22"}, 12, 12, kitStart, kitRunning},
        {"air-speed Read", {"--device", "airspeed@9"}, 10, 4, airStart, airRunning},
    };
}

struct Outcome {
    bool succeeded;
    double ms;
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> simBinary = bench::FindSim(nullptr);
    if (!simBinary) return 0;
    const std::string latency = argc > 1 ? argv[1] : "0";
    const bool answers = argc > 2 && std::string(argv[2]) == "answers";
    if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::PrepareProgram();
    std::vector<std::string> shown;
    bench::KeepMessageBoxTexts(shown);
    const fs::path dir =
        fs::temp_directory_path() / ("kestrova-noise-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);

    // One Read with write or answer `place` hit (0: none), on a simulator of its own.
    auto run = [&](const Case& c, int place) -> Outcome {
        std::vector<std::string> args = c.device;
        args.insert(args.end(), {"--latency", latency});
        if (place > 0)
            args.insert(args.end(),
                        {answers ? "--answer-noise" : "--noise", std::to_string(place)});
        Sim sim(*simBinary, dir, args);
        if (sim.Port() != "COM7") return {false, 0};
        // A window of its own for every simulator: it lists the ports there are at its start.
        CKestrovaDlg main;
        main.Create(CKestrovaDlg::IDD);
        main.OnBnClickedOpen();
        shown.clear();
        const auto t0 = std::chrono::steady_clock::now();
        c.start(main);
        double ms = 0;
        do {
            RunEventsFor(2);
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                     .count();
        } while (c.running() && ms < kGiveUpMs);
        RunEventsFor(300);  // the sensor pages' progress run, and with it their closing box
        const bool failed = c.running() || std::find(shown.begin(), shown.end(),
                                                     messages::kOperationFailed) != shown.end();
        g_receiverKXV.StopTimers();
        main.OnBnClickedOpen();
        main.DestroyWindow();
        return {!failed, ms};
    };

    std::printf("adapter latency %s ms; %s\n", latency.c_str(),
                answers ? "one answer hit in its value byte" : "one write hit in its address byte");
    std::printf("%-15s %9s %9s %7s %9s  %s\n", "", "clean ms", "worst ms", "place", "succeeded",
                "ms with the place hit: 1, 2, 3 ...");
    for (const Case& c : Cases()) {
        const Outcome clean = run(c, 0);
        Outcome worst = clean;
        int worstPlace = 0, succeeded = 0;
        std::string each;
        const int places = answers ? c.answers : c.writes;
        for (int place = 1; place <= places; ++place) {
            const Outcome hit = run(c, place);
            succeeded += hit.succeeded;
            each += " " + std::to_string(static_cast<int>(hit.ms)) + (hit.succeeded ? "" : "!");
            if (!hit.succeeded || hit.ms > worst.ms) worst = hit, worstPlace = place;
        }
        std::printf("%-15s %9.0f %9.0f %7d %5d/%-3d %s\n", c.name, clean.ms, worst.ms, worstPlace,
                    succeeded, places, each.c_str());
    }
    fs::remove_all(dir);
    return 0;
}

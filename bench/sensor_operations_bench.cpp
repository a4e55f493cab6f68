// The sensor pages' operations in real time, against kestrova-sim on a pty, one simulated device
// per page: how many of each operation succeed, how many needed a restart of their machine
// (more requests on the wire than one pass of its table sends), how long each took, and the CPU
// the program used meanwhile.
// Usage: bench_sensor_operations_bench [runs] [page name]... (default: 30 runs, every page).

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bench/median.h"
#include "bench/process_stats.h"
#include "bench/program_setup.h"
#include "bench/sim_child.h"
#include "platform/timer_service.h"
#include "resources/messages.h"
#include "sensors/SensorSteps.h"

namespace {

namespace fs = std::filesystem;

using bench::Median;
using bench::RunEventsFor;
using bench::Sim;

// One operation of a page: its button, and what the page's controls should hold before run i.
struct Operation {
    const char* name;
    UINT timer;  // the machine's timer: the machine that runs
    void (CSensorPage::*start)();
    std::function<void(CSensorPage& page, int run)> prepare;
};

// One page: the simulated device behind it, its tree item and what to run on it.
struct PageCase {
    const char* name;
    const char* device;  // kestrova-sim's --device argument
    int treeItem;
    CSensorPage* page;
    std::vector<Operation> operations;
};

void SetText(CSensorPage& page, int id, const char* text) {
    page.SetDlgItemText(id, text);
}

// A page's own button handler, called on the page as its message map does.
template <class Page>
void (CSensorPage::*PageHandler(void (Page::*handler)()))() {
    return static_cast<void (CSensorPage::*)()>(handler);
}

std::vector<Operation> StandardOperations(std::function<void(CSensorPage&, int)> prepareWrite) {
    return {
        {"Read", sensor_timers::kRead, &CSensorPage::OnBnClickedRead, nullptr},
        {"Write", sensor_timers::kWrite, &CSensorPage::OnBnClickedWrite, std::move(prepareWrite)},
        {"Default Settings", sensor_timers::kDefault, &CSensorPage::OnBnClickedDefault, nullptr},
    };
}

std::vector<PageCase> Pages() {
    return {
        {"air speed", "airspeed@9", 3, &g_sensorAirSpeed,
         StandardOperations([](CSensorPage& p, int i) {
             // New settings every time: rate 300 or 400 ms, application ID 0 or 1.
             SetText(p, sensor_ids::kDataRateEdit, i % 2 ? "400" : "300");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "9");
         })},
        {"150 A current", "current150@2", 5, &g_sensorCurrentH,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, sensor_ids::kDataRateEdit, i % 2 ? "500" : "600");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "2");
         })},
        {"LiPo", "lipo@1", 2, &g_sensorLipoVoltage,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, sensor_ids::kDataRateEdit, i % 2 ? "300" : "400");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "1");
         })},
        {"40 A current", "current40@2", 4, &g_sensorCurrentL,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, current40_ids::kCurrentRateEdit, i % 2 ? "500" : "600");
             SetText(p, current40_ids::kVoltageRateEdit, i % 2 ? "500" : "700");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "2");
         })},
        {"variometer", "vario@0", 7, &g_sensorVariometer,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, variometer_ids::kAltitudeDataRateEdit, i % 2 ? "300" : "400");
             SetText(p, variometer_ids::kAltitudeRateDataRateEdit, i % 2 ? "300" : "500");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "0");
         })},
        {"RPM", "rpm@4", 6, &g_sensorRPM,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, rpm_ids::kTemperature1RateEdit, i % 2 ? "1000" : "2000");
             SetText(p, rpm_ids::kTemperature2RateEdit, i % 2 ? "1000" : "1500");
             SetText(p, rpm_ids::kSpeedRateEdit, i % 2 ? "500" : "300");
             SetText(p, rpm_ids::kPolesEdit, i % 2 ? "1" : "7");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "4");
         })},
        {"GPS", "gps@3", 9, &g_sensorGPS,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, gps_ids::kPositionRateEdit, i % 2 ? "1000" : "2000");
             SetText(p, gps_ids::kAltitudeRateEdit, i % 2 ? "1000" : "1500");
             SetText(p, gps_ids::kSpeedRateEdit, i % 2 ? "500" : "700");
             SetText(p, gps_ids::kTimeRateEdit, i % 2 ? "1000" : "3000");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "3");
         })},
        {"redundancy bus", "redundancy@25", 10, &g_sensorRedundancyBus,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, redundancy_bus_ids::kBattery1RateEdit, i % 2 ? "300" : "400");
             SetText(p, redundancy_bus_ids::kBattery2RateEdit, i % 2 ? "300" : "500");
             SetText(p, redundancy_bus_ids::kCapacityRateEdit, i % 2 ? "300" : "600");
             SetText(p, redundancy_bus_ids::kOutputStateRateEdit, i % 2 ? "300" : "700");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "25");
         })},
        {"ESC", "esc@10", 13, &g_sensorReserve1,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, esc_ids::kPowerRateEdit, i % 2 ? "100" : "200");
             SetText(p, esc_ids::kSpeedRateEdit, i % 2 ? "100" : "300");
             SetText(p, esc_ids::kTemperatureRateEdit, i % 2 ? "100" : "400");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "10");
         })},
        {"converter", "converter@5", 11, &g_sensorQWireToUART,
         StandardOperations([](CSensorPage& p, int i) {
             SetText(p, converter_ids::kBaudEdit, i % 2 ? "9600" : "300");
             SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
             SetText(p, sensor_ids::kPhysIdEdit, "5");
         })},
        {"video transmitter", "vtx@12", 14, &g_sensorReserve2,
         {
             {"Read", sensor_timers::kRead, &CSensorPage::OnBnClickedRead, nullptr},
             {"Write", sensor_timers::kWrite, &CSensorPage::OnBnClickedWrite,
              [](CSensorPage& p, int i) {
                  // A new setting every time: CH1 or CH6, band A, 25 or 200 mW, All Frq. "NO".
                  const BYTE setting[8] = {0, 0, 0, 0, BYTE(i % 2 ? 12 : 11), 0,
                                           BYTE(i % 2 ? 5 : 0), 0};
                  static_cast<CSensor_Reserve2Dlg&>(p).ShowVtxSettings(setting);
              }},
         }},
        {"FuelKit", "fuel@22", 8, &g_sensorFuelKit,
         {
             {"Read", sensor_timers::kRead, &CSensorPage::OnBnClickedRead, nullptr},
             {"Write", sensor_timers::kWrite, &CSensorPage::OnBnClickedWrite,
              [](CSensorPage& p, int i) {
                  using namespace fuel_kit_ids;
                  SetText(p, kVolumeEdit, i % 2 ? "1500" : "1000");
                  SetText(p, kCdiLimitEdit, i % 2 ? "120" : "100");
                  SetText(p, kOverTemp2AlarmEdit, i % 2 ? "300" : "200");
                  SetText(p, sensor_ids::kAppIdEdit, i % 2 ? "1" : "0");
                  SetText(p, sensor_ids::kPhysIdEdit, "22");
                  dynamic_cast<CComboBox*>(p.GetDlgItem(kAutoResetCombo))->SetCurSel(i % 2);
              }},
             {"Default Settings", sensor_timers::kDefault, &CSensorPage::OnBnClickedDefault,
              nullptr},
             {"Residual reset", fuel_kit_timers::kResetResidualVolume,
              PageHandler(&CSensor_FuelKitDlg::OnBnClickedResetResidualVolume), nullptr},
             {"Max flow reset", fuel_kit_timers::kResetMaximumFlow,
              PageHandler(&CSensor_FuelKitDlg::OnBnClickedResetMaximumFlow), nullptr},
             {"Avg flow reset", fuel_kit_timers::kResetAverageFlow,
              PageHandler(&CSensor_FuelKitDlg::OnBnClickedResetAverageFlow), nullptr},
         }},
        {"servo", "servo@9", 12, &g_sensorSteeringEngine,
         {
             {"Read", sensor_timers::kRead,
              PageHandler(&CSensor_SteeringEngineDlg::OnBnClickedRead), nullptr},
             {"Write", sensor_timers::kWrite, &CSensorPage::OnBnClickedWrite,
              [](CSensorPage& p, int i) {
                  SetText(p, servo_ids::kChannelEdit, i % 2 ? "3" : "5");
              }},
         }},
    };
}

// Requests the simulator heard so far. A line holds what the simulator read at once, which on
// a busy machine may be several writes of the program: every frame start whose frame goes on
// past its address byte is a request (a poll is a frame start and an address byte alone).
int RequestsHeard(const fs::path& log) {
    std::ifstream in(log);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        const auto at = line.find("received ");
        if (at == std::string::npos) continue;
        std::istringstream bytes(line.substr(at + 9));
        std::string b;
        int sinceStart = -1;  // bytes after the last frame start, -1 before the first
        while (bytes >> b) {
            if (b == "7E") {
                n += sinceStart > 1;
                sinceStart = 0;
            } else if (sinceStart >= 0) {
                ++sinceStart;
            }
        }
        n += sinceStart > 1;
    }
    return n;
}

// The requests one pass of a machine's table sends.
int RequestsPerPass(const sensor_steps::Machine& m) {
    using sensor_steps::StepKind;
    return static_cast<int>(std::count_if(m.steps.begin(), m.steps.end(), [](const auto& s) {
        return s.kind == StepKind::Enter || s.kind == StepKind::Leave ||
               s.kind == StepKind::Read || s.kind == StepKind::Write;
    }));
}

const sensor_steps::Machine* MachineOn(CSensorPage& page, UINT timer) {
    for (const sensor_steps::Machine* m : page.Machines())
        if (m->timer == timer) return m;
    return nullptr;
}

struct Tally {
    int succeeded = 0;
    int restarted = 0;
    std::vector<double> ms;
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> simBinary = bench::FindSim(nullptr);
    if (!simBinary) return 0;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    std::vector<std::string> only(argv + std::min(argc, 2), argv + argc);
    if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::PrepareProgram();
    std::vector<std::string> shown;
    bench::KeepMessageBoxTexts(shown);
    auto& timers = platform::TimerService::Instance();

    std::printf("%-18s %-17s %9s %9s %10s\n", "page", "operation", "succeeded", "restarted",
                "median ms");
    for (const PageCase& pc : Pages()) {
        if (!only.empty() && std::find(only.begin(), only.end(), pc.name) == only.end()) continue;
        const fs::path dir =
            fs::temp_directory_path() / ("kestrova-operations-bench-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path log = dir / "wire.log";
        Sim sim(*simBinary, dir, {"--device", pc.device, "--log", log.string()});
        if (sim.Port() != "COM7") {
            std::printf("%-18s kestrova-sim did not publish COM7; nothing measured\n", pc.name);
            continue;
        }
        CKestrovaDlg main;
        main.Create(CKestrovaDlg::IDD);
        main.OnBnClickedOpen();
        main.m_treeDevices.SelectItem(main.m_hTreeItems[pc.treeItem]);
        CSensorPage& page = *pc.page;
        page.OnBnClickedConfigure();
        while (timers.IsRunning(&page, sensor_timers::kTimeout)) RunEventsFor(20);

        const double cpu0 = bench::CpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        for (const Operation& op : pc.operations) {
            const sensor_steps::Machine* machine = MachineOn(page, op.timer);
            if (!machine) continue;
            Tally tally;
            for (int i = 0; i < runs; ++i) {
                if (op.prepare) op.prepare(page, i);
                shown.clear();
                const int requests = RequestsHeard(log);
                const auto t0 = std::chrono::steady_clock::now();
                (page.*op.start)();
                do {
                    RunEventsFor(5);
                } while (timers.IsRunning(&page, sensor_timers::kTimeout));
                tally.ms.push_back(std::chrono::duration<double, std::milli>(
                                       std::chrono::steady_clock::now() - t0)
                                       .count());
                // Failed: the machine gave up at its time-out, or never started because an
                // input held nothing it could send.
                tally.succeeded +=
                    std::find(shown.begin(), shown.end(), messages::kOperationFailed) ==
                        shown.end() &&
                    std::find(shown.begin(), shown.end(), messages::kSelectCorrectParameters) ==
                        shown.end();
                RunEventsFor(20);  // the simulator's log catches up
                tally.restarted += RequestsHeard(log) - requests > RequestsPerPass(*machine);
            }
            std::printf("%-18s %-17s %5d/%-3d %9d %10.0f\n", pc.name, op.name, tally.succeeded,
                        runs, tally.restarted, Median(tally.ms));
        }
        const double cpu = bench::CpuSeconds() - cpu0;
        const double wallMs = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - wall0)
                                  .count();
        std::printf("%-18s CPU during its operations: %.2f %% of one core\n", pc.name,
                    100.0 * cpu / (wallMs / 1000.0));
        main.OnBnClickedOpen();
        main.DestroyWindow();
        fs::remove_all(dir);
    }
    return 0;
}

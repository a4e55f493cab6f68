// The Configure scan behind serial adapters that hand received bytes over late and in chunks
// (a USB adapter's latency timer), on the simulated bus and the virtual clock, so the figures
// are exact and repeatable. For each hand-over period it prints how many of the answers the
// sensors sent were taken and credited to the right physical ID, over the very same reads, by
// three rules: one frame per read (what the scan did before), every whole unit of echoed poll
// and answer in each read, and the scan's rule now: the same, with a unit a read ends in the
// middle of carried into the next read.

#include <QApplication>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/clock.h"
#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/ui_events.h"
#include "platform/virtual_port.h"
#include "resources/resources.h"
#include "sensors/telemetry_frames.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"

namespace {

constexpr int kSweeps = 100;
constexpr int kPhases = 8;
constexpr int kSweepMs = 28 * 4;

// The simulated bus as the far end of COM4, keeping every read of the program with the poll
// written before the latest one (the poll a one-frame read is credited to).
class RecordingBusLine : public platform::VirtualLine {
  public:
    explicit RecordingBusLine(std::shared_ptr<sim::Bus> bus) : bus_(std::move(bus)) {}
    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        if (n == 2) {
            previousPoll_ = lastPoll_;
            lastPoll_ = telemetry::PhysIdIndexOf(data[1]);
        }
        bus_->Write(data, n, now);
    }
    std::size_t Available(platform::Micros now) override { return bus_->Available(now); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros now) override {
        const std::size_t n = bus_->Read(out, max, now);
        if (n > 0) reads.push_back({std::vector<std::uint8_t>(out, out + n), previousPoll_});
        return n;
    }
    void DiscardInput(platform::Micros now) override { bus_->DiscardInput(now); }

    struct Taken {
        std::vector<std::uint8_t> bytes;
        int previousPoll;
    };
    std::vector<Taken> reads;

  private:
    std::shared_ptr<sim::Bus> bus_;
    int lastPoll_ = 0;
    int previousPoll_ = 0;
};

// Where the sensors sit, by the family byte of their data IDs.
const std::map<int, int> kPhysIdOfFamily = {
    {0x0A, 10}, {0x03, 1}, {0x08, 4}, {0x04, 27}, {0x05, 27}};
constexpr int kSensors = 4;

struct Tally {
    int right = 0;
    int wrong = 0;
    void Count(const bus::Body& body, int physId) {
        auto it = kPhysIdOfFamily.find(body[2]);
        if (it == kPhysIdOfFamily.end()) return;
        (it->second == physId ? right : wrong) += 1;
    }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::EnsureUiEvents();
    platform::VirtualClock::Install();
    resources::RegisterAll();
    ::setenv("KESTROVA_DEVICES", "/nonexistent-kestrova-devices", 1);
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    int boxes = 0;
    platform::SetModalHook([&boxes](const platform::ModalRecord&) {
        ++boxes;
        return platform::ModalAnswer{IDOK};
    });

    std::printf(
        "scan of 4 sensors over %d sweeps (%d answers sent), started at %d phases of\n"
        "the 4 ms tick against an adapter that hands bytes over every P ms. Answers taken\n"
        "at the right ID: mean %% of those sent (worst phase %%); any at a wrong ID:\n",
        kSweeps, kSweeps * kSensors, kPhases);
    std::printf("%6s %24s %24s %24s\n", "P (ms)", "one frame per read", "units in each read",
                "units, pieces carried");
    for (int periodMs : {0, 1, 2, 4, 5, 8, 16}) {
        std::array<Tally, 3> rules{};
        std::array<int, 3> worst;
        worst.fill(kSweeps * kSensors);
        for (int phase = 0; phase < kPhases; ++phase) {
            sim::Timing timing;
            timing.handOverPeriod = periodMs * 1000;
            auto bus = std::make_shared<sim::Bus>(timing);
            bus->AddDevice(*sim::FindKind("airspeed"), 10, 3);
            bus->AddDevice(*sim::FindKind("lipo"), 1);
            bus->AddDevice(*sim::FindKind("gps"), 4);
            bus->AddDevice(*sim::FindKind("rpm"), 27);
            auto line = std::make_shared<RecordingBusLine>(bus);
            platform::BindVirtualPort(4, line);
            {
                CKestrovaDlg main;
                theApp.m_pMainWnd = &main;
                main.Create(CKestrovaDlg::IDD);
                main.OnBnClickedOpen();
                platform::VirtualClock::Advance(phase * 4000 / kPhases);
                main.SetTimer(main_timers::kScan, 4);
                platform::VirtualClock::AdvanceMs(kSweeps * kSweepMs);
                main.KillTimer(main_timers::kScan);
                main.OnBnClickedOpen();
                main.DestroyWindow();
                theApp.m_pMainWnd = nullptr;
            }
            platform::UnbindVirtualPort(4);

            std::array<Tally, 3> phaseRules{};
            std::vector<std::uint8_t> carried;
            std::array<telemetry::ScanUnit, telemetry::kMaxScanUnits> taken;
            for (const auto& read : line->reads) {
                if (auto body = telemetry::AcceptFrame(read.bytes))
                    phaseRules[0].Count(*body, read.previousPoll);
                std::size_t n = telemetry::TakeScanUnits(read.bytes, read.previousPoll, taken);
                for (std::size_t i = 0; i < n; ++i)
                    phaseRules[1].Count(taken[i].body, taken[i].physIdIndex);
                std::vector<std::uint8_t> data = carried;
                data.insert(data.end(), read.bytes.begin(), read.bytes.end());
                std::size_t unfinishedAt = 0;
                n = telemetry::TakeScanUnits(data, read.previousPoll, taken, &unfinishedAt);
                for (std::size_t i = 0; i < n; ++i)
                    phaseRules[2].Count(taken[i].body, taken[i].physIdIndex);
                carried.assign(data.begin() + static_cast<std::ptrdiff_t>(unfinishedAt),
                               data.end());
            }
            for (int r = 0; r < 3; ++r) {
                rules[r].right += phaseRules[r].right;
                rules[r].wrong += phaseRules[r].wrong;
                worst[r] = std::min(worst[r], phaseRules[r].right);
            }
        }
        const double sent = kSweeps * kSensors / 100.0;
        std::printf("%6s", periodMs == 0 ? "quiet" : std::to_string(periodMs).c_str());
        for (int r = 0; r < 3; ++r)
            std::printf(" %12.0f%% (%3.0f%%) %4d", rules[r].right / sent / kPhases, worst[r] / sent,
                        rules[r].wrong);
        std::printf("\n");
    }
    std::printf("(quiet: bytes handed over once the line has been quiet for 1 ms)\n");
    std::printf("message boxes: %d\n", boxes);
    return 0;
}

// The Configure scan behind serial adapters that hand received bytes over late and in chunks
// (a USB adapter's latency timer), on the simulated bus and the virtual clock, so the figures
// are exact and repeatable. For each hand-over period it prints how many of the answers the
// sensors sent were taken and credited to the right physical ID, over the very same reads, by
// two rules: one frame per read (what the scan did before), and the reader of the wire the scan
// takes its frames from now: every whole frame, with a frame a read ends in the middle of
// finished by the next read, each answer credited to the echoed poll in front of it.

#include <QApplication>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
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
#include "support/adapter_scan.h"

namespace {

constexpr int kSweeps = 100;
constexpr int kPhases = 8;
constexpr int kSweepMs = 28 * 4;

using kestrova::test::kAdapterSensors;
using kestrova::test::ReadRecorder;
using kestrova::test::Tally;

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
        kSweeps, kSweeps * kAdapterSensors, kPhases);
    std::printf("%6s %24s %24s\n", "P (ms)", "one frame per read", "reader of the wire");
    for (int periodMs : {0, 1, 2, 4, 5, 8, 16}) {
        std::array<Tally, 2> rules{};
        std::array<int, 2> worst;
        worst.fill(kSweeps * kAdapterSensors);
        for (int phase = 0; phase < kPhases; ++phase) {
            auto line =
                std::make_shared<ReadRecorder>(kestrova::test::SensorsBehindAdapter(periodMs));
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

            std::array<Tally, 2> phaseRules{};
            kestrova::test::CountOneFramePerRead(line->reads, phaseRules[0]);
            kestrova::test::CountByWireReader(line->reads, phaseRules[1]);
            for (int r = 0; r < 2; ++r) {
                rules[r].right += phaseRules[r].right;
                rules[r].wrong += phaseRules[r].wrong;
                worst[r] = std::min(worst[r], phaseRules[r].right);
            }
        }
        const double sent = kSweeps * kAdapterSensors / 100.0;
        std::printf("%6s", periodMs == 0 ? "quiet" : std::to_string(periodMs).c_str());
        for (int r = 0; r < 2; ++r)
            std::printf(" %12.0f%% (%3.0f%%) %4d", rules[r].right / sent / kPhases, worst[r] / sent,
                        rules[r].wrong);
        std::printf("\n");
    }
    std::printf("(quiet: bytes handed over once the line has been quiet for 1 ms)\n");
    std::printf("message boxes: %d\n", boxes);
    return 0;
}

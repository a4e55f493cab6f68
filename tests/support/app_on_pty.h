#pragma once
// End-to-end scenarios of the whole program on a real pseudo-terminal: the main window with its
// real timers against kestrova-sim running as its own process, which publishes COM7 in a port
// directory of the test's own. Every modal UI is answered OK and the texts of the message boxes
// are kept, so a scenario can say which boxes the user met.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/KestrovaDlg.h"
#include "sensors/SensorPage.h"
#include "sensors/SensorTimers.h"
#include "support/sim_process.h"
#include "support/ui_harness.h"

namespace kestrova::test {

class AppOnPty : public ::testing::Test {
  protected:
    // Generous: a busy machine runs the timers and the simulator late, and an operation waits
    // for its progress run.
    static constexpr int kDeadlineMs = 60'000;

    // Qt, the port directory (the only ports the program sees) and the modal hook; neither the
    // simulator nor the window yet.
    void SetUp() override;
    void TearDown() override;

    // kestrova-sim publishing COM7, with `args` after its port.
    void StartSim(std::vector<std::string> args);
    // The main window as at start-up, with COM7 opened by its Open button; the boxes met so far
    // are forgotten.
    void StartProgram();
    // The simulator with `simArgs`, then the program.
    void Start(std::vector<std::string> simArgs);

    static bool Running(CWnd& window, UINT_PTR id);
    // Configure's first run over and a whole sweep that found the device.
    void Configure(CSensorPage& page);
    // An operation from its start until its progress run or time-out ends it. `Page` comes from
    // the handler alone, so a page's own buttons (the fuel kit's resets) work as well.
    template <class Page>
    void Operate(std::type_identity_t<Page>& page, void (Page::*start)()) {
        messages.clear();
        (page.*start)();
        ASSERT_TRUE(
            WaitUntil([&] { return !Running(page, sensor_timers::kTimeout); }, kDeadlineMs));
    }
    static CString Text(CWnd& window, int id);

    std::filesystem::path dir;
    // What the modal hook answers a file dialog with: this name in the port directory, or
    // nothing while it is empty.
    std::string fileName;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CKestrovaDlg> main;
    // The texts of the message boxes, in the order they were shown.
    std::vector<std::string> messages;
};

}  // namespace kestrova::test

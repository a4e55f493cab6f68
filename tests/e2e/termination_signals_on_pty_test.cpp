// The program as a user runs it, against `kestrova-sim --receiver` on a pty, ended by a signal
// in the middle of a KXV Read (logout, shutdown, Ctrl-C, a closed terminal), or in the middle of
// an air-speed Write to a sensor that never takes the value: it ends as its close box ends it,
// with the leave frame, so the receiver polls its sensors again and the sensor streams; also with
// a box open over the main window, and when signals come in bunches (a closed terminal: SIGHUP
// from the kernel and from the shell; logout: SIGTERM, then SIGHUP twice). Only the user's second
// Ctrl-C ends a program that cannot close.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/sim_process.h"
#include "support/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using kestrova::test::ChildProcess;
using kestrova::test::SimProcess;
using kestrova::test::WaitUntil;

// Generous: a busy machine starts the program and runs its timers late.
constexpr int kDeadlineMs = 60'000;
constexpr const char* kKxvEnter = "7E BA 21 30 0C 00 00 00 00 A2";
constexpr const char* kKxvLeave = "7E BA 20 30 0C 00 00 00 00 A3";
constexpr const char* kAirEnter = "7E 1C 21 00 0A 00 00 00 00 D4";
constexpr const char* kAirLeave = "7E 1C 20 00 0A 00 00 00 00 D5";

class SignalDuringAnOperation : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kestrova-e2e-signal-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        program.reset();
        sim.reset();
        fs::remove_all(dir);
    }

    // The program, once its user has started the operation (a KXV Read, or with "air-write" an
    // air-speed Write) and then done `then`, and the device has been asked into configuration
    // access.
    void StartOperation(const char* then) {
        const bool air = std::string(then) == "air-write";
        enter = air ? kAirEnter : kKxvEnter;
        leave = air ? kAirLeave : kKxvLeave;
        std::vector<std::string> args = {"--port", "COM7", "--log", Log()};
        if (air)
            args.insert(args.end(), {"--device", "airspeed", "--fault", "wrong-value"});
        else
            args.push_back("--receiver");
        sim = std::make_unique<SimProcess>(dir, args);
        ASSERT_EQ(sim->Line(), "COM7");
        program = std::make_unique<ChildProcess>(KESTROVA_DRIVEN_PROGRAM, dir,
                                                 std::vector<std::string>{then});
        ASSERT_EQ(program->Line(kDeadlineMs), "ready");
        ASSERT_TRUE(
            WaitUntil([&] { return BusLog().find(enter) != std::string::npos; }, kDeadlineMs));
    }

    std::string Log() const { return (dir / "bus.log").string(); }
    std::string BusLog() const {
        std::ifstream in(Log());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<ChildProcess> program;
    const char* enter = kKxvEnter;
    const char* leave = kKxvLeave;
};

// The bits of a line "Name:\tHEX" of the process's status.
std::uint64_t StatusMask(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(name + ":", 0) == 0)
            return std::stoull(line.substr(name.size() + 1), nullptr, 16);
    return 0;
}

// Whether a signal sent to the process waits to be taken.
bool Pending(pid_t pid) {
    return StatusMask(pid, "ShdPnd") != 0 || StatusMask(pid, "SigPnd") != 0;
}

struct Ending {
    const char* name;
    std::vector<int> signals;  // each once the one before has been taken
    const char* then = "";     // what the user has open when they come, or "air-write"
};
void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

class EndedBySignal : public SignalDuringAnOperation,
                      public ::testing::WithParamInterface<Ending> {};

TEST_P(EndedBySignal, EndsAsTheCloseBoxEndsItAndTakesTheDeviceOutOfConfiguration) {
    const Ending e = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartOperation(e.then));
    // Each comes once the one before it has been taken, as the shell's SIGHUP follows the
    // kernel's: sent at once, the same signal twice would be one.
    for (std::size_t i = 0; i < e.signals.size(); ++i) {
        if (i > 0) ASSERT_TRUE(WaitUntil([&] { return !Pending(program->Pid()); }, kDeadlineMs));
        program->Signal(e.signals[i]);
    }
    const std::optional<int> status = program->Wait(kDeadlineMs);
    ASSERT_TRUE(status) << "the program still runs";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;

    // After the last enter frame (the Write starts again from it while the sensor keeps another
    // value), the leave frame; the receiver then polls its sensors again.
    const bool receiver = leave == kKxvLeave;
    std::size_t at = std::string::npos;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string log = BusLog();
            at = log.find(leave, log.rfind(enter));
            return at != std::string::npos &&
                   (!receiver || log.find("receiver", at) != std::string::npos);
        },
        kDeadlineMs))
        << (at == std::string::npos ? "no leave frame after the enter frame"
                                    : "the receiver polls no sensor after the leave frame");
}

INSTANTIATE_TEST_SUITE_P(
    Signals, EndedBySignal,
    ::testing::Values(Ending{"SIGTERM", {SIGTERM}}, Ending{"SIGINT", {SIGINT}},
                      Ending{"SIGHUP", {SIGHUP}},
                      Ending{"SIGTERMOverAMessageBox", {SIGTERM}, "message-box"},
                      Ending{"SIGINTOverAFileDialog", {SIGINT}, "file-dialog"},
                      Ending{"SIGHUPOverTheAboutBox", {SIGHUP}, "about-box"},
                      Ending{"SIGTERMAndSIGHUP", {SIGTERM, SIGHUP}},
                      Ending{"SIGHUPAndSIGTERM", {SIGHUP, SIGTERM}},
                      Ending{"SIGINTAndSIGTERM", {SIGINT, SIGTERM}},
                      Ending{"AClosedTerminalsTwoSIGHUPs", {SIGHUP, SIGHUP}},
                      Ending{"LogoutsSIGTERMThenTwoSIGHUPs", {SIGTERM, SIGHUP, SIGHUP}},
                      Ending{
                          "AClosedTerminalDuringAnAirSpeedWrite", {SIGHUP, SIGHUP}, "air-write"}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

// Whether the process still has a handler of its own for `sig`.
bool Catches(pid_t pid, int sig) {
    return (StatusMask(pid, "SigCgt") >> (sig - 1)) & 1;
}

TEST_F(SignalDuringAnOperation, ASecondCtrlCEndsAProgramThatCannotCloseAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartOperation("hang"));
    program->Signal(SIGINT);
    // The first one has been taken (the same signal sent twice at once would be one).
    ASSERT_TRUE(WaitUntil([&] { return !Catches(program->Pid(), SIGINT); }, kDeadlineMs));
    program->Signal(SIGINT);
    const std::optional<int> status = program->Wait(kDeadlineMs);
    ASSERT_TRUE(status) << "the program still runs";
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGINT) << "wait status " << *status;
}

}  // namespace

// The program as a user runs it, against `kestrova-sim --receiver` on a pty, ended by a signal
// in the middle of a KXV Read (logout, shutdown, Ctrl-C, a closed terminal): it ends as its
// close box ends it, with the leave frame, so the receiver polls its sensors again; also with a
// box open over the main window, and when two different signals come together (logout and
// shutdown send SIGTERM and SIGHUP). The same signal a second time ends a program that cannot
// close.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "support/sim_process.h"
#include "support/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using kestrova::test::ChildProcess;
using kestrova::test::SimProcess;
using kestrova::test::WaitUntil;

// Generous: a busy machine starts the program and runs its timers late.
constexpr int kDeadlineMs = 60'000;
constexpr const char* kEnter = "7E BA 21 30 0C 00 00 00 00 A2";
constexpr const char* kLeave = "7E BA 20 30 0C 00 00 00 00 A3";

class SignalDuringKxvRead : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kestrova-e2e-signal-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sim = std::make_unique<SimProcess>(
            dir, std::vector<std::string>{"--port", "COM7", "--receiver", "--log", Log()});
        ASSERT_EQ(sim->Line(), "COM7");
    }
    void TearDown() override {
        program.reset();
        sim.reset();
        fs::remove_all(dir);
    }

    // The program, once its user has started the Read and then done `then`, and the receiver
    // has been asked into configuration access.
    void StartReading(const char* then) {
        program = std::make_unique<ChildProcess>(KESTROVA_DRIVEN_PROGRAM, dir,
                                                 std::vector<std::string>{then});
        ASSERT_EQ(program->Line(kDeadlineMs), "ready");
        ASSERT_TRUE(
            WaitUntil([&] { return BusLog().find(kEnter) != std::string::npos; }, kDeadlineMs));
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
};

struct Ending {
    const char* name;
    int signal;
    const char* over;  // what the user has open when it comes ("" for nothing)
    int andThen = 0;   // a different signal sent right after it, with no wait between
};
void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

class EndedBySignal : public SignalDuringKxvRead, public ::testing::WithParamInterface<Ending> {};

TEST_P(EndedBySignal, EndsAsTheCloseBoxEndsItAndTakesTheReceiverOutOfConfiguration) {
    const Ending e = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartReading(e.over));
    program->Signal(e.signal);
    if (e.andThen) program->Signal(e.andThen);
    const std::optional<int> status = program->Wait(kDeadlineMs);
    ASSERT_TRUE(status) << "the program still runs";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;

    std::size_t leave = std::string::npos;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string log = BusLog();
            leave = log.find(kLeave, log.find(kEnter));
            return leave != std::string::npos && log.find("receiver", leave) != std::string::npos;
        },
        kDeadlineMs))
        << (leave == std::string::npos ? "no leave frame after the enter frame"
                                       : "the receiver polls no sensor after the leave frame");
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal,
                         ::testing::Values(Ending{"SIGTERM", SIGTERM, ""},
                                           Ending{"SIGINT", SIGINT, ""},
                                           Ending{"SIGHUP", SIGHUP, ""},
                                           Ending{"SIGTERMOverAMessageBox", SIGTERM, "message-box"},
                                           Ending{"SIGINTOverAFileDialog", SIGINT, "file-dialog"},
                                           Ending{"SIGHUPOverTheAboutBox", SIGHUP, "about-box"},
                                           Ending{"SIGTERMAndSIGHUP", SIGTERM, "", SIGHUP},
                                           Ending{"SIGHUPAndSIGTERM", SIGHUP, "", SIGTERM},
                                           Ending{"SIGINTAndSIGTERM", SIGINT, "", SIGTERM}),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                             return std::string(info.param.name);
                         });

// Whether the process still has a handler of its own for `sig`.
bool Catches(pid_t pid, int sig) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1;
    return false;
}

TEST_F(SignalDuringKxvRead, ASecondSignalEndsAProgramThatCannotCloseAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartReading("hang"));
    program->Signal(SIGINT);
    // The first one has been taken (the same signal sent twice at once would be one).
    ASSERT_TRUE(WaitUntil([&] { return !Catches(program->Pid(), SIGINT); }, kDeadlineMs));
    program->Signal(SIGINT);
    const std::optional<int> status = program->Wait(kDeadlineMs);
    ASSERT_TRUE(status) << "the program still runs";
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGINT) << "wait status " << *status;
}

}  // namespace

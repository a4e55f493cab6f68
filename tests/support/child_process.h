#pragma once
// A program of the build as a separate process, as a person or an end-to-end test runs it:
// started with a port directory of the test's own, its output read line by line, ended with a
// signal.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::test {

class ChildProcess {
  public:
    ChildProcess(const char* binary, const std::filesystem::path& dir,
                 std::vector<std::string> args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // One line of its standard output, or "" after `quietMs` of nothing.
    std::string Line(int quietMs = 2000);
    // Everything it writes until it closes its output.
    std::string Rest();
    // Sends `sig` (none for 0) and waits; the exit code, or -1 when it did not exit normally.
    int Stop(int sig);
    // Sends `sig` and returns at once.
    void Signal(int sig);
    // Its wait status once it has ended, or nothing when it still runs after `deadlineMs`.
    std::optional<int> Wait(int deadlineMs);
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

}  // namespace kestrova::test

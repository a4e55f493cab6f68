#pragma once
// kestrova-sim as a separate process, as a person or an end-to-end test runs it: started with a
// port directory of the test's own, its output read line by line, stopped with a signal.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::test {

// The simulator program the build made.
const char* SimBinary();

class SimProcess {
  public:
    SimProcess(const std::filesystem::path& dir, std::vector<std::string> args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    // One line of its standard output, or "" after two seconds of nothing.
    std::string Line();
    // Everything it writes until it closes its output.
    std::string Rest();
    // Sends `sig` (none for 0) and waits; the exit code, or -1 when it did not exit normally.
    int Stop(int sig);

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

}  // namespace kestrova::test

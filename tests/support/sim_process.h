#pragma once
// kestrova-sim as a separate process, as a person or an end-to-end test runs it.

#include "support/child_process.h"

namespace kestrova::test {

// The simulator program the build made.
const char* SimBinary();

class SimProcess : public ChildProcess {
  public:
    SimProcess(const std::filesystem::path& dir, std::vector<std::string> args)
        : ChildProcess(SimBinary(), dir, std::move(args)) {}
};

}  // namespace kestrova::test

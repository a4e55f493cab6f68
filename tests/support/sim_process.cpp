#include "support/sim_process.h"

namespace kestrova::test {

const char* SimBinary() {
    return KESTROVA_SIM_BINARY;
}

}  // namespace kestrova::test

#include "app/update_server.h"

namespace update {
namespace {

UpdateServer& Current() {
    static UpdateServer server{KESTROVA_UPDATE_SERVER, "", false};
    return server;
}

}  // namespace

const UpdateServer& CurrentUpdateServer() {
    return Current();
}

void SetUpdateServerForTesting(const UpdateServer& server) {
    Current() = server;
}

}  // namespace update

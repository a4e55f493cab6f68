#pragma once
// Where the start-up update check finds the version file and the new executable.

#include <string>

namespace update {

struct UpdateServer {
    std::string baseUrl;  // "https://host[:port]"; the server paths follow it
    std::string caFile;   // trust only these authorities; empty: the system's
    // Skip the is-the-network-alive question, which a test machine with nothing but its
    // loopback interface would answer no.
    bool assumeNetworkAlive = false;
};

// The address this build was made with (the KESTROVA_UPDATE_SERVER build setting), unless a
// test has put its own server in its place.
const UpdateServer& CurrentUpdateServer();

// Tests: check against `server` from now on. An empty address makes every check find nothing
// at once, without touching the network.
void SetUpdateServerForTesting(const UpdateServer& server);

}  // namespace update

// Stands in for a new version of the program in the update tests: started from its folder, it
// leaves "marker.txt" there with the folder and the name it was started as, then runs, as a
// program that got going does, until a file "stop" appears there (it takes the file away as it
// ends; a minute at most). $KESTROVA_MARKER_ENDS makes it end at once instead: "exit" with code
// 0, "signal" killed by a signal. Built once more needing a shared library that the loader
// cannot find, it never starts at all.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#ifdef KESTROVA_MARKER_NEEDS_LIBRARY
extern "C" int kestrova_update_library_version();
#endif

int main(int argc, char** argv) {
#ifdef KESTROVA_MARKER_NEEDS_LIBRARY
    if (kestrova_update_library_version() != 32) return 1;
#endif
    std::string cwd(4096, '\0');
    if (!getcwd(cwd.data(), cwd.size())) return 1;
    cwd.resize(cwd.find('\0'));
    {
        std::ofstream out("marker.txt.part");
        out << "started " << (argc > 0 ? argv[0] : "") << " in " << cwd << "\n";
    }
    // Whoever waits for the marker never reads half of it.
    if (std::rename("marker.txt.part", "marker.txt") != 0) return 1;

    const char* ends = std::getenv("KESTROVA_MARKER_ENDS");
    if (ends && std::string(ends) == "exit") return 0;
    if (ends && std::string(ends) == "signal") std::raise(SIGKILL);
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < end) {
        if (std::remove("stop") == 0) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

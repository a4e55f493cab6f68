// Stands in for a new version of the program in the update tests: started from its folder, it
// leaves "marker.txt" there with the folder and the name it was started as, and ends.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    std::string cwd(4096, '\0');
    if (!getcwd(cwd.data(), cwd.size())) return 1;
    cwd.resize(cwd.find('\0'));
    {
        std::ofstream out("marker.txt.part");
        out << "started " << (argc > 0 ? argv[0] : "") << " in " << cwd << "\n";
    }
    // Whoever waits for the marker never reads half of it.
    return std::rename("marker.txt.part", "marker.txt") == 0 ? 0 : 1;
}

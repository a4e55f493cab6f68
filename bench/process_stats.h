#pragma once
// What a benchmark reads about its own process: resident memory, CPU time used and wake-ups.

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace bench {

inline long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

inline double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// How often the process went to sleep and was woken again (voluntary context switches).
inline long Wakeups() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw;
}

}  // namespace bench

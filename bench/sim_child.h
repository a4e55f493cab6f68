#pragma once
// What the real-time benchmarks share: kestrova-sim as a child process, and letting the event
// loop run for a while.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

namespace fs = std::filesystem;

// kestrova-sim at `given`, or where the build puts it (sim/ beside the benchmarks' folder) when
// no path is given; nothing, and a line that says so, when it is not there.
inline std::optional<std::string> FindSim(const char* given) {
    const std::string path =
        given
            ? given
            : (fs::canonical("/proc/self/exe").parent_path().parent_path() / "sim" / "kestrova-sim")
                  .string();
    if (fs::exists(path)) return path;
    std::printf("kestrova-sim not found at %s; nothing measured\n", path.c_str());
    return std::nullopt;
}

// kestrova-sim as a child process publishing COM7 in `dir`.
class Sim {
  public:
    Sim(const std::string& binary, const fs::path& dir, std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        args.insert(args.begin(), {binary, "--port", "COM7"});
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        if (posix_spawn(&m_pid, binary.c_str(), &fa, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&fa);
        close(out[1]);
        m_out = out[0];
    }
    ~Sim() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) close(m_out);
    }
    // The first line it prints: the port it published.
    std::string Port() {
        std::string line;
        char c;
        while (m_pid > 0 && read(m_out, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

  private:
    pid_t m_pid = -1;
    int m_out = -1;
};

inline void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace bench

#include "support/sim_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string_view>

extern char** environ;

namespace kestrova::test {

const char* SimBinary() {
    return KESTROVA_SIM_BINARY;
}

SimProcess::SimProcess(const std::filesystem::path& dir, std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    args.insert(args.begin(), SimBinary());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {"KESTROVA_DEVICES=" + dir.string()};
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).rfind("KESTROVA_DEVICES=", 0) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn(&pid_, SimBinary(), &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    out_ = out[0];
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

std::string SimProcess::Line() {
    std::string line;
    char c;
    while (true) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0 || read(out_, &c, 1) != 1) return line;
        if (c == '\n') return line;
        line += c;
    }
}

std::string SimProcess::Rest() {
    std::string all;
    char buf[512];
    for (ssize_t n; (n = read(out_, buf, sizeof buf)) > 0;)
        all.append(buf, static_cast<std::size_t>(n));
    return all;
}

int SimProcess::Stop(int sig) {
    kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace kestrova::test

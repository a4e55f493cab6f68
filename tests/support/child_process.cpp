#include "support/child_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string_view>

extern char** environ;

namespace kestrova::test {

ChildProcess::ChildProcess(const char* binary, const std::filesystem::path& dir,
                           std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    args.insert(args.begin(), binary);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {"KESTROVA_DEVICES=" + dir.string()};
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).rfind("KESTROVA_DEVICES=", 0) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn(&pid_, binary, &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    out_ = out[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

std::string ChildProcess::Line(int quietMs) {
    std::string line;
    char c;
    while (true) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, quietMs) <= 0 || read(out_, &c, 1) != 1) return line;
        if (c == '\n') return line;
        line += c;
    }
}

std::string ChildProcess::Rest() {
    std::string all;
    char buf[512];
    for (ssize_t n; (n = read(out_, buf, sizeof buf)) > 0;)
        all.append(buf, static_cast<std::size_t>(n));
    return all;
}

int ChildProcess::Stop(int sig) {
    kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::Signal(int sig) {
    kill(pid_, sig);
}

std::optional<int> ChildProcess::Wait(int deadlineMs) {
    // A process descriptor becomes readable when the process ends: no polling of waitpid.
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    if (pidFd < 0) return std::nullopt;
    pollfd p{pidFd, POLLIN, 0};
    const bool ended = poll(&p, 1, deadlineMs) > 0;
    close(pidFd);
    int status = 0;
    if (!ended || waitpid(pid_, &status, 0) != pid_) return std::nullopt;
    pid_ = -1;
    return status;
}

}  // namespace kestrova::test

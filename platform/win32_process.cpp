#include "platform/win32_process.h"

#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32_errors.h"

extern char** environ;

namespace {

void (*g_exitHook)(UINT) = nullptr;

struct ProcessRecord : platform::HandleRecord {
    ~ProcessRecord() override {
        if (pidfd >= 0) close(pidfd);
    }
    pid_t pid = 0;
    // Opened at the start, while the child cannot yet have been reaped, so it can only ever
    // refer to that child.
    int pidfd = -1;
    bool ended = false;
};

// Whether both names lead to one file.
bool SameFile(const char* a, const char* b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Words separated by blanks; double quotes group blanks into a word.
std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (const char* p = line; p && *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            any = true;
        } else if ((*p == ' ' || *p == '\t') && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += *p;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (auto& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

}  // namespace

BOOL CreateProcessA(const char* applicationName, char* commandLine,
                    SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, void* environment,
                    const char* currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation) {
    std::vector<std::string> args = SplitCommandLine(commandLine);
    std::string program;
    if (applicationName && *applicationName) {
        program = applicationName;
        if (args.empty()) args.push_back(program);
    } else if (!args.empty()) {
        program = args.front();
    } else {
        return platform::FailWith(ERROR_INVALID_PARAMETER);
    }
    if (program.find('/') == std::string::npos) program = "./" + program;

    std::vector<std::string> env;
    if (environment) {
        for (const char* e = static_cast<const char*>(environment); *e; e += env.back().size() + 1)
            env.emplace_back(e);
    }
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (currentDirectory && *currentDirectory)
        posix_spawn_file_actions_addchdir_np(&actions, currentDirectory);
    pid_t pid = 0;
    // glibc reports a failed exec here, so a missing or unrunnable program fails the call.
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(),
                         environment ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return platform::FailWithErrno(rc);

    if (processInformation) {
        auto record = std::make_unique<ProcessRecord>();
        record->pid = pid;
        // By the system call: glibc 2.36 declares its wrapper without C linkage.
        record->pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
        processInformation->hProcess = platform::RegisterHandle(std::move(record));
        processInformation->hThread = nullptr;
        processInformation->dwProcessId = static_cast<DWORD>(pid);
        processInformation->dwThreadId = 0;
    }
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto* process = platform::FindHandleOf<ProcessRecord>(handle);
    if (!process) return platform::FailWith(ERROR_INVALID_HANDLE), WAIT_FAILED;
    if (process->ended) return WAIT_OBJECT_0;
    if (process->pidfd < 0) return platform::FailWith(ERROR_NOT_SUPPORTED), WAIT_FAILED;
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        int timeout = -1;
        if (milliseconds != INFINITE) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        pollfd ready{process->pidfd, POLLIN, 0};
        const int n = poll(&ready, 1, timeout);
        if (n > 0) break;
        if (n == 0) return WAIT_TIMEOUT;
        if (errno != EINTR) return platform::FailWithErrno(errno), WAIT_FAILED;
    }
    // Ended: reaped now, so a program that goes on running keeps no zombie.
    waitpid(process->pid, nullptr, 0);
    process->ended = true;
    return WAIT_OBJECT_0;
}

void ExitProcess(UINT exitCode) {
    if (g_exitHook) g_exitHook(exitCode);
    std::fflush(nullptr);  // what was printed is kept; nothing else of the program runs
    _exit(static_cast<int>(exitCode));
}

namespace platform {

bool IsOwnOrParentsExecutable(const char* path) {
    const std::string parent = "/proc/" + std::to_string(getppid()) + "/exe";
    return path && (SameFile(path, "/proc/self/exe") || SameFile(path, parent.c_str()));
}

void SetExitProcessHookForTesting(void (*hook)(UINT exitCode)) {
    g_exitHook = hook;
}

}  // namespace platform

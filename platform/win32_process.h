#pragma once
// Starting a program and ending this one, as the update does it.

#include "platform/win32_handles.h"
#include "platform/win_types.h"

struct SECURITY_ATTRIBUTES;

constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

struct STARTUPINFOA {
    DWORD cb;
    char* lpReserved;
    char* lpDesktop;
    char* lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};

struct PROCESS_INFORMATION {
    HANDLE hProcess;  // close with CloseHandle; closing does not wait for the program
    HANDLE hThread;   // always null: there is no separate thread object
    DWORD dwProcessId;
    DWORD dwThreadId;
};

// Starts `applicationName` (a name without a directory is taken from `currentDirectory`, else
// the current directory; no search path) with the words of `commandLine` as its arguments, the
// given "name=value\0...\0\0" environment or this process's, and `currentDirectory` or this
// one's. Descriptors are not inherited whatever `inheritHandles` says. FALSE with the Win32 code
// of the failure (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ...).
BOOL CreateProcessA(const char* applicationName, char* commandLine,
                    SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, void* environment,
                    const char* currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation);

// Waits up to `milliseconds` (or INFINITE) for the process of `handle`, a handle from
// CreateProcessA, to end: WAIT_OBJECT_0 as soon as it has ended (it is then reaped),
// WAIT_TIMEOUT when it still runs, WAIT_FAILED with the last error when it cannot be waited for.
// Safe to call from any thread.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Ends the process at once with `exitCode`: no destructor and no exit handler runs.
[[noreturn]] void ExitProcess(UINT exitCode);

namespace platform {

// Whether `path` leads to the file this process runs from, or to the one of the process that
// started it, judged by the file itself (device and inode): a relative name, a symbolic link or
// a hard link to it all count.
bool IsOwnOrParentsExecutable(const char* path);

// Tests that run the program in their own process: `hook` runs first when ExitProcess is
// called, so the test can end the process its own way (an exit code 0 from the middle of a test
// would look like a pass). Null removes it.
void SetExitProcessHookForTesting(void (*hook)(UINT exitCode));

}  // namespace platform

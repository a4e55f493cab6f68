#pragma once
// Last-error codes and their message texts, as the program's Win32 calls report them. The codes
// most callers meet are in win_types.h; the rest of what errno can turn into is here.

#include <cstddef>

#include "platform/win_types.h"

constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_SEM_TIMEOUT = 121;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;
constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD SUBLANG_SYS_DEFAULT = 0x02;
constexpr DWORD MAKELANGID(WORD primary, WORD sub) {
    return static_cast<DWORD>((static_cast<WORD>(sub) << 10) | primary);
}

using HLOCAL = void*;

// Per thread, as the system keeps it.
DWORD GetLastError();
void SetLastError(DWORD error);

// Only system texts (FROM_SYSTEM) exist, from our own table, and inserts are never expanded.
// With ALLOCATE_BUFFER `buffer` is really a char** that receives a LocalAlloc'd text. Returns the
// text's length, or 0 for an unknown code (last error ERROR_MR_MID_NOT_FOUND).
DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     char* buffer, DWORD size, void* arguments);
HLOCAL LocalFree(HLOCAL memory);

// Copies at most maxLength - 1 characters and a terminator.
char* lstrcpynA(char* destination, const char* source, int maxLength);

namespace platform {

// The Win32 code for an errno value from a file or path call.
DWORD Win32ErrorFromErrno(int error);

// Sets the last error from `error` (errno) and returns FALSE, for the common failure path.
BOOL FailWithErrno(int error);
BOOL FailWith(DWORD win32Error);

}  // namespace platform

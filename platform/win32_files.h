#pragma once
// Files and directories by path, as the program's Win32 calls name them. Paths are POSIX paths
// (relative ones against the current directory); last errors are Win32 codes.

#include "platform/win32_errors.h"
#include "platform/win_types.h"

BOOL DeleteFileA(const char* fileName);
// The current directory into `buffer` (size in characters). Returns its length; when the buffer
// is too small, the size needed (terminator included) and nothing is written; 0 on failure.
DWORD GetCurrentDirectoryA(DWORD size, char* buffer);

namespace platform {

// Renames (moves) a file, replacing nothing: returns ERROR_SUCCESS, ERROR_ALREADY_EXISTS when
// `to` exists, or the Win32 code of the failure. Also sets the last error.
DWORD RenamePath(const char* from, const char* to);

// Lets whoever may read the file run it (the execute bit beside each read bit), as a program
// that was fetched as plain bytes needs before it can be started. Returns ERROR_SUCCESS or the
// Win32 code of the failure; also sets the last error.
DWORD MakeExecutable(const char* path);

}  // namespace platform

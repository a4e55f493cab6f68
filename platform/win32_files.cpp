#include "platform/win32_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

BOOL DeleteFileA(const char* fileName) {
    if (!fileName) return platform::FailWith(ERROR_INVALID_PARAMETER);
    struct stat st {};
    // Deleting removes files only, never a directory.
    if (lstat(fileName, &st) == 0 && S_ISDIR(st.st_mode))
        return platform::FailWith(ERROR_ACCESS_DENIED);
    if (unlink(fileName) != 0) return platform::FailWithErrno(errno);
    return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD size, char* buffer) {
    std::string dir(4096, '\0');
    while (!getcwd(dir.data(), dir.size())) {
        if (errno != ERANGE) return platform::FailWithErrno(errno), 0;
        dir.resize(dir.size() * 2);
    }
    dir.resize(std::strlen(dir.c_str()));
    if (!buffer || size < dir.size() + 1) return static_cast<DWORD>(dir.size() + 1);
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return static_cast<DWORD>(dir.size());
}

namespace platform {

DWORD RenamePath(const char* from, const char* to) {
    DWORD result = ERROR_SUCCESS;
    if (!from || !to) {
        result = ERROR_INVALID_PARAMETER;
    } else if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) != 0) {
        int e = errno;
        if (e == EINVAL || e == ENOSYS) {
            // File systems without the no-replace flag: check, then rename.
            struct stat st {};
            if (lstat(to, &st) == 0)
                result = ERROR_ALREADY_EXISTS;
            else if (rename(from, to) != 0)
                result = Win32ErrorFromErrno(errno);
        } else {
            result = Win32ErrorFromErrno(e);
        }
    }
    SetLastError(result);
    return result;
}

DWORD MakeExecutable(const char* path) {
    DWORD result = ERROR_SUCCESS;
    struct stat st {};
    if (!path) {
        result = ERROR_INVALID_PARAMETER;
    } else if (stat(path, &st) != 0) {
        result = Win32ErrorFromErrno(errno);
    } else if (!S_ISREG(st.st_mode)) {
        result = ERROR_ACCESS_DENIED;
    } else {
        const mode_t mode = st.st_mode & 07777;
        if (chmod(path, mode | ((mode & 0444) >> 2)) != 0) result = Win32ErrorFromErrno(errno);
    }
    SetLastError(result);
    return result;
}

}  // namespace platform

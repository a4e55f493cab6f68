#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/file.h"

namespace platform {

namespace {

[[noreturn]] void Throw(int error, const std::string& path) {
    throw new CFileException(CFileException::CauseFromErrno(error), error, path.c_str());
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string CreateFileBeside(const std::string& path) {
    const std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) Throw(errno, path);
    ::close(fd);
    return name.data();
}

void ReplaceFileWith(const std::string& temp, const std::string& path) {
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Throw(errno, path);
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    if (!synced) Throw(syncError, path);
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    if (::chmod(temp.c_str(), mode) != 0) Throw(errno, path);
    if (::rename(temp.c_str(), path.c_str()) != 0) Throw(errno, path);
}

void RemoveQuietly(const std::string& path) {
    std::remove(path.c_str());
}

}  // namespace platform

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

namespace fs = std::filesystem;

// As many links in a row as the system itself follows.
constexpr int kMaxLinkHops = 40;

[[noreturn]] void Throw(int error, const std::string& path) {
    throw new CFileException(CFileException::CauseFromErrno(error), error, path.c_str());
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a chain of symbolic links ends at; `path` itself when it is no link. A link to a
// file that is not there yet ends at the name it would have.
fs::path LinkTarget(const std::string& path) {
    fs::path p(path);
    std::error_code error;
    for (int hop = 0; hop < kMaxLinkHops && fs::is_symlink(p, error); ++hop) {
        const fs::path to = fs::read_symlink(p, error);
        if (error) break;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return p;
}

// A new file under a name no other file has, in the folder of `target`; -1 (errno set) when
// the folder takes none.
int CreateFileBeside(const fs::path& target, std::string& name) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd >= 0) name = buffer.data();
    return fd;
}

void WriteAll(int fd, std::string_view text, const std::string& path) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Throw(n < 0 ? errno : EIO, path);
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

void Sync(int fd, const std::string& path) {
    if (::fsync(fd) != 0) Throw(errno, path);
}

// Closes `fd` however the work on it ends.
struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
};

// Without truncating first, so a shorter new content needs no new space on the disk; what is
// left of the old one is cut off only once the new content is in.
void WriteInPlace(const fs::path& target, std::string_view text, const std::string& path) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) Throw(errno, path);
    Closer closer{fd};
    WriteAll(fd, text, path);
    if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) Throw(errno, path);
    Sync(fd, path);
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::string_view text) {
    const fs::path target = LinkTarget(path);
    std::string temp;
    const int fd = CreateFileBeside(target, temp);
    if (fd < 0) {
        WriteInPlace(target, text, path);
        return;
    }
    try {
        {
            Closer closer{fd};
            WriteAll(fd, text, path);
            Sync(fd, path);
        }
        struct stat old {};
        const mode_t mode =
            ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
        if (::chmod(temp.c_str(), mode) != 0) Throw(errno, path);
        if (::rename(temp.c_str(), target.c_str()) != 0) Throw(errno, path);
    } catch (CFileException*) {
        std::remove(temp.c_str());
        throw;
    }
}

}  // namespace platform

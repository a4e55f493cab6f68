#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/file.h"
#include "platform/file_attributes.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// As many links in a row as the system itself follows.
constexpr int kMaxLinkHops = 40;

// Not built from the file's name: beside a file whose name is near the system's limit of 255
// bytes, such a name would pass it, and the file could only be overwritten in place.
constexpr const char* kNewFileName = ".kestrova-XXXXXX";

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
    const std::string pattern = (folder / kNewFileName).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd >= 0) name = buffer.data();
    return fd;
}

// Writes `text` from the start of the file; `written` counts what reached it, also when it
// fails. 0, or the errno of the failure.
int WriteFromStart(int fd, std::string_view text, std::size_t& written) {
    written = 0;
    while (written < text.size()) {
        const ssize_t n =
            ::pwrite(fd, text.data() + written, text.size() - written, static_cast<off_t>(written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

// The first head.size() bytes of the file into `head`; 0, or the errno of the failure.
int ReadFromStart(int fd, std::string& head) {
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t n =
            ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return 0;
}

// Closes `fd` however the work on it ends.
struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
};

// Whether the new file `fd` now holds all that the old one had besides its content: its owner,
// group and mode, and its extended attributes, an ACL among them. What is not ours to give (a
// file of another owner, a group we are not in) would be lost by a rename.
bool CarriesAllOf(int fd, const fs::path& target, const struct stat& old) {
    // The owner goes first, since giving it away clears the set-ID bits of the mode.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 || !CopyAttributes(target.c_str(), fd) ||
        ::fchmod(fd, old.st_mode & 07777) != 0)
        return false;
    // A set-group-ID bit that is not ours to give is dropped without a word.
    struct stat now {};
    return ::fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           (now.st_mode & 07777) == (old.st_mode & 07777);
}

// The new content goes to a file of its own, which takes the old one's name once it is whole.
// `old` is the file it replaces, if there is one. False, with the new file gone, when the new
// file cannot carry all that the old one had.
bool ReplaceByRename(int fd, const std::string& temp, const fs::path& target,
                     const struct stat* old, std::string_view text, const std::string& path) {
    std::size_t written = 0;
    int error = WriteFromStart(fd, text, written);
    // After the writing, which clears set-ID bits and file capabilities.
    if (!error && old && !CarriesAllOf(fd, target, *old)) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    // The new file is made private; a file of a new name takes the usual creation mode.
    if (!error && !old && ::fchmod(fd, NewFileMode()) != 0) error = errno;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (!error) return true;
    ::unlink(temp.c_str());
    Throw(error, path);
}

// Writes back the old bytes that the new content overwrote, and cuts off what it added.
bool PutBack(int fd, std::string_view head, std::size_t overwritten, off_t oldSize) {
    std::size_t written = 0;
    return WriteFromStart(fd, head.substr(0, std::min(overwritten, head.size())), written) == 0 &&
           ::ftruncate(fd, oldSize) == 0 && ::fsync(fd) == 0;
}

// Overwrites the file where it is, keeping the old bytes that the new content covers so that
// a failure half-way can put them back. Nothing is truncated first, so a shorter new content
// needs no new room on the disk; the old content's tail is cut off only once the new content
// is safely on the disk.
void ReplaceInPlace(const fs::path& target, bool existed, std::string_view text,
                    const std::string& path, bool& oldFileKept) {
    CFileException openError;
    const int fd = OpenRegularFile(target.c_str(), O_RDWR | O_CREAT, &openError);
    if (fd < 0) throw new CFileException(openError.m_cause, openError.m_lOsError, path.c_str());
    Closer closer{fd};
    struct stat old {};
    if (::fstat(fd, &old) != 0) Throw(errno, path);
    std::string head(std::min(static_cast<std::size_t>(old.st_size), text.size()), '\0');
    if (const int error = ReadFromStart(fd, head)) Throw(error, path);

    std::size_t written = 0;
    int error = WriteFromStart(fd, text, written);
    if (!error && ::fsync(fd) != 0) error = errno;
    if (!error && old.st_size > static_cast<off_t>(text.size())) {
        if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
            error = errno;
        } else if (::fsync(fd) != 0) {
            // The old tail is gone: nothing to put back.
            oldFileKept = false;
            Throw(errno, path);
        }
    }
    if (!error) return;
    oldFileKept = existed ? PutBack(fd, head, written, old.st_size) : ::unlink(target.c_str()) == 0;
    Throw(error, path);
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::string_view text, LeftBehind& left) {
    left = LeftBehind{};
    const fs::path target = LinkTarget(path);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    left.fileWasThere = existed;
    // A pipe, socket, device or folder under that name stays: a rename would destroy it.
    if (existed && !S_ISREG(old.st_mode))
        throw new CFileException(CFileException::notRegularFile, S_ISDIR(old.st_mode) ? EISDIR : -1,
                                 path.c_str());
    // A second name of the file would keep the old content after a rename.
    if (!existed || old.st_nlink == 1) {
        std::string temp;
        const int fd = CreateFileBeside(target, temp);
        if (fd >= 0 && ReplaceByRename(fd, temp, target, existed ? &old : nullptr, text, path))
            return;
    }
    ReplaceInPlace(target, existed, text, path, left.kept);
}

}  // namespace platform

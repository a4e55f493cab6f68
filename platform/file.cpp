#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "platform/win32_files.h"

BOOL CFileException::GetErrorMessage(char* text, UINT maxChars, UINT* helpContext) {
    if (helpContext) *helpContext = 0;
    if (!text || maxChars == 0) return FALSE;
    static const char* const kTexts[] = {
        "No error occurred.",
        "An unknown error occurred while accessing %s.",
        "%s was not found.",
        "%s contains an incorrect path.",
        "%s could not be opened because there are too many open files.",
        "Access to %s was denied.",
        "An incorrect file handle was associated with %s.",
        "%s could not be removed because it is the current directory.",
        "%s could not be created because the directory is full.",
        "Seek failed on %s.",
        "A hardware I/O error was reported while accessing %s.",
        "A sharing violation occurred while accessing %s.",
        "A locking violation occurred while accessing %s.",
        "Disk full while accessing %s.",
        "An attempt was made to access %s past its end.",
        "%s is not a regular file.",
    };
    int cause = (m_cause >= 0 && m_cause <= notRegularFile) ? m_cause : genericException;
    const char* name =
        m_strFileName.IsEmpty() ? "an unnamed file" : static_cast<const char*>(m_strFileName);
    std::snprintf(text, maxChars, kTexts[cause], name);
    return TRUE;
}

int CFileException::CauseFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return badPath;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST:
            return accessDenied;
        case EBADF:
            return invalidFile;
        case ENOSPC:
        case EFBIG:
            return diskFull;
        case EIO:
            return hardIO;
        case EBUSY:
            return sharingViolation;
        default:
            return genericException;
    }
}

CFile::CFile(const char* fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw new CFileException(error.m_cause, error.m_lOsError, fileName);
}

CFile::~CFile() {
    if (m_file) std::fclose(m_file);
}

namespace {

void Fill(CFileException* error, int cause, int osError, const char* fileName) {
    if (!error) return;
    error->m_cause = cause;
    error->m_lOsError = osError;
    error->m_strFileName = fileName ? fileName : "";
}

// The open(2) flags and the stream mode for `openFlags`. Create without truncation opens
// read-write at the start of the file, never in append mode, which would send every write to
// the end whatever Seek said.
std::pair<int, const char*> OpenModes(UINT openFlags) {
    const UINT access = openFlags & 0x3;
    const bool writes = access == CFile::modeWrite || access == CFile::modeReadWrite;
    if ((openFlags & CFile::modeCreate) && (openFlags & CFile::modeNoTruncate))
        return {O_RDWR | O_CREAT, "rb+"};
    if (openFlags & CFile::modeCreate)
        return access == CFile::modeReadWrite ? std::pair{O_RDWR | O_CREAT | O_TRUNC, "wb+"}
                                              : std::pair{O_WRONLY | O_CREAT | O_TRUNC, "wb"};
    return writes ? std::pair{O_RDWR, "rb+"} : std::pair{O_RDONLY, "rb"};
}

int Failed(CFileException* error, int osError, const char* path) {
    Fill(error, CFileException::CauseFromErrno(osError), osError, path);
    return -1;
}

// The file that the O_PATH descriptor `look` stands for, opened with `flags` when it is a
// regular file; -1 with `error` filled when it is none or cannot be opened.
int OpenLookedAt(int look, int flags, const char* path, CFileException* error) {
    struct stat st {};
    if (::fstat(look, &st) != 0) return Failed(error, errno, path);
    if (!S_ISREG(st.st_mode)) {
        Fill(error, CFileException::notRegularFile, S_ISDIR(st.st_mode) ? EISDIR : -1, path);
        return -1;
    }
    // The file looked at itself, whatever the name holds by now. O_NONBLOCK: a file another
    // holds a lease on is refused rather than waited for.
    const std::string same = "/proc/self/fd/" + std::to_string(look);
    const int fd =
        ::open(same.c_str(), (flags & ~(O_CREAT | O_EXCL | O_NOFOLLOW)) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failed(error, errno, path);
    // A file's reads and writes are to wait for the disk as ever.
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        const int e = errno;
        ::close(fd);
        return Failed(error, e, path);
    }
    return fd;
}

}  // namespace

namespace platform {

int OpenRegularFile(const char* path, int flags, CFileException* error) {
    if (!path || !*path) {
        Fill(error, CFileException::badPath, EINVAL, path);
        return -1;
    }
    // What the name holds is looked at through a descriptor that opens nothing, as an O_PATH
    // open reaches no driver: opening a serial line toggles its modem lines, a watchdog opened
    // by root is armed, and a pipe's open waits for its other end. A name that is not there yet
    // is made a new file; with O_EXCL, what another puts there meanwhile is only looked at.
    for (int round = 0; round < 2; ++round) {
        const int look = ::open(path, O_PATH | O_CLOEXEC | (flags & O_NOFOLLOW));
        if (look >= 0) {
            const int fd = OpenLookedAt(look, flags, path, error);
            ::close(look);
            return fd;
        }
        if (errno != ENOENT || !(flags & O_CREAT)) return Failed(error, errno, path);
        const int fd = ::open(path, flags | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return Failed(error, errno, path);
    }
    return Failed(error, EEXIST, path);
}

}  // namespace platform

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
    Close();
    const auto [flags, mode] = OpenModes(openFlags);
    const int fd = platform::OpenRegularFile(fileName, flags, error);
    if (fd < 0) return FALSE;
    m_file = ::fdopen(fd, mode);
    if (!m_file) {
        const int e = errno;
        ::close(fd);
        Fill(error, CFileException::CauseFromErrno(e), e, fileName);
        return FALSE;
    }
    m_path = fileName;
    if (openFlags & typeText) m_text = true;
    if (openFlags & typeBinary) m_text = false;
    return TRUE;
}

void CFile::Close() {
    if (!m_file) return;
    bool failed = std::fclose(m_file) != 0;
    m_file = nullptr;
    // A close that fails may have lost buffered data; that is the caller's business to know.
    if (failed) ThrowLastError();
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!m_file) throw new CFileException(CFileException::invalidFile, EBADF, m_path.c_str());
    size_t n = std::fread(buffer, 1, count, m_file);
    if (n < count && std::ferror(m_file)) ThrowLastError();
    return static_cast<UINT>(n);
}

void CFile::Write(const void* buffer, UINT count) {
    if (!m_file) throw new CFileException(CFileException::invalidFile, EBADF, m_path.c_str());
    if (std::fwrite(buffer, 1, count, m_file) != count) ThrowLastError();
}

void CFile::Flush() {
    if (m_file && std::fflush(m_file) != 0) ThrowLastError();
}

ULONGLONG CFile::GetLength() const {
    if (!m_file) return 0;
    long at = std::ftell(m_file);
    std::fseek(m_file, 0, SEEK_END);
    long size = std::ftell(m_file);
    std::fseek(m_file, at, SEEK_SET);
    return size < 0 ? 0 : static_cast<ULONGLONG>(size);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    if (!m_file ||
        std::fseek(m_file, static_cast<long>(offset),
                   from == end ? SEEK_END : (from == current ? SEEK_CUR : SEEK_SET)) != 0)
        throw new CFileException(CFileException::badSeek, errno, m_path.c_str());
    return static_cast<ULONGLONG>(std::ftell(m_file));
}

void CFile::ThrowLastError() const {
    int e = errno;
    throw new CFileException(CFileException::CauseFromErrno(e), e, m_path.c_str());
}

void CFile::Rename(const char* oldName, const char* newName) {
    // Like the platform's own rename, this never replaces an existing file: an update must not
    // overwrite a file it did not mean to.
    DWORD code = platform::RenamePath(oldName, newName);
    if (code == ERROR_SUCCESS) return;
    int cause = CFileException::genericException;
    if (code == ERROR_FILE_NOT_FOUND) cause = CFileException::fileNotFound;
    if (code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_PARAMETER)
        cause = CFileException::badPath;
    if (code == ERROR_ACCESS_DENIED || code == ERROR_ALREADY_EXISTS)
        cause = CFileException::accessDenied;
    throw new CFileException(cause, static_cast<LONG>(code), oldName);
}

void CFile::Remove(const char* fileName) {
    if (!fileName || !*fileName)
        throw new CFileException(CFileException::badPath, EINVAL, fileName);
    if (std::remove(fileName) != 0) {
        int e = errno;
        throw new CFileException(CFileException::CauseFromErrno(e), e, fileName);
    }
}

CStdioFile::CStdioFile(const char* fileName, UINT openFlags) {
    m_text = true;
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw new CFileException(error.m_cause, error.m_lOsError, fileName);
}

BOOL CStdioFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
    BOOL ok = CFile::Open(fileName, openFlags, error);
    if (ok && !(openFlags & typeBinary)) m_text = true;
    return ok;
}

BOOL CStdioFile::ReadString(CString& line) {
    line.Empty();
    if (!m_file) throw new CFileException(CFileException::invalidFile, EBADF, m_path.c_str());
    std::string text;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(m_file)) != EOF) {
        any = true;
        if (c == '\n') break;
        text += static_cast<char>(c);
    }
    if (std::ferror(m_file)) ThrowLastError();
    if (!any) return FALSE;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    line = CString(text);
    return TRUE;
}

void CStdioFile::WriteString(const char* text) {
    if (!text) return;
    if (!m_text) {
        Write(text, static_cast<UINT>(std::strlen(text)));
        return;
    }
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' && (p == text || p[-1] != '\r')) out += '\r';
        out += *p;
    }
    Write(out.data(), static_cast<UINT>(out.size()));
}

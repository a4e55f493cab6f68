#pragma once
// The class library's files: CFile (binary), CStdioFile (text lines) and CFileException.
// Text files are written with CRLF line ends, as the program's parameter files must be, and
// read back with either line end. Only regular files open: a pipe, socket, device or folder is
// refused at once, unopened, instead of leaving the program waiting in the open.

#include <cstdio>
#include <string>

#include "platform/cstring.h"
#include "platform/exception.h"

class CFileException : public CException {
  public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
        // Ours: a pipe, socket, device or folder where a file was expected.
        notRegularFile = 15,
    };

    explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName ? fileName : "") {}

    BOOL GetErrorMessage(char* text, UINT maxChars, UINT* helpContext = nullptr) override;
    static int CauseFromErrno(int error);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CFile {
  public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x2000,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(const char* fileName, UINT openFlags);  // throws CFileException* on failure
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Hands buffered data to the system; a full disk shows here (or at Close) as an exception.
    virtual void Flush();
    ULONGLONG GetLength() const;
    ULONGLONG Seek(LONGLONG offset, UINT from);
    CString GetFilePath() const { return CString(m_path); }
    bool IsOpen() const { return m_file != nullptr; }

    static void Rename(const char* oldName, const char* newName);
    static void Remove(const char* fileName);

  protected:
    [[noreturn]] void ThrowLastError() const;

    std::FILE* m_file = nullptr;
    std::string m_path;
    bool m_text = false;
};

namespace platform {

// Opens `path` as open(2) does with `flags` (O_CLOEXEC added, mode 0666 when it creates), but
// opens nothing that is not a regular file: a pipe, socket, device or folder is refused with
// notRegularFile without being opened, also when it takes the name while the file is opened.
// O_NOFOLLOW refuses a symbolic link so. The descriptor, or -1 with `error` filled.
int OpenRegularFile(const char* path, int flags, CFileException* error);

}  // namespace platform

class CStdioFile : public CFile {
  public:
    CStdioFile() { m_text = true; }
    CStdioFile(const char* fileName, UINT openFlags);
    BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr) override;

    // One line without its line end; FALSE at the end of the file.
    BOOL ReadString(CString& line);
    // Writes the text; each "\n" becomes "\r\n" in a text file.
    void WriteString(const char* text);
};

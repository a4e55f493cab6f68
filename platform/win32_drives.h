#pragma once
// Drive letters on Linux: C: is the root file system; D:, E:, ... are the other mounted
// block-device file systems, in mount order (one letter per device, however often it is
// mounted). "X:" and "X:\rest" name paths under that drive's mount point; any other path is a
// POSIX path.

#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"

constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x00000001;
constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x00000002;
constexpr DWORD FILE_READ_ONLY_VOLUME = 0x00080000;

struct ULARGE_INTEGER {
    ULONGLONG QuadPart;
};

// "C:\<NUL>D:\<NUL><NUL>" into `buffer`; returns the length without the last terminator, or the
// size needed when `bufferLength` is too small (nothing is written then).
DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer);
UINT GetDriveTypeA(const char* rootPathName);
// The volume name is the file system's label (empty when it has none); the serial number comes
// from the file system's id.
BOOL GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                           DWORD* volumeSerialNumber, DWORD* maximumComponentLength,
                           DWORD* fileSystemFlags, char* fileSystemNameBuffer,
                           DWORD fileSystemNameSize);
BOOL GetDiskFreeSpaceExA(const char* directoryName, ULARGE_INTEGER* freeBytesAvailableToCaller,
                         ULARGE_INTEGER* totalNumberOfBytes,
                         ULARGE_INTEGER* totalNumberOfFreeBytes);
// FILE_ATTRIBUTE_DIRECTORY when `path` is a directory, else FALSE.
BOOL PathIsDirectoryA(const char* path);
// ASCII letters only: the layer's text is UTF-8, where one byte above 0x7F is no character.
BOOL IsCharAlphaA(char ch);

namespace platform {

// The POSIX path for a path that may start with a drive ("C:", "d:\x\y"); nullopt for a drive
// letter that is not there. Other paths come back unchanged.
std::optional<std::string> DrivePathToPosix(const std::string& path);

// A drive that stands in for this machine's mounts: its letter names `directory`.
struct TestDrive {
    char letter;
    std::string directory;
    std::string label;
    std::string fileSystem;
    UINT type = DRIVE_FIXED;
};
// Tests: the drive functions see exactly these drives (letters in any order, gaps allowed);
// nullopt gives them this machine's mounts again.
void SetTestDrives(std::optional<std::vector<TestDrive>> drives);

}  // namespace platform

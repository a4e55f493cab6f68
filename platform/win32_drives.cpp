#include "platform/win32_drives.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/win32_errors.h"

namespace fs = std::filesystem;

namespace {

struct Drive {
    char letter;
    std::string mountPoint;
    std::string source;  // the device, as mounted
    std::string fsType;
    std::optional<std::string> label;  // known without asking the device (test drives)
    std::optional<UINT> type;
};

std::optional<std::vector<platform::TestDrive>>& TestDrives() {
    static std::optional<std::vector<platform::TestDrive>> drives;
    return drives;
}

// Mount-table fields escape blanks and backslashes as octal (\040).
std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() &&
            std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<Drive> ListDrives() {
    std::vector<Drive> drives;
    if (TestDrives()) {
        for (const auto& t : *TestDrives())
            drives.push_back(
                Drive{static_cast<char>(std::toupper(static_cast<unsigned char>(t.letter))),
                      t.directory, "", t.fileSystem, t.label, t.type});
        std::sort(drives.begin(), drives.end(),
                  [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
        return drives;
    }
    std::vector<dev_t> devices;
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    Drive root{'C', "/", "", "", std::nullopt, std::nullopt};
    std::vector<Drive> others;
    while (std::getline(mounts, line)) {
        std::istringstream in(line);
        std::string source, point, type;
        if (!(in >> source >> point >> type)) continue;
        source = Unescape(source);
        point = Unescape(point);
        if (point == "/") {
            root.source = source;
            root.fsType = type;
            continue;
        }
        struct stat dev {
        }, dir{};
        // Block devices only, mounted on directories (not files bound over files).
        if (stat(source.c_str(), &dev) != 0 || !S_ISBLK(dev.st_mode)) continue;
        if (stat(point.c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode)) continue;
        bool seen = false;
        for (dev_t d : devices) seen = seen || d == dev.st_rdev;
        if (seen) continue;
        devices.push_back(dev.st_rdev);
        others.push_back(Drive{0, point, source, type, std::nullopt, std::nullopt});
    }
    drives.push_back(root);
    // The root's own device gets no second letter.
    struct stat rootDev {};
    if (stat(root.source.c_str(), &rootDev) == 0 && S_ISBLK(rootDev.st_mode)) {
        std::erase_if(others, [&](const Drive& d) {
            struct stat st {};
            return stat(d.source.c_str(), &st) == 0 && st.st_rdev == rootDev.st_rdev;
        });
    }
    char letter = 'D';
    for (auto& d : others) {
        if (letter > 'Z') break;
        d.letter = letter++;
        drives.push_back(d);
    }
    return drives;
}

const Drive* FindDrive(const std::vector<Drive>& drives, char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const auto& d : drives)
        if (d.letter == letter) return &d;
    return nullptr;
}

bool HasDrivePrefix(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// Copies `text` with its terminator into a buffer of `size`; false when it does not fit.
bool CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (!buffer) return true;
    if (text.size() + 1 > size) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::string LabelOf(const std::string& device) {
    std::error_code ec;
    fs::path dev = fs::canonical(device, ec);
    if (ec) return "";
    for (const auto& e : fs::directory_iterator("/dev/disk/by-label", ec)) {
        std::error_code ec2;
        if (fs::canonical(e.path(), ec2) == dev && !ec2)
            return Unescape(e.path().filename().string());
    }
    return "";
}

}  // namespace

namespace platform {

std::optional<std::string> DrivePathToPosix(const std::string& path) {
    if (!HasDrivePrefix(path)) return path;
    auto drives = ListDrives();
    const Drive* d = FindDrive(drives, path[0]);
    if (!d) return std::nullopt;
    std::string rest = path.substr(2);
    for (char& c : rest)
        if (c == '\\') c = '/';
    while (!rest.empty() && rest.front() == '/') rest.erase(rest.begin());
    if (rest.empty()) return d->mountPoint;
    return d->mountPoint == "/" ? "/" + rest : d->mountPoint + "/" + rest;
}

void SetTestDrives(std::optional<std::vector<TestDrive>> drives) {
    TestDrives() = std::move(drives);
}

}  // namespace platform

DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    std::string list;
    for (const auto& d : ListDrives()) {
        list += d.letter;
        list += ":\\";
        list += '\0';
    }
    if (!buffer || bufferLength < list.size() + 1) return static_cast<DWORD>(list.size() + 1);
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
}

UINT GetDriveTypeA(const char* rootPathName) {
    auto drives = ListDrives();
    const Drive* d =
        FindDrive(drives, rootPathName && HasDrivePrefix(rootPathName) ? rootPathName[0] : 'C');
    if (!d) return DRIVE_NO_ROOT_DIR;
    if (d->type) return *d->type;
    if (d->fsType == "iso9660" || d->fsType == "udf") return DRIVE_CDROM;
    struct stat st {};
    if (d->letter != 'C' && stat(d->source.c_str(), &st) == 0) {
        // A partition's own entry has no "removable"; its disk (the parent) has.
        fs::path sys = fs::path("/sys/dev/block") / (std::to_string(major(st.st_rdev)) + ":" +
                                                     std::to_string(minor(st.st_rdev)));
        for (fs::path p : {sys / "removable", sys / ".." / "removable"}) {
            std::ifstream in(p);
            int removable = 0;
            if (in >> removable) return removable ? DRIVE_REMOVABLE : DRIVE_FIXED;
        }
    }
    return DRIVE_FIXED;
}

BOOL GetVolumeInformationA(const char* rootPathName, char* volumeNameBuffer, DWORD volumeNameSize,
                           DWORD* volumeSerialNumber, DWORD* maximumComponentLength,
                           DWORD* fileSystemFlags, char* fileSystemNameBuffer,
                           DWORD fileSystemNameSize) {
    auto drives = ListDrives();
    std::string root = rootPathName ? rootPathName : "C:\\";
    const Drive* d = HasDrivePrefix(root) ? FindDrive(drives, root[0]) : nullptr;
    if (!d) return platform::FailWith(ERROR_PATH_NOT_FOUND);
    struct statvfs vfs {};
    if (statvfs(d->mountPoint.c_str(), &vfs) != 0) return platform::FailWithErrno(errno);
    if (!CopyOut(d->label ? *d->label : LabelOf(d->source), volumeNameBuffer, volumeNameSize) ||
        !CopyOut(d->fsType, fileSystemNameBuffer, fileSystemNameSize))
        return platform::FailWith(ERROR_INSUFFICIENT_BUFFER);
    if (volumeSerialNumber) *volumeSerialNumber = static_cast<DWORD>(vfs.f_fsid);
    if (maximumComponentLength) *maximumComponentLength = static_cast<DWORD>(vfs.f_namemax);
    if (fileSystemFlags) {
        *fileSystemFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
        if (vfs.f_flag & ST_RDONLY) *fileSystemFlags |= FILE_READ_ONLY_VOLUME;
    }
    return TRUE;
}

BOOL GetDiskFreeSpaceExA(const char* directoryName, ULARGE_INTEGER* freeBytesAvailableToCaller,
                         ULARGE_INTEGER* totalNumberOfBytes,
                         ULARGE_INTEGER* totalNumberOfFreeBytes) {
    auto path = platform::DrivePathToPosix(directoryName ? directoryName : ".");
    if (!path) return platform::FailWith(ERROR_PATH_NOT_FOUND);
    struct statvfs vfs {};
    if (statvfs(path->c_str(), &vfs) != 0) return platform::FailWithErrno(errno);
    const ULONGLONG unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    if (freeBytesAvailableToCaller) freeBytesAvailableToCaller->QuadPart = vfs.f_bavail * unit;
    if (totalNumberOfBytes) totalNumberOfBytes->QuadPart = vfs.f_blocks * unit;
    if (totalNumberOfFreeBytes) totalNumberOfFreeBytes->QuadPart = vfs.f_bfree * unit;
    return TRUE;
}

BOOL PathIsDirectoryA(const char* path) {
    if (!path) return FALSE;
    auto posix = platform::DrivePathToPosix(path);
    struct stat st {};
    if (!posix || stat(posix->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return FALSE;
    return static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY);
}

BOOL IsCharAlphaA(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ? TRUE : FALSE;
}

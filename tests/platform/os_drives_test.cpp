// The drive functions on this machine's own mounts.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32_drives.h"
#include "platform/win32_errors.h"

namespace {

std::vector<std::string> Drives() {
    char buf[255];
    DWORD len = GetLogicalDriveStringsA(sizeof buf, buf);
    std::vector<std::string> roots;
    for (const char* p = buf; p < buf + len && *p; p += std::string(p).size() + 1)
        roots.push_back(p);
    return roots;
}

std::string RootFileSystemType() {
    std::ifstream mounts("/proc/self/mounts");
    std::string source, point, type, rest, found;
    while (mounts >> source >> point >> type && std::getline(mounts, rest))
        if (point == "/") found = type;
    return found;
}

TEST(Drives, ListStartsWithTheRootAsCAndEachLetterIsADirectory) {
    auto roots = Drives();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(roots[0], "C:\\");
    for (std::size_t i = 0; i < roots.size(); ++i) {
        EXPECT_EQ(roots[i][0], 'C' + static_cast<char>(i)) << "letters follow one another";
        EXPECT_EQ(PathIsDirectoryA(roots[i].substr(0, 2).c_str()), 16) << roots[i];
        UINT type = GetDriveTypeA(roots[i].c_str());
        EXPECT_TRUE(type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_CDROM);
    }
    if (roots.size() < 24) {
        std::string absent = std::string(1, static_cast<char>('C' + roots.size())) + ":";
        EXPECT_FALSE(PathIsDirectoryA(absent.c_str()));
        EXPECT_EQ(GetDriveTypeA((absent + "\\").c_str()), DRIVE_NO_ROOT_DIR);
        char name[256];
        EXPECT_FALSE(GetVolumeInformationA((absent + "\\").c_str(), name, 256, nullptr, nullptr,
                                           nullptr, nullptr, 0));
    }
}

TEST(Drives, ShortBufferGetsTheSizeNeededAndNothingWritten) {
    char buf[3] = {'x', 'x', 'x'};
    DWORD need = GetLogicalDriveStringsA(sizeof buf, buf);
    EXPECT_GE(need, 5u);  // "C:\" NUL NUL
    EXPECT_EQ(buf[0], 'x');
}

TEST(Drives, RootVolumeReportsItsFileSystemAndSizes) {
    char name[256] = "junk";
    char fs[20] = {};
    DWORD serial = 0, maxLen = 0, flags = 0;
    ASSERT_TRUE(GetVolumeInformationA("C:\\", name, 256, &serial, &maxLen, &flags, fs, 20));
    EXPECT_EQ(std::string(fs), RootFileSystemType());
    EXPECT_GT(maxLen, 0u);
    EXPECT_NE(std::string(name), "junk");

    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:", &freeToCaller, &total, &totalFree));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(freeToCaller.QuadPart, totalFree.QuadPart);
    EXPECT_LE(totalFree.QuadPart, total.QuadPart);
    std::string absent = std::string(1, static_cast<char>('C' + Drives().size())) + ":\\x";
    if (Drives().size() < 24) {
        EXPECT_FALSE(GetDiskFreeSpaceExA(absent.c_str(), &freeToCaller, &total, &totalFree));
        EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    }
}

TEST(Drives, DrivePathsMapToMountPoints) {
    EXPECT_EQ(platform::DrivePathToPosix("C:"), "/");
    EXPECT_EQ(platform::DrivePathToPosix("c:\\tmp\\x.txt"), "/tmp/x.txt");
    EXPECT_EQ(platform::DrivePathToPosix("relative/path"), "relative/path");
    EXPECT_EQ(PathIsDirectoryA("C:\\tmp"), 16);
    EXPECT_FALSE(PathIsDirectoryA("C:\\proc\\self\\mounts")) << "a file is no directory";
}

TEST(Drives, OnlyAsciiLettersAreAlphabetic) {
    EXPECT_TRUE(IsCharAlphaA('c'));
    EXPECT_TRUE(IsCharAlphaA('Z'));
    EXPECT_FALSE(IsCharAlphaA('7'));
    EXPECT_FALSE(IsCharAlphaA(':'));
    EXPECT_FALSE(IsCharAlphaA('\xe9'));
}

}  // namespace

// Deleting, renaming, the current directory, starting a program and ending this one.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32_files.h"
#include "platform/win32_process.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class FilesAndProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        old = fs::current_path();
        dir = fs::temp_directory_path() / ("kestrova-proc-" + std::to_string(getpid()));
        fs::create_directories(dir);
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(old);
        fs::remove_all(dir);
    }
    fs::path old, dir;
};

TEST_F(FilesAndProcesses, DeleteRemovesFilesOnly) {
    std::ofstream("Kestrova_old.exe") << "x";
    EXPECT_TRUE(DeleteFileA("Kestrova_old.exe"));
    EXPECT_FALSE(fs::exists("Kestrova_old.exe"));
    EXPECT_FALSE(DeleteFileA("Kestrova_old.exe"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    fs::create_directory("sub");
    EXPECT_FALSE(DeleteFileA("sub"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FilesAndProcesses, RenameNeverReplaces) {
    std::ofstream("Kestrova.exe") << "old";
    std::ofstream("NewSoftware.exe") << "new";
    EXPECT_EQ(platform::RenamePath("Kestrova.exe", "Kestrova_old.exe"), ERROR_SUCCESS);
    std::ofstream("Kestrova.exe") << "in the way";
    EXPECT_EQ(platform::RenamePath("NewSoftware.exe", "Kestrova.exe"), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ReadAll("Kestrova.exe"), "in the way");
    EXPECT_EQ(ReadAll("NewSoftware.exe"), "new");
    EXPECT_EQ(platform::RenamePath("absent", "elsewhere"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FilesAndProcesses, MakeExecutableLetsWhoeverMayReadRunTheFile) {
    std::ofstream("NewSoftware.exe") << "new";
    fs::permissions("NewSoftware.exe",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(platform::MakeExecutable("NewSoftware.exe"), ERROR_SUCCESS);
    EXPECT_EQ(fs::status("NewSoftware.exe").permissions(),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    fs::create_directory("sub");
    EXPECT_EQ(platform::MakeExecutable("sub"), ERROR_ACCESS_DENIED) << "folders stay as they are";
    EXPECT_EQ(platform::MakeExecutable("absent"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FilesAndProcesses, CurrentDirectoryWithTooSmallBufferGivesTheSizeNeeded) {
    std::string cwd = fs::current_path().string();
    char small[4] = "abc";
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), cwd.size() + 1);
    EXPECT_STREQ(small, "abc");
    char buf[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buf, buf), cwd.size());
    EXPECT_EQ(std::string(buf), cwd);
}

TEST_F(FilesAndProcesses, ProgramStartsHereWithOurEnvironmentAndDirectory) {
    std::ofstream("Kestrova.exe") << "#!/bin/sh\npwd > started.txt\necho \"$KESTROVA_MARK\" >> "
                                     "started.txt\n";
    fs::permissions("Kestrova.exe", fs::perms::owner_all);
    setenv("KESTROVA_MARK", "inherited", 1);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA("Kestrova.exe", nullptr, nullptr, nullptr, FALSE,
                               NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi))
        << GetLastError();
    int status = 0;
    waitpid(static_cast<pid_t>(pi.dwProcessId), &status, 0);
    EXPECT_EQ(ReadAll("started.txt"), fs::current_path().string() + "\ninherited\n");
    EXPECT_TRUE(CloseHandle(pi.hProcess));

    EXPECT_FALSE(CreateProcessA("Absent.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &si, &pi));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    fs::permissions("Kestrova.exe", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(CreateProcessA("Kestrova.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &si, &pi));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

struct WritesOnDestruction {
    ~WritesOnDestruction() { std::ofstream("destructor-ran"); }
};

TEST_F(FilesAndProcesses, ExitProcessRunsNoDestructorOrExitHandler) {
    pid_t child = fork();
    if (child == 0) {
        static WritesOnDestruction global;
        std::atexit([] { std::ofstream("atexit-ran"); });
        ExitProcess(7);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_FALSE(fs::exists("destructor-ran"));
    EXPECT_FALSE(fs::exists("atexit-ran"));
}

}  // namespace

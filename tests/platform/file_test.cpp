// Files as the parameter file and the update use them: CRLF text lines written and read back,
// failures that name their cause and file, renames and removals that throw, binary data intact.

#include "platform/file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_replace.h"
#include "support/os_pty.h"

namespace {

// The cause of the CFileException* that `action` throws; -1 when it throws none.
int ThrownCause(const std::function<void()>& action, std::string* message = nullptr) {
    try {
        action();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        if (message) {
            char text[512];
            e->GetErrorMessage(text, sizeof text);
            *message = text;
        }
        e->Delete();
        return cause;
    }
    return -1;
}

class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("kestrova-file-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::vector<std::string> Lines(const std::string& path) {
        CStdioFile in;
        EXPECT_TRUE(in.Open(path.c_str(), CFile::modeRead | CFile::typeText));
        std::vector<std::string> lines;
        CString line("stale");
        while (in.ReadString(line)) lines.push_back(line.GetString());
        EXPECT_TRUE(line.IsEmpty()) << "the end leaves no stale text";
        return lines;
    }
    std::filesystem::path dir;
};

TEST_F(Files, ParameterLinesAreWrittenWithCrlf) {
    {
        CStdioFile out(Path("p.csv").c_str(),
                       CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        CString line;
        line.Format("%s,%d\n", "WingType", 0);
        out.WriteString(line);
        out.WriteString("AutoLevelOffsetAngle_Aileron,-5\nQuickMode,0\n");
        out.WriteString("\n");
        out.Flush();
        out.Close();
    }
    EXPECT_EQ(Bytes(Path("p.csv")),
              "WingType,0\r\nAutoLevelOffsetAngle_Aileron,-5\r\nQuickMode,0\r\n\r\n");
    EXPECT_EQ(Lines(Path("p.csv")),
              (std::vector<std::string>{"WingType,0", "AutoLevelOffsetAngle_Aileron,-5",
                                        "QuickMode,0", ""}));
}

TEST_F(Files, CreatingTruncatesAnOlderFile) {
    Put(Path("p.csv"), "a much longer older content\r\n");
    {
        CStdioFile out(Path("p.csv").c_str(), CFile::modeCreate | CFile::modeWrite);
        out.WriteString("x\n");
    }
    EXPECT_EQ(Bytes(Path("p.csv")), "x\r\n");
}

TEST_F(Files, BinaryStdioFileWritesLineEndsAsGiven) {
    {
        CStdioFile out(Path("b.txt").c_str(),
                       CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        out.WriteString("a\nb\r\n");
    }
    EXPECT_EQ(Bytes(Path("b.txt")), "a\nb\r\n");
}

TEST_F(Files, ReadStringLineEnds) {
    Put(Path("last.csv"), "StabilizeGain_Aileron,300\r\nQuickMode,1");
    EXPECT_EQ(Lines(Path("last.csv")),
              (std::vector<std::string>{"StabilizeGain_Aileron,300", "QuickMode,1"}))
        << "a last line without line end still counts";
    Put(Path("mixed.txt"), "3\n\r\n5\r");
    EXPECT_EQ(Lines(Path("mixed.txt")), (std::vector<std::string>{"3", "", "5"}));
    Put(Path("empty.txt"), "");
    EXPECT_TRUE(Lines(Path("empty.txt")).empty());
    std::string longLine(10000, 'v');
    Put(Path("long.txt"), longLine + "\r\nend\r\n");
    EXPECT_EQ(Lines(Path("long.txt")), (std::vector<std::string>{longLine, "end"}));
    Put(Path("utf8.txt"), "温度,25℃！\r\n");
    EXPECT_EQ(Lines(Path("utf8.txt")), (std::vector<std::string>{"温度,25℃！"}));
}

TEST_F(Files, ReadingAFileThatIsNotOpenThrowsInsteadOfReading) {
    CStdioFile never;
    CString line("kept");
    EXPECT_EQ(ThrownCause([&] { never.ReadString(line); }), CFileException::invalidFile);
    unsigned char byte = 0;
    EXPECT_EQ(ThrownCause([&] { never.Read(&byte, 1); }), CFileException::invalidFile);
    EXPECT_EQ(ThrownCause([&] { never.Write(&byte, 1); }), CFileException::invalidFile);
}

TEST_F(Files, OpenFailuresNameTheirCause) {
    Put(Path("plain.txt"), "x");
    const struct {
        std::string path;
        UINT flags;
        int cause;
    } cases[] = {
        {Path("missing.csv"), CFile::modeRead, CFileException::fileNotFound},
        {Path("missing.csv"), CFile::modeWrite, CFileException::fileNotFound},
        {Path("no-dir/new.csv"), CFile::modeCreate | CFile::modeWrite,
         CFileException::fileNotFound},
        {Path("plain.txt") + "/x.csv", CFile::modeRead, CFileException::badPath},
        {dir.string(), CFile::modeRead, CFileException::notRegularFile},
        {dir.string(), CFile::modeCreate | CFile::modeWrite, CFileException::notRegularFile},
        {"", CFile::modeRead, CFileException::badPath},
        {"/dev/null", CFile::modeCreate | CFile::modeWrite, CFileException::notRegularFile},
    };
    for (const auto& c : cases) {
        CStdioFile f;
        CFileException error;
        EXPECT_FALSE(f.Open(c.path.c_str(), c.flags, &error)) << c.path;
        EXPECT_EQ(error.m_cause, c.cause) << c.path;
        EXPECT_STREQ(error.m_strFileName, c.path.c_str());
        EXPECT_FALSE(f.IsOpen());
        EXPECT_FALSE(f.Open(c.path.c_str(), c.flags)) << "no error record is needed";
    }
}

TEST_F(Files, OpeningConstructorThrowsWithAReadableMessage) {
    std::string missing = Path("Version.txt");
    std::string message;
    EXPECT_EQ(ThrownCause([&] { CStdioFile f(missing.c_str(), CFile::modeRead); }, &message),
              CFileException::fileNotFound);
    EXPECT_NE(message.find(missing), std::string::npos) << message;

    CFileException e(CFileException::accessDenied, 13, "C:\\a-rather-long-name.csv");
    char small[8];
    EXPECT_TRUE(e.GetErrorMessage(small, sizeof small));
    EXPECT_EQ(std::string(small).size(), 7u) << "cut to the buffer, terminated";
    CFileException odd(1234, 0, nullptr);
    char text[128];
    EXPECT_TRUE(odd.GetErrorMessage(text, sizeof text));
    EXPECT_GT(std::string(text).size(), 0u);
}

TEST_F(Files, AFullDiskIsReportedNotSwallowed) {
    // A file-size limit stands in for a full disk: writes past 4 bytes fail.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    CStdioFile out;
    ASSERT_TRUE(out.Open(Path("a.csv").c_str(), CFile::modeCreate | CFile::modeWrite));
    out.WriteString("WingType,0\n");
    EXPECT_EQ(ThrownCause([&] { out.Flush(); }), CFileException::diskFull);
    CStdioFile again;
    ASSERT_TRUE(again.Open(Path("b.csv").c_str(), CFile::modeCreate | CFile::modeWrite));
    again.WriteString("WingType,0\n");
    EXPECT_EQ(ThrownCause([&] { again.Close(); }), CFileException::diskFull);
    EXPECT_FALSE(again.IsOpen());
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldSignal);
}

TEST_F(Files, RenameNeverReplacesAndThrowsOnFailure) {
    Put(Path("Kestrova.exe"), "old");
    Put(Path("NewSoftware.exe"), "new");
    std::string message;
    EXPECT_EQ(ThrownCause([&] { CFile::Rename(Path("absent.exe").c_str(), Path("x.exe").c_str()); },
                          &message),
              CFileException::fileNotFound);
    EXPECT_NE(message.find("absent.exe"), std::string::npos) << message;
    EXPECT_EQ(ThrownCause([&] {
                  CFile::Rename(Path("NewSoftware.exe").c_str(), Path("Kestrova.exe").c_str());
              }),
              CFileException::accessDenied);
    EXPECT_EQ(Bytes(Path("Kestrova.exe")), "old");
    EXPECT_EQ(Bytes(Path("NewSoftware.exe")), "new");
    EXPECT_EQ(ThrownCause([&] { CFile::Rename(nullptr, Path("x.exe").c_str()); }),
              CFileException::badPath);

    CFile::Rename(Path("Kestrova.exe").c_str(), Path("Kestrova_old.exe").c_str());
    CFile::Rename(Path("NewSoftware.exe").c_str(), Path("Kestrova.exe").c_str());
    EXPECT_EQ(Bytes(Path("Kestrova.exe")), "new");
    EXPECT_EQ(Bytes(Path("Kestrova_old.exe")), "old");
}

TEST_F(Files, RemoveThrowsWhenNothingIsRemoved) {
    Put(Path("Kestrova_old.exe"), "old");
    CFile::Remove(Path("Kestrova_old.exe").c_str());
    EXPECT_FALSE(std::filesystem::exists(Path("Kestrova_old.exe")));
    std::string message;
    EXPECT_EQ(ThrownCause([&] { CFile::Remove(Path("Kestrova_old.exe").c_str()); }, &message),
              CFileException::fileNotFound);
    EXPECT_NE(message.find("Kestrova_old.exe"), std::string::npos) << message;
    EXPECT_EQ(ThrownCause([&] { CFile::Remove(nullptr); }), CFileException::badPath);
    EXPECT_EQ(ThrownCause([&] { CFile::Remove(""); }), CFileException::badPath);
}

TEST_F(Files, BinaryDataRoundTripsWithSeekAndLength) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    {
        CFile out(Path("all.bin").c_str(),
                  CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        out.Write(all.data(), static_cast<UINT>(all.size()));
        EXPECT_EQ(out.GetLength(), 256u);
    }
    EXPECT_EQ(Bytes(Path("all.bin")), all);

    CFile in(Path("all.bin").c_str(), CFile::modeRead | CFile::typeBinary);
    EXPECT_EQ(in.Seek(-6, CFile::end), 250u);
    unsigned char tail[16] = {};
    EXPECT_EQ(in.Read(tail, sizeof tail), 6u);
    EXPECT_EQ(tail[0], 250);
    EXPECT_EQ(tail[5], 255);
    EXPECT_EQ(in.Read(tail, sizeof tail), 0u);
    EXPECT_EQ(in.Seek(10, CFile::begin), 10u);
    EXPECT_EQ(in.Seek(3, CFile::current), 13u);
    EXPECT_EQ(in.Read(tail, 1), 1u);
    EXPECT_EQ(tail[0], 13);
    EXPECT_EQ(ThrownCause([&] { in.Seek(-1, CFile::begin); }), CFileException::badSeek);
}

TEST_F(Files, CreateWithoutTruncatingWritesWhereItSeeks) {
    Put(Path("keep.bin"), "0123456789");
    {
        CFile f(Path("keep.bin").c_str(),
                CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(f.GetLength(), 10u);
        f.Seek(2, CFile::begin);
        f.Write("ab", 2);
    }
    EXPECT_EQ(Bytes(Path("keep.bin")), "01ab456789");
    {
        CFile f(Path("fresh.bin").c_str(),
                CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        f.Write("z", 1);
    }
    EXPECT_EQ(Bytes(Path("fresh.bin")), "z");
}

// What a Save must leave as it was besides the content: owner, group, mode, an attribute and
// the ACL.
std::string KeptOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    std::string kept = std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) + " " +
                       std::to_string(st.st_mode);
    for (const char* name : {"user.kestrova", "system.posix_acl_access"}) {
        char value[256];
        const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
        kept += " " + std::string(value, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    return kept;
}

TEST_F(Files, ASaveKeepsAllTheFileHadBesidesItsContent) {
    // Root saves as nobody, also in the group 4343, and makes the files so; another user saves as
    // such and skips the rows of another's file.
    constexpr uid_t kNobody = 65534, kOther = 4343;
    constexpr gid_t kShared = 4343;
    const bool root = ::geteuid() == 0;
    const uid_t me = root ? kNobody : ::geteuid();
    const gid_t mine = root ? kNobody : ::getegid();
    // The ACL also gives user 4344 read and write: (tag | permissions << 16, id) after a version.
    const std::uint32_t acl[] = {2,   0x60001, ~0u, 0x60002, 4344, 0x40004,
                                 ~0u, 0x60010, ~0u, 0x40020, ~0u};
    const struct {
        const char* name;
        mode_t folderMode;  // the folder has the file's owner and group
        uid_t owner;
        gid_t group;
        bool secondName = false, attributes = false;
    } cases[] = {
        {"a folder that takes no new file", 0555, me, mine},
        {"a second name", 0755, me, mine, true},
        {"an ACL and an attribute", 0755, me, mine, false, true},
        {"another's file in a folder of the user's group", 0775, kOther, kShared},
        {"another's file of the user's group in a sticky folder", 01777, kOther, kShared},
    };
    std::string skipped;
    for (const auto& c : cases) {
        const std::string folder = Path(c.name), file = folder + "/set.csv";
        std::filesystem::create_directory(folder);
        Put(file, "the old, longer content\r\n");
        ::chmod(file.c_str(), 0664);
        if (::chown(folder.c_str(), c.owner, c.group) != 0 ||
            ::chown(file.c_str(), c.owner, c.group) != 0 ||
            (c.secondName && ::link(file.c_str(), (folder + "/2").c_str()) != 0) ||
            (c.attributes &&
             (::setxattr(file.c_str(), "user.kestrova", "kept", 4, 0) != 0 ||
              ::setxattr(file.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) != 0))) {
            skipped += std::string(" ") + c.name + ";";
            continue;
        }
        ::chmod(folder.c_str(), c.folderMode);
        const std::string kept = KeptOf(file);
        const pid_t child = ::fork();
        if (child == 0) {
            if (root &&
                (::setgroups(1, &kShared) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(2);
            platform::LeftBehind left;
            ::_exit(ThrownCause([&] { platform::WriteFileReplacing(file, "new\r\n", left); }) < 0
                        ? 0
                        : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(status, 0) << c.name << ": the Save failed";
        EXPECT_EQ(Bytes(file), "new\r\n") << c.name;
        EXPECT_EQ(KeptOf(file), kept) << c.name;
        EXPECT_EQ(Bytes(folder + "/2"), c.secondName ? "new\r\n" : "")
            << c.name << ": the second name";
    }
    if (!skipped.empty()) GTEST_SKIP() << "this machine cannot give a file:" << skipped;
}

TEST_F(Files, ASaveLeavesWhatIsNoRegularFileAsItIs) {
    ASSERT_EQ(::mkfifo(Path("pipe.csv").c_str(), 0644), 0);
    std::filesystem::create_directory(Path("folder.csv"));
    for (const char* name : {"pipe.csv", "folder.csv"}) {
        const auto kind = std::filesystem::symlink_status(Path(name)).type();
        platform::LeftBehind left{.fileWasThere = false, .kept = false};
        EXPECT_EQ(ThrownCause([&] { platform::WriteFileReplacing(Path(name), "new\r\n", left); }),
                  CFileException::notRegularFile)
            << name;
        EXPECT_TRUE(left.fileWasThere && left.kept) << name;
        EXPECT_EQ(std::filesystem::symlink_status(Path(name)).type(), kind) << name;
    }
}

TEST_F(Files, ANameThatTurnsIntoALinkToATerminalWhileItIsOpenedOpensOnlyTheFile) {
    kestrova::test::PtyPair terminal;
    const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(opens, terminal.slavePath().c_str(), IN_OPEN), 0);
    const std::string name = Path("set.csv"), link = Path("link"), file = Path("file");
    Put(name, "WingType,1\r\n");
    std::jthread swapper([&](std::stop_token stop) {
        while (!stop.stop_requested()) {
            ::symlink(terminal.slavePath().c_str(), link.c_str());
            ::rename(link.c_str(), name.c_str());
            Put(file, "WingType,1\r\n");
            ::rename(file.c_str(), name.c_str());
        }
    });
    // Until both have been met often, the file and the link; a busy machine may take a while.
    constexpr int kEach = 5000;
    int files = 0, refused = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((files < kEach || refused < kEach) && std::chrono::steady_clock::now() < deadline) {
        const int fd = platform::OpenRegularFile(name.c_str(), O_RDONLY, nullptr);
        if (fd >= 0) ++files, ::close(fd);
        refused += fd < 0;
    }
    EXPECT_TRUE(files >= kEach && refused >= kEach) << files << " files, " << refused << " links";
    char event[sizeof(inotify_event) + NAME_MAX + 1];
    EXPECT_LT(::read(opens, event, sizeof event), 0) << "the terminal was opened";
    ::close(opens);
}

}  // namespace

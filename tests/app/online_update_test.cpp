// The update at start-up against an HTTPS server of the test's own, as a user meets it: the
// question, the download, the program replaced and restarted, and every way it can fail while
// the program goes on starting with its old executable in place.

#include <elf.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "app/AutoUpdateDlg.h"
#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/update_server.h"
#include "platform/device_events.h"
#include "platform/timer_service.h"
#include "platform/win32_net.h"
#include "platform/win32_process.h"
#include "support/app_harness.h"
#include "support/tls_server.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace kestrova::test;
using Clock = std::chrono::steady_clock;

constexpr char kVersionPath[] = "/wp-content/uploads/kestrova/version.txt";
constexpr char kExecutablePath[] = "/wp-content/uploads/kestrova/kestrova.exe";
constexpr char kPrompt[] = "Do you want to update the software online?";
constexpr char kOldProgram[] = "the program as it was before the update";

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Whether the file holds `bytes`, without printing either: a program's bytes can hold
// GoogleTest's own "[  SKIPPED ]", and CTest takes a test that prints it for a skipped one, so a
// failure would pass unseen.
bool Holds(const fs::path& p, const std::string& bytes) {
    return ReadAll(p) == bytes;
}

// The tiny program of this build that the tests offer as the new version.
std::string NewProgram() {
    return ReadAll(KESTROVA_UPDATE_MARKER);
}

// The new program with its ELF header changed in place.
std::string Patched(std::function<void(std::string&)> change) {
    std::string bytes = NewProgram();
    change(bytes);
    return bytes;
}

// A program for this machine whose loader is not there: it passes every check and still
// cannot start.
std::string WithMissingLoader() {
    return Patched([](std::string& b) {
        Elf64_Ehdr header;
        std::memcpy(&header, b.data(), sizeof header);
        for (int i = 0; i < header.e_phnum; ++i) {
            Elf64_Phdr segment;
            std::memcpy(&segment, b.data() + header.e_phoff + i * sizeof segment, sizeof segment);
            if (segment.p_type != PT_INTERP) continue;
            const std::string missing = "/nonexistent-kestrova/ld.so";
            ASSERT_LT(missing.size(), segment.p_filesz);
            std::memcpy(b.data() + segment.p_offset, missing.c_str(), missing.size() + 1);
            return;
        }
        FAIL() << "the test program has no loader to take away";
    });
}

// What downloads of the new program that were cut short left in `folder`.
std::vector<std::string> PartFiles(const fs::path& folder = ".") {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(".NewSoftware.exe.part-", 0) == 0)
            names.push_back(e.path().filename().string());
    return names;
}

// The names of files moved in or out of a folder while it is watched.
class FolderMoves {
  public:
    explicit FolderMoves(const fs::path& folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(m_fd, folder.c_str(), IN_MOVED_FROM | IN_MOVED_TO);
    }
    ~FolderMoves() { close(m_fd); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        alignas(inotify_event) char buf[4096];
        ssize_t n;
        while ((n = read(m_fd, buf, sizeof buf)) > 0) {
            for (char* p = buf; p < buf + n;) {
                auto* e = reinterpret_cast<inotify_event*>(p);
                if (e->len) names.emplace_back(e->name);
                p += sizeof(inotify_event) + e->len;
            }
        }
        return names;
    }

  private:
    int m_fd;
};

class OnlineUpdateTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        home = fs::current_path();
        dir = fs::temp_directory_path() / ("kestrova-update-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "run");
        server = std::make_unique<HttpsServer>(dir / "certs");
        ASSERT_TRUE(server->Ready()) << "the openssl tool or the test's HTTPS server failed";
        update::SetUpdateServerForTesting({server->BaseUrl(), server->CaFile(), true});
        // A server that trickles is given up after two seconds instead of fifteen.
        platform::DownloadOptions options;
        options.lowSpeedSeconds = 2;
        platform::SetDownloadOptions(options);
        // An update that went through would end this test's process with exit code 0.
        platform::SetExitProcessHookForTesting([](UINT code) {
            std::fprintf(stderr, "The update ended the test process (exit code %u)\n", code);
            _exit(99);
        });
        // The program runs from a folder that holds its executable, as an installed one does.
        fs::current_path(dir / "run");
        std::ofstream("Kestrova.exe") << kOldProgram;
        BindPort(3);
    }
    void TearDown() override {
        platform::SetExitProcessHookForTesting(nullptr);
        platform::SetDownloadOptions({});
        AppTest::TearDown();
        fs::current_path(home);
        server.reset();
        fs::remove_all(dir);
    }

    void Offer(const std::string& version, const std::string& program) {
        server->Serve(kVersionPath, HttpsReply::Whole(version));
        server->Serve(kExecutablePath, HttpsReply::Whole(program));
    }

    // The folder holds the program as it was and nothing the update left behind.
    void ExpectOldProgramInPlace() {
        EXPECT_TRUE(Holds("Kestrova.exe", kOldProgram)) << "the old program is not in place";
        EXPECT_FALSE(fs::exists("Kestrova_old.exe"));
        EXPECT_FALSE(fs::exists("NewSoftware.exe"));
        EXPECT_FALSE(fs::exists("Version.txt"));
        EXPECT_EQ(PartFiles(), std::vector<std::string>{});
    }

    // The rest of the start-up ran: ports listed, tree built, pages made.
    void ExpectStartUpWentOn() {
        EXPECT_EQ(main().m_comboPort.GetCount(), 1);
        EXPECT_EQ(main().m_treeDevices.GetCount(), 17u);
        EXPECT_TRUE(g_sensorLipoVoltage.IsWindowVisible());
    }

    // Asked, then told "Update failed", with the progress box stopped and out of sight.
    void ExpectUpdateFailedBox() {
        ASSERT_EQ(modal.MessageTexts(), (std::vector<std::string>{kPrompt, "Update failed"}));
        const Shown& failed = modal.shown().back();
        EXPECT_EQ(failed.caption, "Failed!");
        EXPECT_EQ(failed.type, MB_OKCANCEL | MB_ICONINFORMATION);
        ASSERT_NE(g_pUpdateDlg, nullptr);
        EXPECT_FALSE(g_pUpdateDlg->IsWindowVisible());
        EXPECT_FALSE(platform::TimerService::Instance().IsRunning(g_pUpdateDlg,
                                                                  CAutoUpdateDlg::kAnimationTimer));
    }

    fs::path home, dir;
    std::unique_ptr<HttpsServer> server;
};

TEST_F(OnlineUpdateTest, TheVersionFileDecidesWhetherTheUserIsAsked) {
    StartMainWindow();
    struct Case {
        const char* name;
        std::string version;
        bool asks;
    };
    const Case cases[] = {
        {"32", "32\r\n", true},
        {"31, this version", "31", false},
        {"an older one", "30\n", false},
        {"letters only", "new version\n", false},
        {"lines 3 and 5 read 35", "3\n5\n", true},
        {"a number beyond int", "99999999999999999999999999999\n", true},
        {"a line longer than a version file can be", std::string(5000, '9'), false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        server->Serve(kVersionPath, HttpsReply::Whole(c.version));
        modal.Clear();
        modal.Answer({IDCANCEL});
        main().CheckForUpdate();
        if (c.asks) {
            ASSERT_EQ(modal.MessageTexts(), std::vector<std::string>{kPrompt}) << c.name;
            EXPECT_EQ(modal.shown()[0].caption, "Find a new version !");
            EXPECT_EQ(modal.shown()[0].type, MB_OKCANCEL | MB_ICONINFORMATION);
        } else {
            EXPECT_TRUE(modal.MessageTexts().empty()) << c.name;
        }
        EXPECT_FALSE(fs::exists("Version.txt")) << c.name << ": the version file is deleted";
    }
    EXPECT_EQ(server->Requests(kExecutablePath), 0) << "Cancel downloads nothing";
    ExpectOldProgramInPlace();
}

TEST_F(OnlineUpdateTest, CancelAtThePromptStartsNormally) {
    Offer("32", NewProgram());
    modal.Answer({IDCANCEL});
    StartMainWindow();
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kPrompt});
    EXPECT_EQ(server->Requests(kExecutablePath), 0);
    EXPECT_EQ(g_pUpdateDlg, nullptr) << "no progress box without a download";
    ExpectOldProgramInPlace();
    ExpectStartUpWentOn();
}

TEST_F(OnlineUpdateTest, TheOldExecutableGoesAtTheNextStartAndItsAbsenceIsSilent) {
    std::ofstream("Kestrova_old.exe") << "replaced by the last update";
    // One left by a program killed during its download, one of a copy still downloading.
    std::ofstream(".NewSoftware.exe.part-K1lled") << "half a program";
    std::ofstream(".Version.txt.part-K1lled") << "3";
    const int running = open(".NewSoftware.exe.part-Runnin", O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(running, LOCK_EX), 0);
    // A pipe of that name is no download's. The test holds its other end, so that a start that
    // opens it, and deletes it, does not wait for ever.
    ASSERT_EQ(mkfifo(".Version.txt.part-Pipe00", 0644), 0);
    const int pipe = open(".Version.txt.part-Pipe00", O_RDWR | O_CLOEXEC);
    StartMainWindow();
    EXPECT_FALSE(fs::exists("Kestrova_old.exe"));
    EXPECT_EQ(PartFiles(), std::vector<std::string>{".NewSoftware.exe.part-Runnin"});
    EXPECT_FALSE(fs::exists(".Version.txt.part-K1lled"));
    EXPECT_TRUE(fs::is_fifo(".Version.txt.part-Pipe00"));
    close(pipe);
    close(running);
    EXPECT_TRUE(modal.MessageTexts().empty());
    modal.Clear();
    main().DeleteOldExecutable();
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(OnlineUpdateTest, AVersionFileThatHangsHoldsStartUpForSecondsOnly) {
    server->Serve(kVersionPath, HttpsReply::SilentAfterHeaders());
    const auto start = Clock::now();
    StartMainWindow();
    const auto took = Clock::now() - start;
    std::printf("start-up with a silent version file took %.1f s\n",
                std::chrono::duration<double>(took).count());
    EXPECT_LT(took, std::chrono::seconds(20));
    EXPECT_TRUE(modal.MessageTexts().empty());
    ExpectStartUpWentOn();
}

TEST_F(OnlineUpdateTest, TheProgressBarRunsEndlessly) {
    StartMainWindow();
    main().ShowUpdateProgress();
    ASSERT_NE(g_pUpdateDlg, nullptr);
    EXPECT_TRUE(g_pUpdateDlg->IsWindowVisible());
    CProgressCtrl& bar = g_pUpdateDlg->m_progress;
    AdvanceMs(CAutoUpdateDlg::kAnimationPeriodMs);
    EXPECT_EQ(bar.GetPos(), 1);
    AdvanceMs(CAutoUpdateDlg::kAnimationPeriodMs * 98);
    EXPECT_EQ(bar.GetPos(), 99);
    // The bar's range stays 0 to 100: the last forty steps show it full.
    AdvanceMs(CAutoUpdateDlg::kAnimationPeriodMs * 40);
    EXPECT_EQ(bar.GetPos(), 100);
    AdvanceMs(CAutoUpdateDlg::kAnimationPeriodMs);
    EXPECT_EQ(bar.GetPos(), 0) << "after 140 steps it starts again";
}

// What the server offers, and why the program must keep its old executable.
struct Refusal {
    const char* name;
    std::function<HttpsReply(HttpsServer&)> executable;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class RefusedDownload : public OnlineUpdateTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedDownload, ShowsUpdateFailedAndKeepsTheOldProgram) {
    server->Serve(kVersionPath, HttpsReply::Whole("32"));
    server->Serve(kExecutablePath, GetParam().executable(*server));
    std::ofstream(".NewSoftware.exe.part-Leftov") << "from a download that was killed";
    FolderMoves moves(".");
    StartMainWindow();
    EXPECT_EQ(server->Requests(kExecutablePath), 1);
    for (const std::string& name : moves.Names())
        EXPECT_TRUE(name != "Kestrova.exe" && name != "Kestrova_old.exe")
            << "a refused download must never be renamed into place";
    ExpectUpdateFailedBox();
    ExpectOldProgramInPlace();
    ExpectStartUpWentOn();
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, RefusedDownload,
    ::testing::Values(
        Refusal{"CutDownload",
                [](HttpsServer&) { return HttpsReply::Cut(NewProgram().substr(0, 1000)); }},
        Refusal{"ServerError", [](HttpsServer&) { return HttpsReply::Status(500); }},
        Refusal{"MissingOnTheServer", [](HttpsServer&) { return HttpsReply::Status(404); }},
        Refusal{"EmptyFile", [](HttpsServer&) { return HttpsReply::Whole(""); }},
        Refusal{"ShellScript",
                [](HttpsServer&) { return HttpsReply::Whole("#!/bin/sh\necho a new version\n"); }},
        Refusal{"ProgramForAnotherProcessor",
                [](HttpsServer&) {
                    return HttpsReply::Whole(Patched(
                        [](std::string& b) { b[offsetof(Elf64_Ehdr, e_machine)] ^= 0x55; }));
                }},
        Refusal{"HalfAProgram",
                [](HttpsServer&) {
                    const std::string p = NewProgram();
                    return HttpsReply::Whole(p.substr(0, p.size() / 2));
                }},
        Refusal{"SharedLibrary",
                [](HttpsServer&) { return HttpsReply::Whole(ReadAll(KESTROVA_UPDATE_LIBRARY)); }},
        Refusal{"TricklingServer",
                [](HttpsServer&) { return HttpsReply::Paced(NewProgram(), 100); }},
        Refusal{"OversizedFile",
                [](HttpsServer&) { return HttpsReply::Unannounced(NewProgram(), (64 << 20) + 1); }},
        Refusal{"RedirectToPlainHttp",
                [](HttpsServer& s) {
                    s.Serve("/elsewhere/kestrova.exe", HttpsReply::Whole(NewProgram()));
                    return HttpsReply::Redirect(s.PlainUrl() + "/elsewhere/kestrova.exe");
                }}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(OnlineUpdateTest, TheProgressBoxIsDrawnAndMovesWhileTheDownloadRuns) {
    // About a second and a half of download, of a file that is then refused.
    server->Serve(kVersionPath, HttpsReply::Whole("32"));
    server->Serve(kExecutablePath, HttpsReply::Paced(std::string(60000, 'x'), 40000));
    std::vector<QImage> frames;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (frames.size() == 2 || !g_pUpdateDlg || !g_pUpdateDlg->IsWindowVisible()) return;
        frames.push_back(g_pUpdateDlg->m_hWnd->grab().toImage());
        // The window manager's close box: the box stays while the download runs.
        QCloseEvent close;
        QCoreApplication::sendEvent(g_pUpdateDlg->m_hWnd, &close);
        AdvanceMs(CAutoUpdateDlg::kAnimationPeriodMs * 50);
        // An adapter plugged in meanwhile, before the main window has listed the ports.
        platform::RaiseDeviceChange(DBT_DEVICEARRIVAL);
    });
    probe.start(20);
    StartMainWindow();
    ASSERT_EQ(frames.size(), 2u) << "nothing ran on the UI thread during the download";
    // The box is its bar and nothing else that could change.
    EXPECT_NE(frames[0], frames[1]) << "the bar did not move";
    ExpectUpdateFailedBox();
    ExpectStartUpWentOn();
}

// Servers the program must not believe: nothing is asked, nothing downloaded.
TEST_F(OnlineUpdateTest, ServersThatCannotBeTrustedOfferNothing) {
    StartMainWindow();
    Offer("32", NewProgram());
    const std::string otherAuthority = MakeCertificateAuthority(dir / "other", "other-authority");
    ASSERT_FALSE(otherAuthority.empty());
    // Over plain http the same files are there for the taking.
    server->Serve("/elsewhere/version.txt", HttpsReply::Whole("32"));
    struct Case {
        const char* name;
        update::UpdateServer server;
        HttpsReply version;
    };
    const Case cases[] = {
        {"a certificate no trusted authority signed",
         {server->BaseUrl(), otherAuthority, true},
         HttpsReply::Whole("32")},
        {"a plain http address",
         {server->PlainUrl(), server->CaFile(), true},
         HttpsReply::Whole("32")},
        {"a version file that redirects to plain http",
         {server->BaseUrl(), server->CaFile(), true},
         HttpsReply::Redirect(server->PlainUrl() + "/elsewhere/version.txt")},
    };
    modal.Clear();
    for (const Case& c : cases) {
        update::SetUpdateServerForTesting(c.server);
        server->Serve(kVersionPath, c.version);
        main().CheckForUpdate();
        EXPECT_TRUE(modal.MessageTexts().empty()) << c.name;
    }
    EXPECT_EQ(server->Requests(kExecutablePath), 0);
    ExpectOldProgramInPlace();
}

TEST_F(OnlineUpdateTest, NoProgramInTheFolderFailsTheUpdateAndStartUpGoesOn) {
    Offer("32", NewProgram());
    fs::remove("Kestrova.exe");
    StartMainWindow();
    ExpectUpdateFailedBox();
    EXPECT_FALSE(fs::exists("Kestrova.exe"));
    EXPECT_FALSE(fs::exists("Kestrova_old.exe"));
    EXPECT_FALSE(fs::exists("NewSoftware.exe"));
    ExpectStartUpWentOn();
}

TEST_F(OnlineUpdateTest, AnOldNameThatCannotBeFreedFailsTheUpdateAndStartUpGoesOn) {
    // Left from an earlier update and not deletable: the program must not be moved onto it.
    fs::create_directory("Kestrova_old.exe");
    Offer("32", NewProgram());
    StartMainWindow();
    ExpectUpdateFailedBox();
    EXPECT_TRUE(Holds("Kestrova.exe", kOldProgram)) << "the old program is not in place";
    EXPECT_TRUE(fs::is_directory("Kestrova_old.exe"));
    EXPECT_FALSE(fs::exists("NewSoftware.exe"));
    ExpectStartUpWentOn();
}

// Starts `program` in `folder` with `args`, and `env` before this process's environment; its
// standard output goes to `out`.
pid_t Spawn(const fs::path& folder, const std::string& program, std::vector<std::string> args,
            const fs::path& out, std::vector<std::string> env = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    args.insert(args.begin(), program);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits up to `limit` for `pid` to end; its exit code, or -1.
int WaitFor(pid_t pid, std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    int status = 0;
    while (Clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

// The program's start-up in a process of its own, started as `program` from `folder` as a user
// starts an installed program, with the boxes it shows written to `out`, and `meanwhile` done
// to it while it runs. Its exit code: 0 when an update ended it, 3 when the start-up went on or
// was closed.
int RunStartUp(const HttpsServer& server, const fs::path& folder, const fs::path& program,
               const fs::path& out, std::vector<std::string> env = {},
               const std::function<void(pid_t)>& meanwhile = {}) {
    const pid_t child =
        Spawn(folder, program.string(), {server.BaseUrl(), server.CaFile()}, out, std::move(env));
    if (child > 0 && meanwhile) meanwhile(child);
    return child > 0 ? WaitFor(child, std::chrono::seconds(60)) : -1;
}

bool IsExecutable(const fs::path& p) {
    return (fs::status(p).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// A new version as the update starts it, and whether it gets going.
struct NewProgramRun {
    const char* name;
    std::function<std::string()> program;
    std::vector<std::string> env;  // how the test's program behaves
    bool getsGoing;
    // Sent to the old program while the new one downloads, at a pace that would take a minute.
    int signal = 0;
};

void PrintTo(const NewProgramRun& run, std::ostream* out) {
    *out << run.name;
}

class StartedNewProgram : public OnlineUpdateTest,
                          public ::testing::WithParamInterface<NewProgramRun> {};

TEST_P(StartedNewProgram, TheOldProgramEndsOnlyOnceTheNewOneGotGoing) {
    const fs::path folder = dir / "installed";
    fs::create_directories(folder);
    fs::copy_file(KESTROVA_UPDATE_CHILD, folder / "Kestrova.exe");
    const std::string oldProgram = ReadAll(folder / "Kestrova.exe");
    const std::string newProgram = GetParam().program();
    Offer("32\n", newProgram);
    const int signal = GetParam().signal;
    if (signal) server->Serve(kExecutablePath, HttpsReply::Paced(newProgram, 2000));

    const int code = RunStartUp(
        *server, folder, folder / "Kestrova.exe", dir / "child.out", GetParam().env, [&](pid_t p) {
            if (!signal) return;
            WaitUntil([&] { return server->Requests(kExecutablePath) > 0; },
                      std::chrono::seconds(60));
            kill(p, signal);
        });
    const std::string boxes = ReadAll(dir / "child.out");
    const std::string asked = "box: Find a new version ! | " + std::string(kPrompt) + "\n";
    EXPECT_FALSE(fs::exists(folder / "NewSoftware.exe"));
    EXPECT_FALSE(fs::exists(folder / "Version.txt"));
    if (signal) {
        // Within the deadline, long before the download could end: the close waits for nothing.
        EXPECT_EQ(code, 3) << "the program closes as it always does; it printed:\n" << boxes;
        EXPECT_THAT(boxes, ::testing::StartsWith(asked));
        EXPECT_THAT(boxes, ::testing::Not(::testing::HasSubstr("Update failed")))
            << "a program being ended tells of no update";
        EXPECT_EQ(PartFiles(folder), std::vector<std::string>{});
        EXPECT_FALSE(fs::exists(folder / "marker.txt")) << "the new program was started";
        EXPECT_TRUE(Holds(folder / "Kestrova.exe", oldProgram)) << "the old program is not there";
        EXPECT_FALSE(fs::exists(folder / "Kestrova_old.exe"));
        return;
    }
    if (!GetParam().getsGoing) {
        EXPECT_EQ(code, 3) << "the old program goes on starting; it printed:\n" << boxes;
        EXPECT_THAT(boxes, ::testing::StartsWith(asked + "box: Failed! | Update failed\n"));
        EXPECT_TRUE(Holds(folder / "Kestrova.exe", oldProgram)) << "the old program is not back";
        EXPECT_TRUE(IsExecutable(folder / "Kestrova.exe"));
        EXPECT_FALSE(fs::exists(folder / "Kestrova_old.exe"));
        return;
    }
    EXPECT_EQ(code, 0) << "the update ends the old program with exit code 0; it printed:\n"
                       << boxes;
    EXPECT_EQ(boxes, asked);
    ASSERT_TRUE(
        WaitUntil([&] { return fs::exists(folder / "marker.txt"); }, std::chrono::seconds(30)))
        << "the new program did not start";
    EXPECT_EQ(ReadAll(folder / "marker.txt"), "started Kestrova.exe in " + folder.string() + "\n");
    EXPECT_TRUE(Holds(folder / "Kestrova.exe", newProgram)) << "the new program is not in place";
    EXPECT_TRUE(IsExecutable(folder / "Kestrova.exe"));
    EXPECT_TRUE(Holds(folder / "Kestrova_old.exe", oldProgram)) << "the old program is not kept";
    // Still running after the old program ended; it ends when told to.
    std::ofstream(folder / "stop");
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(folder / "stop"); }, std::chrono::seconds(30)))
        << "the new program no longer ran";
}

INSTANTIATE_TEST_SUITE_P(
    Updates, StartedNewProgram,
    ::testing::Values(
        NewProgramRun{"KeepsRunning", NewProgram, {}, true},
        NewProgramRun{"NeedsALibraryThatIsNotThere",
                      [] { return ReadAll(KESTROVA_UPDATE_NEEDS_LIBRARY); },
                      {},
                      false},
        NewProgramRun{"NamesALoaderThatIsNotThere", WithMissingLoader, {}, false},
        NewProgramRun{"KilledAtOnce", NewProgram, {"KESTROVA_MARKER_ENDS=signal"}, false},
        NewProgramRun{"EndsAtOnce", NewProgram, {"KESTROVA_MARKER_ENDS=exit"}, false},
        NewProgramRun{"OldOneEndedDuringTheDownload", NewProgram, {}, false, SIGTERM}),
    [](const ::testing::TestParamInfo<NewProgramRun>& info) {
        return std::string(info.param.name);
    });

// The old executable is the way back from a new one that fails: the start-up never deletes it
// while it is the running program, or the one that started this program, under any name.
TEST_F(OnlineUpdateTest, TheStartUpKeepsTheOldProgramWhileItRuns) {
    server->Serve(kVersionPath, HttpsReply::Whole("31"));
    const fs::path folder = dir / "installed";
    const fs::path program = KESTROVA_UPDATE_CHILD;
    struct Case {
        const char* name;
        std::function<void()> lay;  // puts the programs in the folder
        fs::path started;
        bool kept;
    };
    const Case cases[] = {
        {"started as Kestrova_old.exe by a relative name",
         [&] { fs::copy_file(program, folder / "Kestrova_old.exe"); }, "./Kestrova_old.exe", true},
        {"started through a symbolic link to Kestrova_old.exe",
         [&] {
             fs::copy_file(program, folder / "Kestrova_old.exe");
             fs::create_symlink(folder / "Kestrova_old.exe", dir / "kestrova");
         },
         dir / "kestrova", true},
        {"started as Kestrova.exe, a hard link of Kestrova_old.exe",
         [&] {
             fs::copy_file(program, folder / "Kestrova_old.exe");
             fs::create_hard_link(folder / "Kestrova_old.exe", folder / "Kestrova.exe");
         },
         folder / "Kestrova.exe", true},
        {"started by the program that Kestrova_old.exe leads to",
         [&] {
             fs::copy_file(program, folder / "Kestrova.exe");
             fs::create_symlink(fs::read_symlink("/proc/self/exe"), folder / "Kestrova_old.exe");
         },
         folder / "Kestrova.exe", true},
        {"started as Kestrova.exe beside an old one",
         [&] {
             fs::copy_file(program, folder / "Kestrova.exe");
             fs::copy_file(program, folder / "Kestrova_old.exe");
         },
         folder / "Kestrova.exe", false},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        fs::remove(dir / "kestrova");
        fs::create_directories(folder);
        c.lay();
        EXPECT_EQ(RunStartUp(*server, folder, c.started, dir / "child.out"), 3)
            << c.name << ": it printed:\n"
            << ReadAll(dir / "child.out");
        EXPECT_EQ(fs::exists(fs::symlink_status(folder / "Kestrova_old.exe")), c.kept) << c.name;
    }
}

}  // namespace

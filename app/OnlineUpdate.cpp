// The update check at start-up: the version file, the question, the download with its progress
// box, and the swap of the executables that ends this process and starts the new one.

#include <functional>
#include <optional>
#include <string>

#include "app/AutoUpdateDlg.h"
#include "app/KestrovaDlg.h"
#include "app/executable_image.h"
#include "app/update_server.h"
#include "app/version_file.h"
#include "platform/file.h"
#include "platform/off_ui_thread.h"
#include "platform/termination_signals.h"
#include "platform/win32_files.h"
#include "platform/win32_net.h"
#include "platform/win32_process.h"

namespace {

constexpr char kServerVersionPath[] = "/wp-content/uploads/kestrova/version.txt";
constexpr char kServerExecutablePath[] = "/wp-content/uploads/kestrova/kestrova.exe";

constexpr char kVersionFile[] = "Version.txt";
constexpr char kNewExecutable[] = "NewSoftware.exe";
constexpr char kExecutable[] = "Kestrova.exe";
constexpr char kOldExecutable[] = "Kestrova_old.exe";

// The version file is asked for before the main window shows, at every start: a server that
// does not answer must hold start-up for seconds, not minutes.
constexpr long kVersionConnectMs = 3000;
constexpr long kVersionTotalMs = 5000;

// Far above any real build; a server that sends more is not sending this program.
constexpr long long kMaxExecutableBytes = 64LL << 20;

// One server file, over https only and trusting only the server's authorities, within the
// download options' limits narrowed by `narrow`. The transfer runs off the UI thread, so the
// windows shown meanwhile stay drawn and their timers run. A program that is being ended (logout,
// shutdown, Ctrl-C) gives the transfer up at once: its close waits for it, and a download has no
// limit on its whole time.
HRESULT Fetch(const char* path, const char* fileName,
              const std::function<void(platform::DownloadOptions&)>& narrow) {
    const update::UpdateServer& server = update::CurrentUpdateServer();
    if (server.baseUrl.rfind("https://", 0) != 0) return INET_E_UNKNOWN_PROTOCOL;
    platform::DownloadOptions options = platform::GetDownloadOptions();
    options.httpsOnly = true;
    options.caFile = server.caFile;
    narrow(options);
    options.cancelled = platform::TerminationRequested;
    const std::string url = server.baseUrl + path;
    HRESULT result = E_FAIL;
    platform::RunOffUiThread(
        [&] { result = platform::DownloadToFile(url.c_str(), fileName, options); });
    return result;
}

// The number in the downloaded version file; nullopt when it cannot be read. Only its first
// bytes are read: a version file is a few digits.
std::optional<int> ReadVersionFile() {
    CFile file;
    if (!file.Open(kVersionFile, CFile::modeRead | CFile::typeBinary)) return std::nullopt;
    std::string text(update::kMaxVersionFileBytes, '\0');
    try {
        text.resize(file.Read(text.data(), static_cast<UINT>(text.size())));
    } catch (CFileException* e) {
        e->Delete();
        return std::nullopt;
    }
    file.Close();
    return update::VersionFromText(text);
}

bool Rename(const char* from, const char* to) {
    try {
        CFile::Rename(from, to);
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

// Puts the downloaded executable in the program's place. When that fails, the folder is left as
// it was: the old executable under its own name and no downloaded file.
bool InstallNewExecutable() {
    // Set before the renames: a program without it could not start, and nothing would be left
    // that could.
    if (platform::MakeExecutable(kNewExecutable) != ERROR_SUCCESS ||
        !Rename(kExecutable, kOldExecutable)) {
        DeleteFileA(kNewExecutable);
        return false;
    }
    if (!Rename(kNewExecutable, kExecutable)) {
        Rename(kOldExecutable, kExecutable);
        DeleteFileA(kNewExecutable);
        return false;
    }
    return true;
}

// The new executable is in place but did not start: the old one goes back and the new one goes.
// Should the old one be gone, the new one stays: it is all there is.
void RestoreOldExecutable() {
    if (!Rename(kExecutable, kNewExecutable)) return;
    if (Rename(kOldExecutable, kExecutable))
        DeleteFileA(kNewExecutable);
    else
        Rename(kNewExecutable, kExecutable);
}

// A program the loader cannot run (a shared library missing on this machine), or one that
// crashes at once, still starts as a process. One that is still running after this long has
// got going; until then this program, the last one known to work, must not end.
constexpr DWORD kStartWaitMs = 2000;

// Whether the started program is still running after the wait, which ends as soon as it does
// not. The windows stay drawn meanwhile and take no input, as during the download.
bool KeepsRunning(const PROCESS_INFORMATION& process) {
    DWORD wait = WAIT_FAILED;
    platform::RunOffUiThread([&] { wait = WaitForSingleObject(process.hProcess, kStartWaitMs); });
    CloseHandle(process.hProcess);
    // A process that cannot be watched has not been seen to fail.
    return wait != WAIT_OBJECT_0;
}

void StopUpdateProgress() {
    if (!g_pUpdateDlg) return;
    g_pUpdateDlg->KillTimer(CAutoUpdateDlg::kAnimationTimer);
    g_pUpdateDlg->ShowWindow(SW_HIDE);
}

}  // namespace

void CKestrovaDlg::DeleteOldExecutable() {
    // Not when it is this very program, started as the old one to get back from a new one that
    // fails; nor when it is the one that started this program: an update waits there to see the
    // new program run, and puts itself back in place if it does not.
    if (!platform::IsOwnOrParentsExecutable(kOldExecutable)) DeleteFileA(kOldExecutable);
    // And what downloads left when the program was killed during them.
    platform::DeleteLeftoverDownloads(kNewExecutable);
    platform::DeleteLeftoverDownloads(kVersionFile);
}

void CKestrovaDlg::CheckForUpdate() {
    const update::UpdateServer& server = update::CurrentUpdateServer();
    if (!server.assumeNetworkAlive && IsNetworkAlive(nullptr) != TRUE) return;
    const auto versionLimits = [](platform::DownloadOptions& o) {
        o.connectMs = kVersionConnectMs;
        o.totalMs = kVersionTotalMs;
        o.maxBytes = static_cast<long long>(update::kMaxVersionFileBytes);
    };
    if (Fetch(kServerVersionPath, kVersionFile, versionLimits) != S_OK) return;
    const std::optional<int> version = ReadVersionFile();
    if (!version) return;
    DeleteFileA(kVersionFile);
    if (*version <= update::kOwnVersion) return;

    if (MessageBox("Do you want to update the software online?", "Find a new version !",
                   MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return;

    ShowUpdateProgress();
    // No limit on the whole transfer: a large build on a slow but steady link must finish, while
    // the lowest speed of the download options ends a server that trickles.
    const auto executableLimits = [](platform::DownloadOptions& o) {
        o.totalMs = 0;
        o.maxBytes = kMaxExecutableBytes;
    };
    const bool fetched = Fetch(kServerExecutablePath, kNewExecutable, executableLimits) == S_OK;
    // Only a whole program for this machine may take the place of this one.
    const bool runnable =
        fetched && update::CheckExecutableFile(kNewExecutable) == update::ImageVerdict::kRunnable;
    StopUpdateProgress();
    // A program being ended installs nothing and starts nothing, and has no one to tell.
    const bool ending = platform::TerminationRequested();
    if (!runnable || ending) DeleteFileA(kNewExecutable);
    if (ending) return;
    if (!runnable || !InstallNewExecutable()) {
        MessageBox("Update failed", "Failed!", MB_OKCANCEL | MB_ICONINFORMATION);
        return;
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(kExecutable, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process) ||
        !KeepsRunning(process)) {
        RestoreOldExecutable();
        MessageBox("Update failed", "Failed!", MB_OKCANCEL | MB_ICONINFORMATION);
        return;
    }
    // The new program runs; this one ends at once, with none of its destructors.
    ExitProcess(0);
}

void CKestrovaDlg::ShowUpdateProgress() {
    g_pUpdateDlg = nullptr;
    g_pUpdateDlg = new CAutoUpdateDlg();
    g_pUpdateDlg->Create(CAutoUpdateDlg::IDD, this);
    g_pUpdateDlg->ShowWindow(SW_SHOW);
    g_pUpdateDlg->StartAnimation();
}

// The KXV page's parameter file: Save writes what the sub-pages show, Load shows what a file
// holds. Neither talks to the receiver.

#include <string>

#include "app/Globals.h"
#include "platform/ddx_text.h"
#include "platform/file.h"
#include "platform/file_replace.h"
#include "platform/win32_files.h"
#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_messages.h"

using namespace kxv;

namespace {

constexpr const char* kFilter = "Config文件(*.csv)|*.csv|所有文件(*.*) |*.*||";
constexpr const char* kDefaultExtension = "csv";
constexpr DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;

// The process's current folder, however long it is.
std::string CurrentFolder() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return {};
    std::string folder(needed, '\0');
    const DWORD length = GetCurrentDirectoryA(needed, folder.data());
    if (length == 0 || length >= needed) return {};
    folder.resize(length);
    return folder;
}

// The path the user chose in a file dialog, or an empty path when there is none.
CString AskForFile(BOOL open, CWnd* owner) {
    const std::string folder = CurrentFolder();
    CFileDialog dialog(open, kDefaultExtension, nullptr, kDialogFlags, kFilter, owner);
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    if (dialog.DoModal() != IDOK) return CString();
    return dialog.GetPathName();
}

std::string Reason(CFileException& e) {
    char text[512] = "";
    if (!e.GetErrorMessage(text, sizeof text)) text[0] = '\0';
    return text;
}

void Warn(const std::string& text) {
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONWARNING);
}

// Replaces the file at `path` with `text`. When it fails: why, and what the name holds now.
std::string WriteReplacing(const std::string& path, const std::string& text) {
    platform::LeftBehind left;
    try {
        platform::WriteFileReplacing(path, text, left);
        return {};
    } catch (CFileException* e) {
        const std::string reason = Reason(*e);
        e->Delete();
        if (!left.fileWasThere) return left.kept ? reason : reason + texts::kPartialFileLeft;
        return reason + (left.kept ? texts::kOldFileKept : texts::kOldFileLost);
    }
}

// The whole file, when it is small enough to be a parameter file; the reason for the user when
// it is not, or cannot be read.
std::string ReadSmallFile(CFile& file, std::string& text) {
    try {
        // Larger than any parameter file: refused before a byte of it is read.
        if (file.GetLength() > kMaxFileBytes) return texts::kTooLarge;
        // One byte more than the bound tells a file that grew since, or has no length to tell.
        text.resize(kMaxFileBytes + 1);
        text.resize(file.Read(text.data(), static_cast<UINT>(text.size())));
        file.Close();
        if (text.size() > kMaxFileBytes) return texts::kTooLarge;
        return {};
    } catch (CFileException* e) {
        const std::string reason = texts::kCannotRead + Reason(*e);
        e->Delete();
        return reason;
    }
}

}  // namespace

bool CReceiver_KXVDlg::EditsHoldNumbers(const char* consequence) {
    for (const Parameter& p : kParameters) {
        if (p.kind != Kind::kGain && p.kind != Kind::kAngle) continue;
        CWnd& holder = p.kind == Kind::kGain ? static_cast<CWnd&>(g_receiverKXV_GainSetting)
                                             : static_cast<CWnd&>(g_receiverKXV_OffsetAngleSetting);
        CString text;
        holder.GetDlgItemText(p.control, text);
        int value = 0;
        if (platform::ParseDdxInt(text, value)) continue;
        Warn(std::string(p.label) + ": \"" + text.str() + "\" " + texts::kNotANumber + " " +
             consequence);
        return false;
    }
    return true;
}

void CReceiver_KXVDlg::OnBnClickedSave() {
    // A file of untouched values, loaded and written, would send directions and gains nobody
    // chose.
    if (!AllKnown(texts::kNothingSaved)) return;
    // Half-taken controls would save stale values under the typed ones.
    if (!EditsHoldNumbers(texts::kNothingSaved)) return;
    ExchangeSubPages(2);
    const CString path = AskForFile(FALSE, this);
    if (path.IsEmpty()) return;
    const std::string reason = WriteReplacing(path.str(), FormatParameterFile(HeldValues()));
    if (!reason.empty()) Warn(texts::kNotSaved + reason);
}

void CReceiver_KXVDlg::OnBnClickedLoad() {
    const CString path = AskForFile(TRUE, this);
    if (path.IsEmpty()) return;
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        Warn(texts::kCannotOpen + Reason(error) + texts::kNothingLoaded);
        return;
    }
    // The whole file is read before anything is shown: a file that fails half-way changes
    // nothing.
    std::string text;
    if (const std::string problem = ReadSmallFile(file, text); !problem.empty()) {
        Warn(problem + texts::kNothingLoaded);
        return;
    }
    ParameterFileReader reader(HeldValues());
    if (!reader.TakeText(text)) {
        Warn(reader.Problem() + texts::kNothingLoaded);
        return;
    }
    if (reader.Loaded() == 0) {
        Warn(std::string(texts::kNoParameters) + texts::kNothingLoaded);
        return;
    }
    for (int k = 0; k < kParameterCount; ++k)
        HeldValue(k) = reader.values()[static_cast<std::size_t>(k)];
    ExchangeSubPages(1);
    m_known |= reader.Named();
}

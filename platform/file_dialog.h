#pragma once
// The open and save file dialogs.

#include <string>

#include "platform/cstring.h"
#include "platform/wnd.h"

constexpr DWORD OFN_READONLY = 0x1;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;
constexpr DWORD OFN_HIDEREADONLY = 0x4;
constexpr DWORD OFN_NOCHANGEDIR = 0x8;
constexpr DWORD OFN_PATHMUSTEXIST = 0x800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;

struct OPENFILENAMEA {
    DWORD Flags = 0;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
};

class CFileDialog {
  public:
    CFileDialog(BOOL openFileDialog, const char* defaultExt = nullptr,
                const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;

    virtual intptr_t DoModal();
    CString GetPathName() const { return CString(m_path.c_str()); }
    CString GetFileName() const;
    CString GetFileExt() const;

    OPENFILENAMEA m_ofn;

  private:
    // The name the user gave the dialog as it came; empty when cancelled.
    std::string AskForName() const;

    bool m_open;
    std::string m_defaultExt, m_fileName, m_filter, m_path;
    CWnd* m_parent;
};

namespace platform {
// "Text (*.csv)|*.csv|All (*.*)|*.*||" in the file dialog's own form: "Text (*.csv);;All (*.*)".
std::string FileFilterToQt(const std::string& filter);
// The chosen name with the default extension added when it has none.
std::string WithDefaultExtension(const std::string& path, const std::string& ext);
}  // namespace platform

#pragma once
// The application object and the start-up calls the program makes before its main window.

#include <string>

#include "platform/bitmaps.h"
#include "platform/win_types.h"

class CWnd;

class CWinApp {
  public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    void SetRegistryKey(const char* key) { m_registryKey = key ? key : ""; }
    HICON LoadIcon(UINT id) const { return platform::LoadIconResource(id); }

    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    std::string m_appName;

  private:
    std::string m_registryKey;
};

CWinApp* AfxGetApp();
// The application's name, the default caption of message boxes.
const char* AfxAppName();

constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;
constexpr DWORD ICC_WIN95_CLASSES = 0xFF;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize = 0;
    DWORD dwICC = 0;
};
// The common controls are Qt's and need no initialisation; the calls stay for the start-up order.
inline BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*) {
    return TRUE;
}
inline void AfxEnableControlContainer() {}

class CShellManager {};

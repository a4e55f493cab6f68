#include "app/KestrovaApp.h"

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "resources/resources.h"

CKestrovaApp::CKestrovaApp() {
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CKestrovaApp::InitInstance() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    auto* shellManager = new CShellManager;
    resources::RegisterAll();
    SetRegistryKey("应用程序向导生成的本地应用程序");

    CKestrovaDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // However the window closed (its close box, Enter or Escape, a termination signal), an
    // operation it cut short ends as a device change ends one: the port, still open, carries
    // the frames that take the device out of configuration access.
    dlg.StopBusTimers();
    m_pMainWnd = nullptr;

    delete shellManager;
    // The main window has closed: the program ends without a message loop of its own.
    return FALSE;
}

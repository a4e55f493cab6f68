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
    // A KXV sequence cut short by the end of the program ends as the Close button ends it: the
    // port, still open, carries the frame that takes the receiver out of configuration access.
    g_receiverKXV.StopTimers();
    m_pMainWnd = nullptr;

    delete shellManager;
    // The main window has closed: the program ends without a message loop of its own.
    return FALSE;
}

#include "platform/win_app.h"

#include "platform/string_table.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_appName(appName ? appName : "") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

const char* AfxAppName() {
    if (g_app && !g_app->m_appName.empty()) return g_app->m_appName.c_str();
    // Without a name of its own the application is called by its title string.
    static std::string title;
    title = platform::LookupString(0xE000);
    return title.c_str();
}

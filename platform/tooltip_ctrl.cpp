#include "platform/tooltip_ctrl.h"

#include <QWidget>

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD) {
    m_parent = parent ? parent->m_hWnd : nullptr;
    m_created = true;
    return TRUE;
}

void CToolTipCtrl::Activate(BOOL active) {
    m_active = active != FALSE;
    Apply();
}

BOOL CToolTipCtrl::AddTool(CWnd* window, const char* text) {
    if (!m_created || !window || !window->m_hWnd) return FALSE;
    m_tools.push_back({window->m_hWnd, text ? text : ""});
    Apply();
    return TRUE;
}

std::string CToolTipCtrl::TextFor(const CWnd* window) const {
    if (!m_active || !window) return {};
    for (const Tool& t : m_tools)
        if (t.window == window->m_hWnd) return t.text;
    return {};
}

void CToolTipCtrl::Apply() {
    for (const Tool& t : m_tools)
        if (t.window)
            t.window->setToolTip(m_active ? QString::fromUtf8(t.text.c_str()) : QString());
}

#pragma once
// Tooltip controls: a set of tools (window, text) shown while the control is active.

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/wnd.h"

class CToolTipCtrl {
  public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL active);
    BOOL AddTool(CWnd* window, const char* text);
    void RelayEvent(MSG* msg) {}
    BOOL IsActive() const { return m_active; }
    // The text this control shows for `window`, empty when none (or inactive).
    std::string TextFor(const CWnd* window) const;
    HWND GetSafeHwnd() const { return m_created ? m_parent : nullptr; }

  private:
    void Apply();

    struct Tool {
        QPointer<QWidget> window;
        std::string text;
    };
    std::vector<Tool> m_tools;
    HWND m_parent = nullptr;
    bool m_created = false;
    bool m_active = false;
};

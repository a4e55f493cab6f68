#pragma once
// CWnd: a plain C++ object that owns a native window (a QWidget) from its creation to its
// destruction. Every window message the program handles passes through CWnd::Dispatch, which
// looks the message up in the class's message map and catches what a handler throws.

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/cstring.h"
#include "platform/geometry.h"
#include "platform/message_map.h"
#include "platform/styles.h"
#include "platform/win_types.h"

class QWidget;
class CWnd;
class CMenu;
using HWND = QWidget*;

struct ICONHANDLE;
using HICON = ICONHANDLE*;
using HCURSOR = HICON;

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

class CWnd {
  public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object that represents a native window: the one attached to it (a dialog, or a member
    // bound by DDX_Control), or a wrapper of the control's class made on first use.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL DestroyWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual const platform::MessageMap* GetMessageMap() const;
    // Runs one message through the exception boundary; what a handler throws is reported once.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void DispatchTimer(UINT_PTR id);

    // Timers.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* unusedProc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // Window state.
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    void SetWindowText(const char* text);
    int GetWindowText(char* text, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const char* text);
    int GetDlgItemText(int id, CString& text) const;
    void Invalidate(BOOL erase = TRUE);
    void UpdateWindow();
    BOOL SetFocus();

    // Family.
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetTopLevelParent() const;

    // Geometry, in pixels.
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPRECT rect) const;
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);

    // Style bits.
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

    // Icons and the system menu.
    HICON SetIcon(HICON icon, BOOL bigIcon);
    CMenu* GetSystemMenu(BOOL revert);
    BOOL EnableToolTips(BOOL enable = TRUE);

    static const CWnd wndTop;

    // Shows a message box owned by this window.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = 0);

  protected:
    // Default handlers the derived classes reach through their base.
    void OnTimer(UINT_PTR id) {}
    void OnPaint();
    void OnSysCommand(UINT id, LPARAM lParam);
    BOOL OnDeviceChange(UINT event, DWORD_PTR data) { return TRUE; }
    LRESULT Default();
    // The native control's own handling of a message (progress bar, picture, ...).
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds a new native window to this object, which then owns it.
    void AttachOwned(HWND hwnd);
    // The native window went away (its own destruction or its parent's).
    virtual void OnNativeDestroyed();

    bool m_ownsWindow = false;
    std::unique_ptr<CMenu> m_sysMenu;

    friend class CDialog;
    friend struct WndAccess;
};

namespace platform {
// Sends WM_DEVICECHANGE to every top-level window that has a CWnd.
void BroadcastToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam);
}  // namespace platform

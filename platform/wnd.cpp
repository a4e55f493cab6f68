#include "platform/wnd.h"

#include <QGuiApplication>
#include <QWidget>
#include <unordered_map>

#include "platform/afx_controls.h"
#include "platform/bitmaps.h"
#include "platform/exception.h"
#include "platform/menu.h"
#include "platform/modal_ui.h"
#include "platform/native_controls.h"
#include "platform/timer_service.h"
#include "platform/ui_events.h"

namespace {

// Never destroyed: the program's windows are globals whose destructors run after every
// function-local static is gone, and they still look themselves up here.
std::unordered_map<QWidget*, CWnd*>& Permanent() {
    static auto* map = new std::unordered_map<QWidget*, CWnd*>;
    return *map;
}
std::unordered_map<QWidget*, std::unique_ptr<CWnd>>& Wrappers() {
    static auto* map = new std::unordered_map<QWidget*, std::unique_ptr<CWnd>>;
    return *map;
}

void ForgetWidget(QWidget* w);

void WatchWidget(QWidget* w) {
    if (w->property("kw_watched").toBool()) return;
    w->setProperty("kw_watched", true);
    QObject::connect(w, &QObject::destroyed, [w] { ForgetWidget(w); });
}

std::unique_ptr<CWnd> MakeWrapper(QWidget* w) {
    using platform::CtrlKind;
    switch (platform::WidgetKind(w)) {
        case CtrlKind::PushButton:
        case CtrlKind::CheckBox:
        case CtrlKind::RadioButton:
        case CtrlKind::GroupBox:
            return std::make_unique<CButton>();
        case CtrlKind::Edit:
            return std::make_unique<CEdit>();
        case CtrlKind::Static:
        case CtrlKind::Picture:
            return std::make_unique<CStatic>();
        case CtrlKind::ComboBox:
            return std::make_unique<CComboBox>();
        case CtrlKind::Tree:
            return std::make_unique<CTreeCtrl>();
        case CtrlKind::Tab:
            return std::make_unique<CTabCtrl>();
        case CtrlKind::Progress:
            return std::make_unique<CProgressCtrl>();
        default:
            return std::make_unique<CWnd>();
    }
}

}  // namespace

struct WndAccess {
    static void Forget(CWnd* wnd) { wnd->OnNativeDestroyed(); }
    static void Unhook(CWnd* wnd) { wnd->m_hWnd = nullptr; }
};

namespace {

void ForgetWidget(QWidget* w) {
    if (auto it = Permanent().find(w); it != Permanent().end()) {
        CWnd* wnd = it->second;
        Permanent().erase(it);
        WndAccess::Forget(wnd);
    }
    if (auto it = Wrappers().find(w); it != Wrappers().end()) {
        WndAccess::Unhook(it->second.get());
        Wrappers().erase(it);
    }
}

}  // namespace

const CWnd CWnd::wndTop;

CWnd::CWnd() = default;

CWnd::~CWnd() {
    platform::TimerService::Instance().KillAll(this);
    if (m_hWnd) {
        if (m_ownsWindow) {
            DestroyWindow();
        } else {
            Detach();
        }
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto it = Permanent().find(hwnd);
    return it == Permanent().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (CWnd* p = FromHandlePermanent(hwnd)) return p;
    auto& wrappers = Wrappers();
    auto it = wrappers.find(hwnd);
    if (it != wrappers.end()) return it->second.get();
    auto wrapper = MakeWrapper(hwnd);
    wrapper->m_hWnd = hwnd;
    WatchWidget(hwnd);
    return (wrappers[hwnd] = std::move(wrapper)).get();
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd) return FALSE;
    m_hWnd = hwnd;
    m_ownsWindow = false;
    Permanent()[hwnd] = this;
    WatchWidget(hwnd);
    return TRUE;
}

void CWnd::AttachOwned(HWND hwnd) {
    Attach(hwnd);
    m_ownsWindow = true;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        auto it = Permanent().find(h);
        if (it != Permanent().end() && it->second == this) Permanent().erase(it);
    }
    m_hWnd = nullptr;
    m_ownsWindow = false;
    return h;
}

void CWnd::OnNativeDestroyed() {
    platform::TimerService::Instance().KillAll(this);
    m_hWnd = nullptr;
    m_ownsWindow = false;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    QWidget* w = m_hWnd;
    platform::TimerService::Instance().KillAll(this);
    delete w;  // the destroyed signal detaches this object and every child's
    m_hWnd = nullptr;
    return TRUE;
}

const platform::MessageMap* CWnd::GetMessageMap() const {
    static const platform::MessageMap map{nullptr, {}};
    return &map;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return FALSE;
    platform::PostToWindow(m_hWnd, message, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        platform::ReportHandlerException(e);
    } catch (const std::exception& e) {
        platform::ReportHandlerError(e.what());
    } catch (...) {
        platform::ReportHandlerError(nullptr);
    }
    return 0;
}

void CWnd::DispatchTimer(UINT_PTR id) {
    Dispatch(WM_TIMER, id, 0);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) return 0;
    } else if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) return result;
    } else if (const auto* entry = GetMessageMap()->Find(message, 0, 0)) {
        return entry->call(this, wParam, lParam);
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    const auto* entry = GetMessageMap()->Find(WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (!entry) return FALSE;
    entry->call(this, wParam, 0);
    return TRUE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return FALSE;
    const auto* entry =
        GetMessageMap()->Find(WM_NOTIFY, header->code, static_cast<int>(header->idFrom));
    if (!entry) return FALSE;
    *result = entry->call(this, 0, lParam);
    return TRUE;
}

LRESULT CWnd::Default() {
    return 0;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    bool handled = false;
    LRESULT r = platform::NativeMessage(m_hWnd, message, wParam, lParam, handled);
    if (handled) return r;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) return Dispatch(WM_CLOSE, 0, 0);
    return 0;
}

void CWnd::OnPaint() {}

void CWnd::OnSysCommand(UINT id, LPARAM lParam) {
    DefWindowProc(WM_SYSCOMMAND, id, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*) {
    // As on the platform, a timer needs a window to deliver to.
    if (!m_hWnd) return 0;
    platform::TimerService::Instance().Set(this, id, elapseMs);
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return platform::TimerService::Instance().Kill(this, id);
}

BOOL CWnd::ShowWindow(int cmdShow) {
    if (!m_hWnd) return FALSE;
    BOOL was = !m_hWnd->isHidden();
    if (cmdShow == SW_HIDE) {
        m_hWnd->hide();
    } else if (cmdShow == SW_MINIMIZE) {
        m_hWnd->showMinimized();
    } else {
        m_hWnd->show();
    }
    return was;
}

BOOL CWnd::IsWindowVisible() const {
    return m_hWnd && m_hWnd->isVisible();
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_hWnd) return FALSE;
    BOOL wasDisabled = !m_hWnd->isEnabled();
    m_hWnd->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_hWnd && m_hWnd->isEnabled();
}

BOOL CWnd::IsIconic() const {
    return m_hWnd && m_hWnd->isMinimized();
}

void CWnd::SetWindowText(const char* text) {
    if (m_hWnd) platform::SetNativeText(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const {
    text = m_hWnd ? platform::GetNativeText(m_hWnd) : CString();
}

int CWnd::GetWindowText(char* text, int maxCount) const {
    if (!text || maxCount <= 0) return 0;
    CString t;
    GetWindowText(t);
    int n = std::min(t.GetLength(), maxCount - 1);
    std::copy_n(static_cast<const char*>(t), n, text);
    text[n] = '\0';
    return n;
}

int CWnd::GetWindowTextLength() const {
    CString t;
    GetWindowText(t);
    return t.GetLength();
}

void CWnd::SetDlgItemText(int id, const char* text) {
    if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    if (CWnd* item = GetDlgItem(id)) item->GetWindowText(text);
    return text.GetLength();
}

void CWnd::Invalidate(BOOL) {
    if (m_hWnd) m_hWnd->update();
}

void CWnd::UpdateWindow() {
    if (m_hWnd) m_hWnd->repaint();
}

BOOL CWnd::SetFocus() {
    if (!m_hWnd) return FALSE;
    m_hWnd->setFocus();
    return TRUE;
}

CWnd* CWnd::GetParent() const {
    return m_hWnd ? FromHandle(m_hWnd->parentWidget()) : nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const {
    if (!m_hWnd) return nullptr;
    QWidget* w = platform::ChildControl(m_hWnd, id);
    return w ? FromHandle(w) : nullptr;
}

int CWnd::GetDlgCtrlID() const {
    return platform::WidgetId(m_hWnd);
}

CWnd* CWnd::GetTopLevelParent() const {
    return m_hWnd ? FromHandle(m_hWnd->window()) : nullptr;
}

void CWnd::GetClientRect(LPRECT rect) const {
    *rect = RECT{};
    if (m_hWnd) *rect = RECT{0, 0, m_hWnd->width(), m_hWnd->height()};
}

void CWnd::GetWindowRect(LPRECT rect) const {
    *rect = RECT{};
    if (!m_hWnd) return;
    QPoint p = m_hWnd->mapToGlobal(QPoint(0, 0));
    *rect = RECT{p.x(), p.y(), p.x() + m_hWnd->width(), p.y() + m_hWnd->height()};
}

void CWnd::ScreenToClient(LPRECT rect) const {
    if (!m_hWnd) return;
    QPoint p = m_hWnd->mapFromGlobal(QPoint(rect->left, rect->top));
    int w = rect->right - rect->left, h = rect->bottom - rect->top;
    *rect = RECT{p.x(), p.y(), p.x() + w, p.y() + h};
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!m_hWnd) return FALSE;
    if (!(flags & SWP_NOMOVE)) m_hWnd->move(x, y);
    if (!(flags & SWP_NOSIZE)) m_hWnd->resize(cx, cy);
    if (!(flags & SWP_NOZORDER) && insertAfter == &wndTop) m_hWnd->raise();
    if (flags & SWP_SHOWWINDOW) m_hWnd->show();
    if (flags & SWP_HIDEWINDOW) m_hWnd->hide();
    return TRUE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL) {
    if (m_hWnd) m_hWnd->setGeometry(x, y, width, height);
}

void CWnd::MoveWindow(LPCRECT r, BOOL repaint) {
    MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
}

DWORD CWnd::GetStyle() const {
    return platform::WidgetStyle(m_hWnd);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    if (!m_hWnd) return FALSE;
    DWORD before = GetStyle();
    DWORD after = (before & ~remove) | add;
    if (after == before) return FALSE;
    platform::SetWidgetIdentity(m_hWnd, platform::WidgetKind(m_hWnd), platform::WidgetId(m_hWnd),
                                after);
    platform::ApplyNativeStyle(m_hWnd);
    return TRUE;
}

HICON CWnd::SetIcon(HICON icon, BOOL) {
    if (m_hWnd && icon) m_hWnd->setWindowIcon(platform::IconOf(icon));
    return icon;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    if (!m_hWnd || !(GetStyle() & WS_SYSMENU)) return nullptr;
    if (revert) {
        m_sysMenu.reset();
        return nullptr;
    }
    if (!m_sysMenu) {
        // The window's own commands come first; what the program appends follows them.
        m_sysMenu = std::make_unique<CMenu>();
        m_sysMenu->AppendMenu(MF_STRING, SC_CLOSE, "Close");
    }
    return m_sysMenu.get();
}

BOOL CWnd::EnableToolTips(BOOL) {
    return TRUE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return platform::ShowMessageBox(this, text, caption, type);
}

namespace platform {

void BroadcastToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam) {
    std::vector<CWnd*> targets;
    for (auto& [widget, wnd] : Permanent())
        if (widget->isWindow()) targets.push_back(wnd);
    for (CWnd* wnd : targets) {
        // A handler may close another window; only deliver to those still alive.
        bool alive = false;
        for (auto& [widget, w] : Permanent()) alive = alive || w == wnd;
        if (alive) wnd->Dispatch(message, wParam, lParam);
    }
}

}  // namespace platform

#include "platform/ui_events.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "platform/device_events.h"
#include "platform/dialog.h"
#include "platform/exception.h"
#include "platform/menu.h"
#include "platform/modal_ui.h"
#include "platform/off_ui_thread.h"
#include "platform/wnd.h"

namespace platform {
namespace {

// Walks from the message's window up to its top-level window, as the message loop does.
bool WalkPreTranslate(MSG& msg) {
    for (QWidget* w = msg.hwnd; w; w = w->parentWidget()) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(w)) {
            try {
                if (wnd->PreTranslateMessage(&msg)) return true;
            } catch (CException* e) {
                ReportHandlerException(e);
                return true;
            } catch (const std::exception& e) {
                ReportHandlerError(e.what());
                return true;
            }
        }
        if (w->isWindow()) break;
    }
    return false;
}

class InputFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* obj, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w) return false;
        switch (event->type()) {
            case QEvent::MouseMove: {
                auto* me = static_cast<QMouseEvent*>(event);
                // Qt hands an unused move on to the parent; the program must see one message
                // per move, from the window under the mouse. Moves while dragging stay Qt's.
                if (me->buttons() != Qt::NoButton) return false;
                QPoint p = me->position().toPoint();
                DeliverMouseMove(w, p.x(), p.y());
                return true;
            }
            case QEvent::KeyPress: {
                auto* ke = static_cast<QKeyEvent*>(event);
                if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)
                    return DeliverKey(w, VK_RETURN);
                if (ke->key() == Qt::Key_Escape) return DeliverKey(w, VK_ESCAPE);
                return false;
            }
            case QEvent::ContextMenu: {
                QWidget* top = w->window();
                if (!CWnd::FromHandlePermanent(top)) return false;
                auto* ce = static_cast<QContextMenuEvent*>(event);
                ShowSystemMenu(top, ce->globalPos().x(), ce->globalPos().y());
                return true;
            }
            case QEvent::Close: {
                // The close box: the window decides through its own WM_CLOSE handling.
                if (!w->isWindow()) return false;
                CWnd* wnd = CWnd::FromHandlePermanent(w);
                if (!wnd || w->property("kw_closing").toBool()) return false;
                event->ignore();
                if (UiInputHeldBack()) return true;
                wnd->Dispatch(WM_CLOSE, 0, 0);
                return true;
            }
            default:
                return false;
        }
    }
};

}  // namespace

void EnsureUiEvents() {
    static bool installed = false;
    if (installed || !QApplication::instance()) return;
    installed = true;
    QApplication::instance()->installEventFilter(new InputFilter(QApplication::instance()));
    SetDeviceChangeSink([](UINT event) { BroadcastToTopLevelWindows(WM_DEVICECHANGE, event, 0); });
}

void PostToWindow(QWidget* window, UINT message, WPARAM wParam, LPARAM lParam) {
    QPointer<QWidget> target(window);
    QMetaObject::invokeMethod(
        window,
        [target, message, wParam, lParam] {
            if (!target) return;
            if (CWnd* wnd = CWnd::FromHandlePermanent(target))
                wnd->Dispatch(message, wParam, lParam);
        },
        Qt::QueuedConnection);
}

bool DeliverMouseMove(QWidget* target, int x, int y) {
    MSG msg{target, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y))};
    return WalkPreTranslate(msg);
}

bool DeliverKey(QWidget* focus, UINT vk) {
    if (!focus) return false;
    MSG msg{focus, WM_KEYDOWN, vk, 0};
    if (WalkPreTranslate(msg)) return true;
    // The dialog manager's part: Enter pushes the focused button or answers IDOK, Escape IDCANCEL.
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(focus->window()));
    if (!dialog) return false;
    if (vk == VK_RETURN) {
        if (auto* button = qobject_cast<QPushButton*>(focus); button && button->isEnabled()) {
            button->click();
            return true;
        }
        dialog->Dispatch(WM_COMMAND, MAKEWPARAM(IDOK, 0 /*BN_CLICKED*/), 0);
        return true;
    }
    if (vk == VK_ESCAPE) {
        dialog->Dispatch(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return true;
    }
    return false;
}

void ShowSystemMenu(QWidget* topLevel, int x, int y) {
    CWnd* wnd = CWnd::FromHandlePermanent(topLevel);
    if (!wnd) return;
    CMenu* menu = wnd->GetSystemMenu(FALSE);
    if (!menu) return;
    QMenu qmenu(topLevel);
    {
        for (const CMenu::Item& item : menu->Items()) {
            if (item.flags & MF_SEPARATOR) {
                qmenu.addSeparator();
                continue;
            }
            QAction* action = qmenu.addAction(QString::fromUtf8(item.text.c_str()));
            action->setData(static_cast<qulonglong>(item.id));
        }
    }
    QAction* chosen = qmenu.exec(QPoint(x, y));
    if (chosen) wnd->Dispatch(WM_SYSCOMMAND, chosen->data().toULongLong(), MAKELPARAM(x, y));
}

}  // namespace platform

#include "platform/modal_ui.h"

#include <QMessageBox>
#include <QWidget>
#include <set>
#include <vector>

#include "platform/cstring.h"
#include "platform/exception.h"
#include "platform/styles.h"
#include "platform/win_app.h"
#include "platform/wnd.h"

namespace platform {
namespace {

ModalHook& Hook() {
    static ModalHook hook;
    return hook;
}

HandlerExceptionHook& ExceptionHook() {
    static HandlerExceptionHook hook;
    return hook;
}

// Message boxes open now (nested loops), and what waits for the last of them to close.
int& OpenBoxes() {
    static int open = 0;
    return open;
}
std::vector<std::function<void()>>& WaitingForNoBox() {
    static std::vector<std::function<void()>> waiting;
    return waiting;
}

class OpenBox {
  public:
    OpenBox() { ++OpenBoxes(); }
    ~OpenBox() {
        if (--OpenBoxes() > 0) return;
        auto due = std::move(WaitingForNoBox());
        WaitingForNoBox().clear();
        for (auto& fn : due) WhenNoMessageBoxIsOpen(std::move(fn));
    }
};

std::set<std::string>& OpenErrors() {
    static std::set<std::string> open;
    return open;
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int RunQtMessageBox(QWidget* parent, const char* text, const char* caption, UINT type) {
    QMessageBox box(IconOf(type), QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::NoButton, parent);
    struct Button {
        QMessageBox::StandardButton qt;
        int id;
    };
    std::vector<Button> buttons;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_ABORTRETRYIGNORE:
            buttons = {{QMessageBox::Abort, IDABORT},
                       {QMessageBox::Retry, IDRETRY},
                       {QMessageBox::Ignore, IDIGNORE}};
            break;
        case MB_YESNOCANCEL:
            buttons = {{QMessageBox::Yes, IDYES},
                       {QMessageBox::No, IDNO},
                       {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO:
            buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
            break;
        case MB_RETRYCANCEL:
            buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        default:
            buttons = {{QMessageBox::Ok, IDOK}};
    }
    QMessageBox::StandardButtons set;
    for (auto& b : buttons) set |= b.qt;
    box.setStandardButtons(set);
    int clicked = box.exec();
    for (auto& b : buttons)
        if (clicked == b.qt) return b.id;
    // Closed with the close box or Escape: the platform answers Cancel when there is one.
    for (auto& b : buttons)
        if (b.id == IDCANCEL) return IDCANCEL;
    return buttons.size() == 1 ? buttons[0].id : IDCANCEL;
}

}  // namespace

void SetModalHook(ModalHook hook) {
    Hook() = std::move(hook);
}

bool HasModalHook() {
    return static_cast<bool>(Hook());
}

ModalAnswer AskModalHook(const ModalRecord& record) {
    ModalAnswer answer = Hook()(record);
    if (answer.advance > 0) VirtualClock::Advance(answer.advance);
    return answer;
}

void WhenNoMessageBoxIsOpen(std::function<void()> fn) {
    if (OpenBoxes() > 0)
        WaitingForNoBox().push_back(std::move(fn));
    else
        fn();
}

int ShowMessageBox(CWnd* owner, const char* text, const char* caption, UINT type) {
    OpenBox open;
    std::string cap = caption ? caption : AfxAppName();
    if (HasModalHook()) {
        ModalRecord record;
        record.kind = ModalKind::MessageBox;
        record.text = text ? text : "";
        record.caption = cap;
        record.type = type;
        return AskModalHook(record).result;
    }
    QWidget* parent = owner && owner->m_hWnd ? owner->m_hWnd->window() : nullptr;
    return RunQtMessageBox(parent, text ? text : "", cap.c_str(), type);
}

void ReportHandlerError(const char* text) {
    std::string message = text && *text ? text : "An unsupported operation was attempted.";
    if (OpenErrors().count(message)) return;
    OpenErrors().insert(message);
    ShowMessageBox(nullptr, message.c_str(), nullptr, MB_OK | MB_ICONSTOP);
    OpenErrors().erase(message);
}

void SetHandlerExceptionHook(HandlerExceptionHook hook) {
    ExceptionHook() = std::move(hook);
}

void ReportHandlerException(CException* e) {
    // A copy: the hook may replace itself while it runs (its window going away in a nested loop).
    if (HandlerExceptionHook hook = ExceptionHook(); hook && hook(*e)) {
        e->Delete();
        return;
    }
    char text[512] = "";
    if (!e->GetErrorMessage(text, sizeof text, nullptr)) text[0] = '\0';
    e->Delete();
    ReportHandlerError(text);
}

}  // namespace platform

int CException::ReportError(UINT type, UINT) {
    char text[512] = "";
    if (!GetErrorMessage(text, sizeof text, nullptr) || !*text)
        std::snprintf(text, sizeof text, "%s", "An unsupported operation was attempted.");
    return platform::ShowMessageBox(nullptr, text, nullptr, type);
}

int AfxMessageBox(const char* text, UINT type, UINT) {
    return platform::ShowMessageBox(nullptr, text, nullptr, type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(stringId);
    return AfxMessageBox(static_cast<const char*>(text), type, helpId);
}

int MessageBoxA(void* owner, const char* text, const char* caption, UINT type) {
    CWnd* wnd = CWnd::FromHandlePermanent(static_cast<QWidget*>(owner));
    return platform::ShowMessageBox(wnd, text, caption ? caption : "Error", type);
}

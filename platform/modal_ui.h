#pragma once
// Modal user interface: message boxes, modal dialogs and file dialogs. Each runs a nested loop
// in which timers keep firing. Tests replace the user with one hook that sees every modal UI,
// records it and answers it, optionally letting virtual time pass while it is "open".

#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/win_types.h"

class CWnd;
class CDialog;
class CException;

namespace platform {

enum class ModalKind { MessageBox, Dialog, FileDialog };

struct ModalRecord {
    ModalKind kind = ModalKind::MessageBox;
    std::string text;           // message box text
    std::string caption;        // message box caption, dialog caption
    UINT type = 0;              // message box buttons and icon (MB_*)
    UINT dialogId = 0;          // dialog template id
    CDialog* dialog = nullptr;  // the modal dialog, created and initialised, not yet ended
    bool openFile = true;       // file dialogs: open or save
    std::string filter, defaultExt, fileName, initialDir;
};

struct ModalAnswer {
    int result = 1;      // IDOK and friends
    std::string path;    // file dialogs: the chosen path
    Micros advance = 0;  // virtual time that passes while the modal UI is open
};

using ModalHook = std::function<ModalAnswer(const ModalRecord&)>;
void SetModalHook(ModalHook hook);
bool HasModalHook();
// Runs the hook and lets the virtual time pass; only call when HasModalHook().
ModalAnswer AskModalHook(const ModalRecord& record);

// Message boxes. The caption defaults to the application's name.
int ShowMessageBox(CWnd* owner, const char* text, const char* caption, UINT type);

// What a handler threw, shown as the framework shows it: one stop-icon box. While such a box is
// open, the same error raised again (by further timer ticks) is not stacked into new boxes.
// An installed exception hook sees the exception first.
void ReportHandlerException(CException* e);
void ReportHandlerError(const char* text);

// Lets the program deal with some exceptions that escape a handler itself (a failing port, for
// one) before the framework would report them. The hook returns true when it has dealt with
// the exception, which is then deleted without the framework's box; false leaves it to the
// usual report. It is reached from every dispatch, so windows made later need nothing of their
// own. Null removes it.
using HandlerExceptionHook = std::function<bool(CException& e)>;
void SetHandlerExceptionHook(HandlerExceptionHook hook);

// Runs `fn` once no message box is open: at once when none is, else as the last open one closes.
// For news that must not be stacked on top of a box the user is still reading.
void WhenNoMessageBoxIsOpen(std::function<void()> fn);

}  // namespace platform

int AfxMessageBox(const char* text, UINT type = 0, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = 0, UINT helpId = 0);
int MessageBoxA(void* owner, const char* text, const char* caption, UINT type);

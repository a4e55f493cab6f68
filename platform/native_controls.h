#pragma once
// The Qt widgets behind each kind of control, and what each kind does with the window text,
// its style bits and the control messages the program sends it.

#include "platform/cstring.h"
#include "platform/dialog_template.h"
#include "platform/win_types.h"

class QWidget;

namespace platform {

// Every native window carries its kind, control id and style beside it, so any CWnd that wraps
// it later knows what it is.
CtrlKind WidgetKind(const QWidget* w);
int WidgetId(const QWidget* w);
DWORD WidgetStyle(const QWidget* w);
void SetWidgetIdentity(QWidget* w, CtrlKind kind, int id, DWORD style);
// The first child of `parent`, in creation order, that is a control with this id; null if none.
QWidget* ChildControl(const QWidget* parent, int id);

// Makes the widget of one template control, placed in pixels, as a child of `parent`.
QWidget* CreateControlWidget(const ControlTemplate& ctrl, QWidget* parent, BaseUnits units);

void SetNativeText(QWidget* w, const char* text);
CString GetNativeText(const QWidget* w);

// Applies the style bits that change how an existing control looks (picture type, read-only).
void ApplyNativeStyle(QWidget* w);

// A control's own handling of a message; `handled` is false when the kind does not know it.
LRESULT NativeMessage(QWidget* w, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

}  // namespace platform

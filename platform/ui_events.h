#pragma once
// The user's input as the program's windows see it: mouse moves and keys pass through
// PreTranslateMessage from the window under the mouse (or with the focus) up to its top-level
// window; Enter and Escape then reach the dialog; the context menu of a top-level window is
// its system menu.

#include "platform/win_types.h"

class QWidget;

namespace platform {

// Installs the input filter and the device-change route once; called when a window is made.
void EnsureUiEvents();

// Queues a message for the window; it is dispatched later from the event loop.
void PostToWindow(QWidget* window, UINT message, WPARAM wParam, LPARAM lParam);

// The same route a real key press takes; the test helpers use it.
bool DeliverKey(QWidget* focus, UINT virtualKey);
bool DeliverMouseMove(QWidget* target, int x, int y);

// Shows the top-level window's system menu (as the context menu does) and returns the
// command chosen, 0 for none. Tests answer it through `choose`.
void ShowSystemMenu(QWidget* topLevel, int x, int y);

}  // namespace platform

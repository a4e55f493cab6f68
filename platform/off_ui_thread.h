#pragma once
// Long blocking work (a download) without a frozen window: the work runs on a thread of its
// own while the UI thread goes on painting and firing timers.

#include <functional>

namespace platform {

// Runs `work` on a thread of its own and returns when it is done. Meanwhile the UI thread
// paints, fires timers and delivers posted messages, but holds back the user's input until
// the work is done: a click or a key cannot start anything in the middle of the caller.
// `work` must not touch windows.
void RunOffUiThread(const std::function<void()>& work);

// Whether such work is running now. The window manager's close box is held back with the
// input: a box closed meanwhile would leave the user with nothing to see of the program.
bool UiInputHeldBack();

}  // namespace platform

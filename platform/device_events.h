#pragma once
// Device arrival and removal as the program sees them: WM_DEVICECHANGE for top-level windows.

#include <functional>

#include "platform/win_types.h"

namespace platform {

// Where device-change events go. The window layer installs a sink that sends
// WM_DEVICECHANGE(event) to every top-level window; tests may install their own.
void SetDeviceChangeSink(std::function<void(UINT event)> sink);

// Hands one event to the sink, on the calling (UI) thread.
void RaiseDeviceChange(UINT event);

// Watches kernel tty events and the port namespace directory; needs the Qt application. An
// entry that is replaced under the same name (a new device behind COMn) is a removal and an
// arrival.
void StartDeviceWatch();
void StopDeviceWatch();

// Raises at once what the watch has not reported yet: entries of the port directory that came,
// went or were replaced, and kernel events already queued. For a caller that must know whether
// a failing port has simply gone away before it tells the user anything.
void PollDeviceChanges();

}  // namespace platform

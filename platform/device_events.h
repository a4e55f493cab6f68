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

// Watches kernel tty events and the port namespace directory; needs the Qt application.
void StartDeviceWatch();
void StopDeviceWatch();

}  // namespace platform

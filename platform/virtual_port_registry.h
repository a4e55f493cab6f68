#pragma once
// The lookup side of virtual ports, for the communications layer.

#include <memory>

#include "platform/virtual_port.h"

namespace platform {

// The line bound to COM`number` now, or null.
std::shared_ptr<VirtualLine> BoundVirtualPort(int number);

}  // namespace platform

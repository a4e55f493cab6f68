#include <map>
#include <mutex>

#include "platform/device_events.h"
#include "platform/virtual_port_registry.h"

namespace platform {
namespace {

std::mutex g_mutex;
std::map<int, std::shared_ptr<VirtualLine>>& Bindings() {
    static std::map<int, std::shared_ptr<VirtualLine>> bindings;
    return bindings;
}

}  // namespace

void BindVirtualPort(int number, std::shared_ptr<VirtualLine> line, bool announce) {
    {
        std::lock_guard lock(g_mutex);
        Bindings()[number] = std::move(line);
    }
    if (announce) RaiseDeviceChange(DBT_DEVICEARRIVAL);
}

void UnbindVirtualPort(int number, bool announce) {
    bool removed;
    {
        std::lock_guard lock(g_mutex);
        removed = Bindings().erase(number) > 0;
    }
    if (announce && removed) RaiseDeviceChange(DBT_DEVICEREMOVECOMPLETE);
}

void UnbindAllVirtualPorts() {
    std::lock_guard lock(g_mutex);
    Bindings().clear();
}

std::shared_ptr<VirtualLine> BoundVirtualPort(int number) {
    std::lock_guard lock(g_mutex);
    auto it = Bindings().find(number);
    return it == Bindings().end() ? nullptr : it->second;
}

}  // namespace platform

#include "platform/device_events.h"

#include <utility>

namespace platform {
namespace {
std::function<void(UINT)>& Sink() {
    static std::function<void(UINT)> sink;
    return sink;
}
}  // namespace

void SetDeviceChangeSink(std::function<void(UINT event)> sink) {
    Sink() = std::move(sink);
}

void RaiseDeviceChange(UINT event) {
    if (Sink()) Sink()(event);
}

}  // namespace platform

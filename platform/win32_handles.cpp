#include "platform/win32_handles.h"

#include <mutex>
#include <unordered_map>

#include "platform/win32_errors.h"

namespace platform {
namespace {

std::mutex g_mutex;
// Never destroyed: the global port object closes its handle from a destructor that runs after
// every function-local static is gone.
std::unordered_map<HANDLE, std::unique_ptr<HandleRecord>>& Records() {
    static auto* records = new std::unordered_map<HANDLE, std::unique_ptr<HandleRecord>>;
    return *records;
}

}  // namespace

HANDLE RegisterHandle(std::unique_ptr<HandleRecord> record) {
    HANDLE handle = record.get();
    std::lock_guard lock(g_mutex);
    Records().emplace(handle, std::move(record));
    return handle;
}

HandleRecord* FindHandle(HANDLE handle) {
    std::lock_guard lock(g_mutex);
    auto it = Records().find(handle);
    return it == Records().end() ? nullptr : it->second.get();
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
    std::unique_ptr<platform::HandleRecord> record;
    {
        std::lock_guard lock(platform::g_mutex);
        auto it = platform::Records().find(handle);
        if (it == platform::Records().end()) return platform::FailWith(ERROR_INVALID_HANDLE);
        record = std::move(it->second);
        platform::Records().erase(it);
    }
    return TRUE;  // the record closes what it holds as it goes
}

#pragma once
// Handles are opaque pointers to records the layer owns (never file descriptors cast to
// pointers), so a stale or made-up handle is recognised and refused instead of reaching the OS.

#include <memory>

#include "platform/win_types.h"

namespace platform {

struct HandleRecord {
    virtual ~HandleRecord() = default;
};

HANDLE RegisterHandle(std::unique_ptr<HandleRecord> record);

// The live record behind `handle` if it is one and of type T, else null.
HandleRecord* FindHandle(HANDLE handle);
template <class T>
T* FindHandleOf(HANDLE handle) {
    return dynamic_cast<T*>(FindHandle(handle));
}

}  // namespace platform

// Releases the record (and whatever it holds open). FALSE with ERROR_INVALID_HANDLE otherwise.
BOOL CloseHandle(HANDLE handle);

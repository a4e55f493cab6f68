// A port on a virtual line: what the program writes goes to the line at once; the line decides
// when its answers have arrived, on the active clock.

#include <mutex>
#include <set>

#include "platform/comm_port.h"
#include "platform/virtual_port_registry.h"

namespace platform {
namespace {

// Virtual ports open now, for exclusive access, and their lock. Never destroyed: the program's
// port is a global that may still close its handle after this file's statics would be gone.
std::mutex& HeldMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}
std::set<int>& Held() {
    static auto* held = new std::set<int>;
    return *held;
}

class VirtualCommPort : public CommPort {
  public:
    VirtualCommPort(int number, std::shared_ptr<VirtualLine> line)
        : m_number(number), m_line(std::move(line)), m_state(DefaultState()) {}
    ~VirtualCommPort() override {
        std::lock_guard lock(HeldMutex());
        Held().erase(m_number);
    }

    bool GetState(DCB& dcb) override {
        if (!Present()) return false;
        dcb = m_state;
        return true;
    }
    bool SetState(const DCB& dcb) override {
        if (!Present()) return false;
        m_state = dcb;
        return true;
    }
    bool Purge(DWORD flags) override {
        if (!Present()) return false;
        if (flags & PURGE_RXCLEAR) m_line->DiscardInput(Now());
        return true;
    }
    bool Status(DWORD& errors, COMSTAT& status) override {
        if (!Present()) return false;
        errors = 0;
        status = COMSTAT{};
        status.cbInQue = static_cast<DWORD>(m_line->Available(Now()));
        return true;
    }
    bool Read(void* buffer, DWORD count, DWORD& read) override {
        if (!Present()) return false;
        read = static_cast<DWORD>(m_line->Read(static_cast<std::uint8_t*>(buffer), count, Now()));
        return true;
    }
    bool Write(const void* buffer, DWORD count, DWORD& written) override {
        if (!Present()) return false;
        m_line->Write(static_cast<const std::uint8_t*>(buffer), count, Now());
        written = count;
        return true;
    }

  private:
    // Gone when the line says so, or when COMn was unbound or bound to another line.
    bool Present() {
        if (m_line->Present() && BoundVirtualPort(m_number) == m_line) return true;
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return false;
    }

    int m_number;
    std::shared_ptr<VirtualLine> m_line;
    DCB m_state;
};

}  // namespace

std::unique_ptr<CommPort> OpenVirtualPort(int number, std::shared_ptr<VirtualLine> line) {
    if (!line->Present()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard lock(HeldMutex());
    if (!Held().insert(number).second) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return std::make_unique<VirtualCommPort>(number, std::move(line));
}

}  // namespace platform

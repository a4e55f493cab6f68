#include "platform/win32_comm.h"

#include <strings.h>

#include <cstring>

#include "platform/comm_port.h"
#include "platform/port_namespace.h"
#include "platform/virtual_port_registry.h"

namespace platform {
namespace {

CommPort* FindPort(HANDLE port) {
    CommPort* p = FindHandleOf<CommPort>(port);
    if (!p) SetLastError(ERROR_INVALID_HANDLE);
    return p;
}

}  // namespace

int InputDescriptorOf(HANDLE handle) {
    const CommPort* p = FindHandleOf<CommPort>(handle);
    return p ? p->InputDescriptor() : -1;
}

namespace {

struct EventRecord : HandleRecord {
    bool manualReset;
    bool signalled;
};

// A non-null address to stand for the one module the program looks up.
char g_kernelModule;

BOOL CancelIoEntry(HANDLE) {
    return TRUE;
}

}  // namespace

bool IsSupportedState(const DCB& dcb) {
    bool ok = dcb.ByteSize >= 5 && dcb.ByteSize <= 8 && dcb.Parity <= SPACEPARITY &&
              dcb.StopBits <= TWOSTOPBITS;
    // termios has one "long stop" bit: 1.5 stop bits with 5 data bits, 2 otherwise.
    if (dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5) ok = false;
    if (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5) ok = false;
    if (dcb.fOutxDsrFlow || dcb.fDtrControl == DTR_CONTROL_HANDSHAKE || dcb.fDsrSensitivity)
        ok = false;
    if (dcb.fRtsControl == RTS_CONTROL_TOGGLE) ok = false;
    if (!ok) SetLastError(ERROR_INVALID_PARAMETER);
    return ok;
}

DCB DefaultState() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = 9600;
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

}  // namespace platform

using namespace platform;

HANDLE CreateFileA(const char* name, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD creation, DWORD flags, HANDLE templateFile) {
    auto number = name ? ParsePortName(name) : std::nullopt;
    if (!number) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::unique_ptr<CommPort> port;
    if (auto line = BoundVirtualPort(*number)) {
        port = OpenVirtualPort(*number, std::move(line));
    } else if (auto path = ResolvePort(*number)) {
        port = OpenTtyPort(*path);
    } else {
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    if (!port) return INVALID_HANDLE_VALUE;
    SetLastError(ERROR_SUCCESS);
    return RegisterHandle(std::move(port));
}

BOOL GetCommState(HANDLE port, DCB* dcb) {
    CommPort* p = FindPort(port);
    if (!p) return FALSE;
    if (!dcb) return FailWith(ERROR_INVALID_PARAMETER);
    DCB state{};
    if (!p->GetState(state)) return FALSE;
    state.DCBlength = dcb->DCBlength ? dcb->DCBlength : sizeof(DCB);
    *dcb = state;
    return TRUE;
}

BOOL SetCommState(HANDLE port, DCB* dcb) {
    CommPort* p = FindPort(port);
    if (!p) return FALSE;
    if (!dcb) return FailWith(ERROR_INVALID_PARAMETER);
    if (!IsSupportedState(*dcb)) return FALSE;
    return p->SetState(*dcb) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE port, DWORD flags) {
    CommPort* p = FindPort(port);
    if (!p) return FALSE;
    return p->Purge(flags) ? TRUE : FALSE;
}

BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status) {
    CommPort* p = FindPort(port);
    if (!p) return FALSE;
    DWORD e = 0;
    COMSTAT s{};
    if (!p->Status(e, s)) return FALSE;
    if (errors) *errors = e;
    if (status) *status = s;
    return TRUE;
}

BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* read, OVERLAPPED* overlapped) {
    if (read) *read = 0;
    CommPort* p = FindPort(port);
    if (!p) return FALSE;
    if (!buffer && count) return FailWith(ERROR_INVALID_PARAMETER);
    DWORD n = 0;
    if (!p->Read(buffer, count, n)) return FALSE;
    if (read) *read = n;
    return TRUE;
}

BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* written,
               OVERLAPPED* overlapped) {
    if (written) *written = 0;
    CommPort* p = FindPort(port);
    if (!p) return FALSE;
    if (!buffer && count) return FailWith(ERROR_INVALID_PARAMETER);
    DWORD n = 0;
    if (!p->Write(buffer, count, n)) return FALSE;
    if (written) *written = n;
    return TRUE;
}

HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState,
                    const char* name) {
    auto event = std::make_unique<EventRecord>();
    event->manualReset = manualReset != FALSE;
    event->signalled = initialState != FALSE;
    return RegisterHandle(std::move(event));
}

HMODULE GetModuleHandleA(const char* moduleName) {
    if (moduleName &&
        (strcasecmp(moduleName, "KERNEL32.DLL") == 0 || strcasecmp(moduleName, "KERNEL32") == 0))
        return &g_kernelModule;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
    if (module == &g_kernelModule && procName && std::strcmp(procName, "CancelIo") == 0)
        return &CancelIoEntry;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

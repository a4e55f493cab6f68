#include "bus/serial_port.h"

#include <iterator>

namespace {

// The line-state fields each flow-control mode sets; fields a mode does not name keep what the
// driver reported.
struct FlowMode {
    unsigned cts, dsr;
    bool rtsHandshake, dtrHandshake, xonXoff;
};
constexpr FlowMode kFlowModes[] = {
    {0, 0, false, false, false},  // 0 none
    {1, 0, true, false, false},   // 1 CTS with RTS handshake
    {1, 0, false, true, false},   // 2 CTS with DTR handshake
    {0, 1, true, false, false},   // 3 DSR with RTS handshake
    {0, 1, false, true, false},   // 4 DSR with DTR handshake
    {0, 0, false, false, true},   // 5 XON/XOFF
};

void ApplyFlowControl(DCB& dcb, int mode) {
    if (mode < 0 || mode >= static_cast<int>(std::size(kFlowModes))) return;
    const FlowMode& m = kFlowModes[mode];
    dcb.fOutxCtsFlow = m.cts;
    dcb.fOutxDsrFlow = m.dsr;
    if (m.rtsHandshake) dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    if (m.dtrHandshake) dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    dcb.fOutX = m.xonXoff;
    dcb.fInX = m.xonXoff;
    if (m.xonXoff) {
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 100;
        dcb.XoffLim = 100;
    }
}

}  // namespace

CSerialPort::CSerialPort() : m_hPort(INVALID_HANDLE_VALUE), m_hIoEvent(nullptr) {
    m_hKernelModule = GetModuleHandleA("KERNEL32.DLL");
    m_pfnCancelIo = m_hKernelModule ? GetProcAddress(m_hKernelModule, "CancelIo") : nullptr;
}

CSerialPort::~CSerialPort() {
    Close();
}

void CSerialPort::OnCompletion(DWORD error, DWORD bytesTransferred, OVERLAPPED* overlapped) {
    delete overlapped;
}

void CSerialPort::Open(const char* port, DWORD baudRate, int parity, BYTE dataBits, int stopBits,
                       int flowControl, BOOL overlapped) {
    Close();
    m_hPort = CreateFileA(port, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (m_hPort == INVALID_HANDLE_VALUE) ThrowSerialException(GetLastError());

    m_hIoEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_hIoEvent) {
        DWORD error = GetLastError();
        Close();
        ThrowSerialException(error);
    }

    // A failed state read or write must not leave a half-opened port behind.
    try {
        DCB dcb{};
        dcb.DCBlength = sizeof(DCB);
        GetState(dcb);
        dcb.BaudRate = baudRate;
        if (parity >= 0 && parity <= 4) dcb.Parity = static_cast<BYTE>(parity);
        dcb.ByteSize = dataBits;
        if (stopBits >= 0 && stopBits <= 2) dcb.StopBits = static_cast<BYTE>(stopBits);
        dcb.fDsrSensitivity = 0;
        ApplyFlowControl(dcb, flowControl);
        SetState(dcb);
    } catch (CSerialException*) {
        Close();
        throw;
    }
}

void CSerialPort::Close() {
    if (IsOpen()) {
        CloseHandle(m_hPort);
        m_hPort = INVALID_HANDLE_VALUE;
        if (m_hIoEvent) {
            CloseHandle(m_hIoEvent);
            m_hIoEvent = nullptr;
        }
    }
}

DWORD CSerialPort::Read(void* buffer, DWORD count) {
    DWORD read = 0;
    if (!ReadFile(m_hPort, buffer, count, &read, nullptr)) ThrowSerialException();
    return read;
}

DWORD CSerialPort::Write(const void* buffer, DWORD count) {
    DWORD written = 0;
    if (!WriteFile(m_hPort, buffer, count, &written, nullptr)) {
        DWORD errors = GetLastError();
        ClearError(errors);
    }
    return written;
}

void CSerialPort::Purge(DWORD flags) {
    if (!PurgeComm(m_hPort, flags)) ThrowSerialException();
}

void CSerialPort::GetState(DCB& dcb) {
    if (!GetCommState(m_hPort, &dcb)) ThrowSerialException();
}

void CSerialPort::SetState(DCB& dcb) {
    if (!SetCommState(m_hPort, &dcb)) ThrowSerialException();
}

void CSerialPort::GetStatus(COMSTAT& status) {
    DWORD errors = 0;
    if (!ClearCommError(m_hPort, &errors, &status)) ThrowSerialException();
}

DWORD CSerialPort::BytesWaiting() {
    COMSTAT status{};
    GetStatus(status);
    return status.cbInQue;
}

void CSerialPort::ClearError(DWORD& errors) {
    ClearCommError(m_hPort, &errors, nullptr);
}

void CSerialPort::ThrowSerialException(DWORD error) {
    if (error == 0) error = GetLastError();
    throw new CSerialException(error);
}

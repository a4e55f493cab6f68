#pragma once
// Serial communications as the port wrapper uses them, on termios. Ports are opened by name
// ("COMn") through the port namespace, or a virtual line bound to that name; nothing else can be
// opened here. I/O is synchronous and a read takes only what is already waiting, so a caller
// polling from a timer never blocks on the line.
//
// A device that vanished while open (USB adapter pulled, pty master closed, virtual line no
// longer present) fails every call on the handle with ERROR_DEVICE_NOT_CONNECTED.
//
// Line settings: any standard baud rate, 5 to 8 data bits, the five parities, one or two stop
// bits (one and a half with 5 data bits), RTS/CTS and XON/XOFF flow control. DSR flow control and
// DTR handshaking have no termios counterpart and are refused, as is any setting the device does
// not take on (a pty, for one, only carries 8 bits without parity).

#include "platform/win32_errors.h"
#include "platform/win32_handles.h"
#include "platform/win_types.h"

using HMODULE = void*;
using FARPROC = BOOL (*)(HANDLE);
struct SECURITY_ATTRIBUTES;

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

// Line-error bits of ClearCommError.
constexpr DWORD CE_RXOVER = 0x0001;
constexpr DWORD CE_OVERRUN = 0x0002;
constexpr DWORD CE_RXPARITY = 0x0004;
constexpr DWORD CE_FRAME = 0x0008;
constexpr DWORD CE_BREAK = 0x0010;

struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};

struct COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};

// Carried for the wrapper's signatures; no transfer here is overlapped.
struct OVERLAPPED {
    DWORD_PTR Internal = 0;
    DWORD_PTR InternalHigh = 0;
    DWORD Offset = 0;
    DWORD OffsetHigh = 0;
    HANDLE hEvent = nullptr;
};

// Opens port `name` for reading and writing, exclusively: a port held by anyone, in this process
// or another, is refused with ERROR_ACCESS_DENIED; no such port gives ERROR_FILE_NOT_FOUND.
// Sharing, security, creation and flags are accepted and ignored (transfers are synchronous).
HANDLE CreateFileA(const char* name, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD creation, DWORD flags, HANDLE templateFile);

BOOL GetCommState(HANDLE port, DCB* dcb);
BOOL SetCommState(HANDLE port, DCB* dcb);
BOOL PurgeComm(HANDLE port, DWORD flags);
// `errors` and `status` may each be null; cbInQue is the count of bytes waiting to be read.
BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status);
// Takes at most `count` of the bytes already waiting; none waiting reads 0 bytes at once.
BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* read, OVERLAPPED* overlapped);
// Writes all `count` bytes unless the line stays blocked for seconds (then TRUE with fewer).
BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* written,
               OVERLAPPED* overlapped);

// A manual- or auto-reset event the program only creates and closes.
HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState,
                    const char* name);

// "KERNEL32.DLL" and its "CancelIo" exist, so the lookups succeed; the entry does nothing since
// no transfer is ever in flight. Any other module or entry is not found.
HMODULE GetModuleHandleA(const char* moduleName);
FARPROC GetProcAddress(HMODULE module, const char* procName);

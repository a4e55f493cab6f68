#pragma once
// The program's serial port: one communications handle with synchronous open, close, read,
// write, purge and status. Failures throw CSerialException* (except Write, ClearError, Close).

#include "bus/serial_exception.h"
#include "platform/win32_comm.h"

class CSerialPort {
  public:
    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Releases the overlapped record handed to it; no transfer of this program completes here.
    virtual void OnCompletion(DWORD error, DWORD bytesTransferred, OVERLAPPED* overlapped);

    // parity 0..4 and stopBits 0..2 as the line-state codes (others keep the driver's value);
    // flowControl 0 none, 1 CTS/RTS, 2 CTS/DTR, 3 DSR/RTS, 4 DSR/DTR, 5 XON/XOFF (others keep
    // the driver's flow settings). Any failure leaves the port closed.
    void Open(const char* port, DWORD baudRate = 57600, int parity = NOPARITY, BYTE dataBits = 8,
              int stopBits = ONESTOPBIT, int flowControl = 0, BOOL overlapped = FALSE);
    void Close();
    BOOL IsOpen() const { return m_hPort != INVALID_HANDLE_VALUE; }
    HANDLE GetHandle() const { return m_hPort; }

    DWORD Read(void* buffer, DWORD count);
    DWORD Write(const void* buffer, DWORD count);
    void Purge(DWORD flags);
    void ClearReadBuffer() { Purge(PURGE_RXCLEAR); }
    void ClearWriteBuffer() { Purge(PURGE_TXCLEAR); }
    void GetState(DCB& dcb);
    void SetState(DCB& dcb);
    void GetStatus(COMSTAT& status);
    DWORD BytesWaiting();
    void ClearError(DWORD& errors);

    [[noreturn]] static void ThrowSerialException(DWORD error = 0);

  protected:
    HANDLE m_hPort;
    HANDLE m_hIoEvent;
    HMODULE m_hKernelModule;
    FARPROC m_pfnCancelIo;
};

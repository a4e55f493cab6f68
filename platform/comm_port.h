#pragma once
// The record behind an open port handle: a tty on termios or a virtual line. Each operation
// returns false with the last error set.

#include <memory>
#include <string>

#include "platform/virtual_port.h"
#include "platform/win32_comm.h"

namespace platform {

class CommPort : public HandleRecord {
  public:
    virtual bool GetState(DCB& dcb) = 0;
    virtual bool SetState(const DCB& dcb) = 0;
    virtual bool Purge(DWORD flags) = 0;
    virtual bool Status(DWORD& errors, COMSTAT& status) = 0;
    virtual bool Read(void* buffer, DWORD count, DWORD& read) = 0;
    virtual bool Write(const void* buffer, DWORD count, DWORD& written) = 0;
    // The descriptor that becomes readable when bytes arrive; -1 where there is none (a
    // virtual line, whose bytes come on the virtual clock).
    virtual int InputDescriptor() const { return -1; }
};

// The input descriptor of the port behind `handle`, or -1.
int InputDescriptorOf(HANDLE handle);

// Null with the last error set when the port cannot be had.
std::unique_ptr<CommPort> OpenTtyPort(const std::string& path);
std::unique_ptr<CommPort> OpenVirtualPort(int number, std::shared_ptr<VirtualLine> line);

// Whether a line-state record asks for something this layer can do at all (the device may
// still refuse it). Sets ERROR_INVALID_PARAMETER when not.
bool IsSupportedState(const DCB& dcb);

// What a freshly opened port reports before anything is set: 8N1 without flow control.
DCB DefaultState();

}  // namespace platform

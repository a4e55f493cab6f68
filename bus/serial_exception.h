#pragma once
// What the serial port wrapper throws (by pointer): a Win32 error code and its system text.

#include "platform/exception.h"
#include "platform/win_types.h"

class CSerialException : public CException {
  public:
    explicit CSerialException(DWORD error);
    ~CSerialException() override = default;

    // The system text of m_dwErrorCode, cut to maxChars - 1 characters; FALSE and an empty
    // text when the code has none.
    BOOL GetErrorMessage(char* text, UINT maxChars, UINT* helpContext = nullptr) override;
    // The const form has no text of its own, like the base's.
    BOOL GetErrorMessage(char* text, UINT maxChars, UINT* helpContext = nullptr) const;

    DWORD m_dwErrorCode;
};

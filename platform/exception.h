#pragma once
// The class library's exception base: thrown by pointer, deleted by whoever catches it.

#include "platform/win_types.h"

class CException {
  public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    virtual ~CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // Fills `text` (at most maxChars - 1 characters and a terminator) with the error's message.
    virtual BOOL GetErrorMessage(char* text, UINT maxChars, UINT* helpContext = nullptr) {
        if (helpContext) *helpContext = 0;
        if (text && maxChars) text[0] = '\0';
        return FALSE;
    }
    // Shows the message in a stop-icon box (the framework's internal-failure text when
    // there is none); returns the box's result.
    virtual int ReportError(UINT type = 0x10 /*MB_ICONSTOP*/, UINT messageId = 0);

    void Delete() {
        if (m_bAutoDelete) delete this;
    }

    BOOL m_bAutoDelete;
};

// Thrown by data exchange when a field fails validation; its box has already been shown.
class CUserException : public CException {};

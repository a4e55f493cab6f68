#include "bus/serial_exception.h"

#include "platform/win32_errors.h"

CSerialException::CSerialException(DWORD error) : CException(TRUE), m_dwErrorCode(error) {}

BOOL CSerialException::GetErrorMessage(char* text, UINT maxChars, UINT* helpContext) {
    if (helpContext) *helpContext = 0;
    char* systemText = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, m_dwErrorCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
        reinterpret_cast<char*>(&systemText), 0, nullptr);
    if (length == 0) {
        if (text && maxChars) text[0] = '\0';
        return FALSE;
    }
    lstrcpynA(text, systemText, static_cast<int>(maxChars));
    LocalFree(systemText);
    return TRUE;
}

BOOL CSerialException::GetErrorMessage(char* text, UINT maxChars, UINT* helpContext) const {
    if (helpContext) *helpContext = 0;
    if (text && maxChars) text[0] = '\0';
    return FALSE;
}

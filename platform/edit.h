#pragma once
// Single-line edits, read-only or not.

#include "platform/wnd.h"

class CEdit : public CWnd {
  public:
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void SetLimitText(UINT maxChars);
    void SetSel(int start, int end, BOOL noScroll = FALSE);
};

#pragma once
// Tab controls: items, the selection, and TCN_SELCHANGE when the user picks a tab. Its client
// rectangle is the whole control, as on the platform; pages are placed inside it.

#include "platform/wnd.h"

class CTabCtrl : public CWnd {
  public:
    LONG InsertItem(int index, const char* text);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    CString GetItemText(int index) const;
};

#pragma once
// Combo boxes: drop-down with an edit field or drop-down list, sorted or not. Only a user's
// choice raises CBN_SELCHANGE; selecting by program is silent.

#include "platform/wnd.h"

class CComboBox : public CWnd {
  public:
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, const char* text) const;
    int SelectString(int startAfter, const char* text);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
};

namespace platform {
// The order a sorted list uses: case-insensitive, character by character.
int CompareListText(const char* a, const char* b);
}  // namespace platform

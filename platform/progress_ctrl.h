#pragma once
// Progress bars; the program also drives them with PBM_* messages.

#include "platform/wnd.h"

class CProgressCtrl : public CWnd {
  public:
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    int SetPos(int pos);
    int GetPos() const;
    COLORREF SetBarColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
};

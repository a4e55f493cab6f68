#pragma once
// Push buttons, check boxes, radio buttons and group boxes.

#include "platform/wnd.h"

class CButton : public CWnd {
  public:
    int GetCheck() const;
    void SetCheck(int check);
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
};

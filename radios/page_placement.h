#pragma once
// How the radio pages' hosts place a hosted page: at a rectangle of the host's frame, on top,
// shown or hidden.

#include "platform/afx.h"

namespace radios {

inline void PlacePage(CDialogEx& page, const CRect& r, bool show) {
    page.SetWindowPos(&CWnd::wndTop, r.left, r.top, r.Width(), r.Height(),
                      show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
}

}  // namespace radios

#pragma once
// Static text and pictures.

#include "platform/bitmaps.h"
#include "platform/wnd.h"

class CStatic : public CWnd {
  public:
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
};

#pragma once
// The paint context a WM_PAINT handler opens, and the drawing the program does with it.

#include <memory>

#include "platform/wnd.h"

class QPainter;

class CDC {
  public:
    virtual ~CDC();
    BOOL DrawIcon(int x, int y, HICON icon);

  protected:
    std::unique_ptr<QPainter> m_painter;
};

class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;
};

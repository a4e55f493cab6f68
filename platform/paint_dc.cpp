#include "platform/paint_dc.h"

#include <QIcon>
#include <QPainter>
#include <QWidget>

#include "platform/bitmaps.h"

CDC::~CDC() = default;

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    if (!m_painter || !icon) return FALSE;
    platform::IconOf(icon).paint(m_painter.get(), x, y, 32, 32);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* window) {
    // Only a window being painted can be drawn on; elsewhere the context draws nothing.
    if (window && window->m_hWnd && window->m_hWnd->paintingActive() == false &&
        window->m_hWnd->testAttribute(Qt::WA_WState_InPaintEvent))
        m_painter = std::make_unique<QPainter>(window->m_hWnd);
}

CPaintDC::~CPaintDC() = default;

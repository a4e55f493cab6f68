#include "platform/tab_ctrl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

#include "platform/control_notify.h"
#include "platform/styles.h"
#include "platform/tab_widget.h"

namespace platform {

TabWidget::TabWidget(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setExpanding(false);
    m_bar->setDrawBase(false);
    m_bar->hide();
    QObject::connect(m_bar, &QTabBar::currentChanged, this, [this](int) {
        if (m_byProgram) return;
        NMHDR header;
        header.code = TCN_SELCHANGE;
        NotifyParent(this, &header);
    });
}

void TabWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void TabWidget::Relayout() {
    m_bar->setVisible(m_bar->count() > 0);
    m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    m_bar->raise();
}

void TabWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    int top = m_bar->isVisible() ? m_bar->height() : 0;
    frame.rect = rect().adjusted(0, top, 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace platform

namespace {

platform::TabWidget* Tabs(const CWnd* w) {
    return dynamic_cast<platform::TabWidget*>(w->m_hWnd);
}

}  // namespace

LONG CTabCtrl::InsertItem(int index, const char* text) {
    platform::TabWidget* t = Tabs(this);
    if (!t || index < 0) return -1;
    int at = 0;
    t->Quietly([&] { at = t->Bar()->insertTab(index, QString::fromUtf8(text ? text : "")); });
    return at;
}

BOOL CTabCtrl::DeleteItem(int index) {
    platform::TabWidget* t = Tabs(this);
    if (!t || index < 0 || index >= t->Bar()->count()) return FALSE;
    t->Quietly([&] { t->Bar()->removeTab(index); });
    return TRUE;
}

BOOL CTabCtrl::DeleteAllItems() {
    platform::TabWidget* t = Tabs(this);
    if (!t) return FALSE;
    t->Quietly([&] {
        while (t->Bar()->count()) t->Bar()->removeTab(0);
    });
    return TRUE;
}

int CTabCtrl::GetItemCount() const {
    platform::TabWidget* t = Tabs(this);
    return t ? t->Bar()->count() : 0;
}

int CTabCtrl::GetCurSel() const {
    platform::TabWidget* t = Tabs(this);
    return t ? t->Bar()->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int index) {
    platform::TabWidget* t = Tabs(this);
    if (!t || index < 0 || index >= t->Bar()->count()) return -1;
    int before = t->Bar()->currentIndex();
    t->Quietly([&] { t->Bar()->setCurrentIndex(index); });
    return before;
}

CString CTabCtrl::GetItemText(int index) const {
    platform::TabWidget* t = Tabs(this);
    if (!t || index < 0 || index >= t->Bar()->count()) return CString();
    return CString(t->Bar()->tabText(index).toUtf8().constData());
}

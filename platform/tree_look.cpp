#include "platform/tree_look.h"

#include <QHelpEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "platform/styles.h"

namespace platform {
namespace {

// The branch column of every level: lines in the checkered dots of a dotted tree, and with
// buttons a boxed plus or minus on items with children.
class TreeLinesStyle : public QProxyStyle {
  public:
    explicit TreeLinesStyle(bool buttons) : m_buttons(buttons) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* opt, QPainter* p,
                       const QWidget* widget) const override {
        if (element != PE_IndicatorBranch) {
            QProxyStyle::drawPrimitive(element, opt, p, widget);
            return;
        }
        const QRect r = opt->rect;
        const int midX = r.x() + r.width() / 2;
        const int midY = r.y() + r.height() / 2;
        // The pattern is laid from the widget's origin, so the dots of one line meet those of
        // the rows above and below.
        const QBrush dots(opt->palette.color(QPalette::Dark), Qt::Dense4Pattern);
        if (opt->state & State_Item) p->fillRect(midX, midY, r.right() - midX + 1, 1, dots);
        if (opt->state & State_Sibling) p->fillRect(midX, midY, 1, r.bottom() - midY + 1, dots);
        if (opt->state & (State_Item | State_Sibling | State_Children | State_Open))
            p->fillRect(midX, r.top(), 1, midY - r.top(), dots);
        if (m_buttons && (opt->state & State_Children)) DrawButton(opt, p, midX, midY);
    }

  private:
    static void DrawButton(const QStyleOption* opt, QPainter* p, int midX, int midY) {
        constexpr int kHalf = 4;  // a 9-pixel box
        const QRect box(midX - kHalf, midY - kHalf, 2 * kHalf + 1, 2 * kHalf + 1);
        p->save();
        p->fillRect(box, opt->palette.color(QPalette::Base));
        p->setPen(opt->palette.color(QPalette::Dark));
        p->drawRect(box.adjusted(0, 0, -1, -1));
        p->setPen(opt->palette.color(QPalette::Text));
        p->drawLine(midX - 2, midY, midX + 2, midY);
        if (!(opt->state & State_Open)) p->drawLine(midX, midY - 2, midX, midY + 2);
        p->restore();
    }

    bool m_buttons;
};

// Items drawn as the view's own delegate draws them; a tip with the whole text of an item the
// view cuts off, and none over an item shown whole.
class InfoTipDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        // The tip stays while the mouse is over the item it names.
        if (Elided(item, view))
            QToolTip::showText(event->globalPos(), item.text, view->viewport(), option.rect);
        else
            QToolTip::hideText();
        return true;
    }

  private:
    // The text's place as the style lays an item out, less the margins it keeps on both sides.
    static bool Elided(const QStyleOptionViewItem& item, const QWidget* view) {
        const QStyle* style = view->style();
        const QRect place = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        return QFontMetricsF(item.font).horizontalAdvance(item.text) > place.width() - 2 * margin;
    }
};

}  // namespace

void ApplyTreeStyle(QTreeWidget* tree, DWORD style) {
    tree->setRootIsDecorated(style & TVS_LINESATROOT);
    if (style & TVS_HASLINES) {
        // A widget does not own its style: the tree's children go with it.
        auto* lines = new TreeLinesStyle(style & TVS_HASBUTTONS);
        lines->setParent(tree);
        tree->setStyle(lines);
    }
    if (style & TVS_INFOTIP) tree->setItemDelegate(new InfoTipDelegate(tree));
}

}  // namespace platform

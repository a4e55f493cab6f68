#include "platform/static_label.h"

#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace platform {
namespace {

constexpr qreal kSlackPixels = 2.0;

}  // namespace

QStringList StaticTextLines(const QFont& font, int width, const QString& text) {
    QStringList lines;
    // Explicit line breaks end a line as well as a full one does.
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width + kSlackPixels);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines;
}

void StaticLabel::paintEvent(QPaintEvent* event) {
    if (!wordWrap() || text().isEmpty() || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect r = contentsRect();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::WindowText));
    const QFontMetrics metrics(font());
    const Qt::Alignment align = alignment();
    const QStringList lines = StaticTextLines(font(), r.width(), text());
    int y = r.top();
    if (align & Qt::AlignVCenter)
        y += (r.height() - static_cast<int>(lines.size()) * metrics.lineSpacing()) / 2;
    for (const QString& line : lines) {
        // A line may overrun by the slack; it is drawn whole rather than cut at the edge.
        const int w = static_cast<int>(std::ceil(metrics.horizontalAdvance(line)));
        int x = r.left();
        if (align & Qt::AlignHCenter) x += (r.width() - w) / 2;
        if (align & Qt::AlignRight) x += r.width() - w;
        painter.drawText(QRect(x, y, w + 4, metrics.lineSpacing()), Qt::AlignLeft | Qt::AlignTop,
                         line);
        y += metrics.lineSpacing();
    }
}

}  // namespace platform

// Path bar layout and drawing.
#include "controls/ITPathbarCell.h"

#include <QPainter>
#include <QPainterPath>

QList<QRectF> ITPathbarCell::componentRects(
    const QList<ITPathbarComponentCell> &cells, const QRectF &bounds, const QFont &font) const
{
    QList<qreal> widths;
    qreal total = 0;
    for (const ITPathbarComponentCell &cell : cells) {
        widths << cell.fullWidth(font);
        total += widths.back();
    }
    total += kSeparatorWidth * std::max<qsizetype>(0, cells.size() - 1);
    for (qsizetype i = 0; i + 1 < cells.size() && total > bounds.width(); ++i) {
        total -= widths[i] - ITPathbarComponentCell::iconOnlyWidth();
        widths[i] = ITPathbarComponentCell::iconOnlyWidth();
    }
    if (!widths.isEmpty() && total > bounds.width())
        widths.back() = std::max<qreal>(
            ITPathbarComponentCell::iconOnlyWidth(), widths.back() - (total - bounds.width()));
    QList<QRectF> rects;
    qreal x = bounds.left();
    for (const qreal width : widths) {
        rects << QRectF(x, bounds.top(), width, bounds.height());
        x += width + kSeparatorWidth;
    }
    return rects;
}

void ITPathbarCell::draw(QPainter &painter, const QRectF &bounds, const QList<ITPathbarComponentCell> &cells,
    const QFont &font) const
{
    const QList<QRectF> rects = componentRects(cells, bounds, font);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        cells[i].draw(painter, rects[i], font);
        if (i + 1 == cells.size())
            break;
        // A small chevron between components.
        const qreal cx = rects[i].right() + kSeparatorWidth / 2.0;
        const qreal cy = bounds.center().y();
        QPainterPath chevron;
        chevron.moveTo(cx - 2, cy - 4);
        chevron.lineTo(cx + 2, cy);
        chevron.lineTo(cx - 2, cy + 4);
        painter.setPen(QPen(QColor(255, 255, 255, 160), 1.2));
        painter.drawPath(chevron);
    }
    painter.restore();
}

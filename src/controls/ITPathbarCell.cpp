// Path bar layout and drawing.
#include "controls/ITPathbarCell.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace
{

QString ellipsis()
{
    return QString(QChar(0x2026));
}

} // namespace

qreal ITPathbarCell::foldWidth(const QFont &font)
{
    return QFontMetricsF(font).horizontalAdvance(ellipsis());
}

QList<QRectF> ITPathbarCell::componentRects(
    const QList<ITPathbarComponentCell> &cells, const QRectF &bounds, const QFont &font) const
{
    QList<qreal> widths, least;
    qreal total = 0;
    for (const ITPathbarComponentCell &cell : cells) {
        widths << cell.fullWidth(font);
        least << std::min(widths.back(), cell.shortestWidth(font));
        total += widths.back();
    }
    total += kSeparatorWidth * std::max<qsizetype>(0, cells.size() - 1);
    // Each component gives up only what the row still lacks, the earlier levels first.
    const auto shorten = [&](qsizetype i) {
        const qreal cut = std::min(widths[i] - least[i], total - bounds.width());
        if (cut > 0) {
            widths[i] -= cut;
            total -= cut;
        }
    };
    for (qsizetype i = 0; i + 1 < cells.size() && total > bounds.width(); ++i)
        shorten(i);
    if (!cells.isEmpty())
        shorten(cells.size() - 1);
    qsizetype folded = 0;
    for (; folded + 1 < cells.size() && total > bounds.width(); ++folded)
        total -= widths[folded] - (folded == 0 ? foldWidth(font) : -kSeparatorWidth);
    QList<QRectF> rects;
    qreal x = bounds.left() + (folded > 0 ? foldWidth(font) + kSeparatorWidth : 0);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i < folded) {
            rects << QRectF(bounds.left(), bounds.top(), 0, bounds.height());
            continue;
        }
        const qreal width
            = i + 1 == cells.size() ? std::max(least[i], std::min(widths[i], bounds.right() - x)) : widths[i];
        rects << QRectF(x, bounds.top(), width, bounds.height());
        x += width + kSeparatorWidth;
    }
    return rects;
}

void ITPathbarCell::drawSeparator(QPainter &painter, qreal x, const QRectF &bounds)
{
    // A small chevron between components.
    const qreal cx = x + kSeparatorWidth / 2.0;
    const qreal cy = bounds.center().y();
    QPainterPath chevron;
    chevron.moveTo(cx - 2, cy - 4);
    chevron.lineTo(cx + 2, cy);
    chevron.lineTo(cx - 2, cy + 4);
    painter.setPen(QPen(QColor(255, 255, 255, 160), 1.2));
    painter.drawPath(chevron);
}

void ITPathbarCell::draw(QPainter &painter, const QRectF &bounds, const QList<ITPathbarComponentCell> &cells,
    const QFont &font) const
{
    const QList<QRectF> rects = componentRects(cells, bounds, font);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!rects.isEmpty() && rects.front().width() <= 0) {
        const qreal width = foldWidth(font);
        painter.setFont(font);
        painter.setPen(cells.front().textColor());
        painter.drawText(QRectF(bounds.left(), bounds.top(), width, bounds.height()),
            Qt::AlignLeft | Qt::AlignVCenter, ellipsis());
        drawSeparator(painter, bounds.left() + width, bounds);
    }
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (rects[i].width() <= 0)
            continue;
        cells[i].draw(painter, rects[i], font, i + 1 == cells.size() ? Qt::ElideMiddle : Qt::ElideRight);
        if (i + 1 < cells.size())
            drawSeparator(painter, rects[i].right(), bounds);
    }
    painter.restore();
}

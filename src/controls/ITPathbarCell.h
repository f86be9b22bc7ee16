// Lays out and draws the components of a path bar left to right with a separator between them.
// When the row is too narrow, components before the last shrink to their icons, first to last,
// and the last one's title is elided.
#pragma once

#include <QList>
#include <QRectF>

#include "controls/ITPathbarComponentCell.h"

class QFont;
class QPainter;

class ITPathbarCell
{
public:
    virtual ~ITPathbarCell() = default;

    static constexpr int kSeparatorWidth = 14;

    QList<QRectF> componentRects(
        const QList<ITPathbarComponentCell> &cells, const QRectF &bounds, const QFont &font) const;
    virtual void draw(QPainter &painter, const QRectF &bounds, const QList<ITPathbarComponentCell> &cells,
        const QFont &font) const;
};

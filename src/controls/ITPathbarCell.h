// Lays out and draws the components of a path bar left to right with a separator between them.
// Every component shown keeps its name: when the row is too narrow, the names of the components
// before the last are elided, first to last, down to their first letters, then the last one's; when
// even that does not fit, the top levels fold behind a leading "…", each one whole.
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

    // One rectangle per component; a folded component's is empty, at the row's start.
    QList<QRectF> componentRects(
        const QList<ITPathbarComponentCell> &cells, const QRectF &bounds, const QFont &font) const;
    virtual void draw(QPainter &painter, const QRectF &bounds, const QList<ITPathbarComponentCell> &cells,
        const QFont &font) const;

private:
    // The width of the "…" that stands for the folded levels.
    static qreal foldWidth(const QFont &font);
    static void drawSeparator(QPainter &painter, qreal x, const QRectF &bounds);
};

// Draws a list's rows as the style does, each at least a given height and with its text set in a
// little from the left: the focus mark drawn around the current row then stays clear of its letters.
#pragma once

#include <QStyledItemDelegate>

class TallRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Room for a line of text with the focus mark above and below it.
    static constexpr int kRoomForFocusMark = 24;

    explicit TallRowDelegate(QObject *parent, int leastHeight = kRoomForFocusMark);

    // Room between the focus mark's left edge and a row's first letter.
    static constexpr int kTextIndent = 4;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_leastHeight;
};

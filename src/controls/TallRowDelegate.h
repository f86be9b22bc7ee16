// Draws a list's rows as the style does, each at least a given height: the focus mark drawn around
// the current row's text then stays clear of its letters.
#pragma once

#include <QStyledItemDelegate>

class TallRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Room for a line of text with the focus mark above and below it.
    static constexpr int kRoomForFocusMark = 24;

    explicit TallRowDelegate(QObject *parent, int leastHeight = kRoomForFocusMark);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_leastHeight;
};

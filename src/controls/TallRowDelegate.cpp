#include "controls/TallRowDelegate.h"

#include <algorithm>

TallRowDelegate::TallRowDelegate(QObject *parent, int leastHeight)
    : QStyledItemDelegate(parent)
    , m_leastHeight(leastHeight)
{
}

QSize TallRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    return { natural.width(), std::max(natural.height(), m_leastHeight) };
}

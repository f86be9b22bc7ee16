#include "controls/TallRowDelegate.h"

#include <algorithm>

#include <QApplication>
#include <QStyle>

TallRowDelegate::TallRowDelegate(QObject *parent, int leastHeight)
    : QStyledItemDelegate(parent)
    , m_leastHeight(leastHeight)
{
}

QSize TallRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    return { natural.width() + kTextIndent, std::max(natural.height(), m_leastHeight) };
}

void TallRowDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    // The row's background spans the whole row and the focus mark stands where the style puts it;
    // only the content starts a little further in.
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, option.widget);
    QStyleOptionViewItem content = option;
    content.state &= ~QStyle::State_HasFocus;
    content.rect.adjust(kTextIndent, 0, 0, 0);
    QStyledItemDelegate::paint(painter, content, index);
    if (!(option.state & QStyle::State_HasFocus))
        return;
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &panel, option.widget);
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    focus.backgroundColor
        = option.palette.color(option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Base);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
}

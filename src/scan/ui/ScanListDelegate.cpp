#include "scan/ui/ScanListDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "app/LocalizedString.h"
#include "scan/ui/ScanListModel.h"

namespace
{

constexpr int kMargin = 6;
constexpr int kSpacing = 6;
constexpr int kIconSide = 20;
// A box answers a little around what it draws, as a check box's own widget does.
constexpr int kBoxReach = 3;
const QColor kGreyText(140, 142, 150);

QString deleteMark()
{
    return QStringLiteral("✕");
}

QRect boxRect(const QRect &row, const QWidget *view)
{
    const QStyle *style = view ? view->style() : QApplication::style();
    const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view);
    const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, view);
    return QRect(row.left() + kMargin, row.center().y() - height / 2, width, height);
}

QRect iconRect(const QRect &row, const QWidget *view)
{
    return QRect(
        boxRect(row, view).right() + 1 + kSpacing, row.center().y() - kIconSide / 2, kIconSide, kIconSide);
}

// As wide as a push button of the mark in the view's style: the button answers where it is drawn.
QRect deleteRect(const QRect &row, const QWidget *view)
{
    const QStyle *style = view ? view->style() : QApplication::style();
    QStyleOptionButton button;
    button.fontMetrics = view ? view->fontMetrics() : QFontMetrics(QApplication::font());
    button.text = deleteMark();
    button.features = QStyleOptionButton::Flat;
    const QSize mark = button.fontMetrics.size(Qt::TextShowMnemonic, button.text);
    const int width = style->sizeFromContents(QStyle::CT_PushButton, &button, mark, view).width();
    return QRect(row.right() + 1 - kMargin - width, row.top(), width, row.height());
}

QRect textRect(const QRect &row, const QWidget *view)
{
    const int left = iconRect(row, view).right() + 1 + kSpacing;
    return QRect(left, row.top(), deleteRect(row, view).left() - kSpacing - left, row.height());
}

} // namespace

ScanListDelegate::ScanListDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QRect ScanListDelegate::partRect(const QRect &row, Part part, const QWidget *view)
{
    switch (part) {
    case Part::Box:
        return boxRect(row, view);
    case Part::Delete:
        return deleteRect(row, view);
    case Part::None:
        break;
    }
    return {};
}

ScanListDelegate::Part ScanListDelegate::partAt(const QRect &row, const QPoint &at, const QWidget *view)
{
    if (boxRect(row, view).adjusted(-kBoxReach, -kBoxReach, kBoxReach, kBoxReach).contains(at))
        return Part::Box;
    if (deleteRect(row, view).contains(at))
        return Part::Delete;
    return Part::None;
}

void ScanListDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QWidget *view = option.widget;
    const QStyle *style = view ? view->style() : QApplication::style();
    const bool greyed = index.data(ScanListModel::GreyedRole).toBool();
    painter->save();
    QStyleOptionButton box;
    box.rect = boxRect(option.rect, view);
    box.state = QStyle::State_Enabled
        | (index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On
                                                                                 : QStyle::State_Off);
    box.palette = option.palette;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, view);
    const QPixmap icon = index.data(Qt::DecorationRole).value<QPixmap>();
    painter->drawPixmap(iconRect(option.rect, view), icon);
    // The window's dark list shows its paths in white; a greyed row's in grey.
    painter->setPen(greyed ? kGreyText : QColor(Qt::white));
    painter->setFont(option.font);
    const QRect text = textRect(option.rect, view);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle, text.width()));
    painter->setPen(option.palette.color(QPalette::ButtonText));
    painter->drawText(deleteRect(option.rect, view), Qt::AlignCenter, deleteMark());
    painter->restore();
}

bool ScanListDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
        && type != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const Part part = partAt(option.rect, mouse->position().toPoint(), option.widget);
    if (type != QEvent::MouseButtonRelease) {
        // The press also makes the row current, as any press on the row does.
        m_pressedRow = index;
        m_pressedPart = part;
        return false;
    }
    const bool clicked = part != Part::None && part == m_pressedPart && m_pressedRow == index;
    m_pressedPart = Part::None;
    if (part == Part::Box && clicked)
        tick(model, index);
    else if (part == Part::Delete && clicked)
        remove(index);
    return part != Part::None;
}

bool ScanListDelegate::pressKey(
    QAbstractItemModel *model, const QModelIndex &current, const QKeyEvent *event) const
{
    if (!model || !current.isValid())
        return false;
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        tick(model, current);
        return true;
    }
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        remove(current);
        return true;
    }
    return false;
}

bool ScanListDelegate::helpEvent(
    QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = partAt(option.rect, event->pos(), view) == Part::Delete
        ? localizedString(QStringLiteral("ID_DELETE"))
        : index.data(Qt::ToolTipRole).toString();
    QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
    return true;
}

void ScanListDelegate::tick(QAbstractItemModel *model, const QModelIndex &index) const
{
    const bool on = index.data(Qt::CheckStateRole).value<Qt::CheckState>() != Qt::Checked;
    // Shown at once, so a second press before the list is drawn again ticks the other way.
    model->setData(index, on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    if (m_actions.checkChanged)
        m_actions.checkChanged(index.row(), on);
}

void ScanListDelegate::remove(const QModelIndex &index) const
{
    // Removed once the click or the key has been handled, not inside it: the removal rebuilds the
    // rows the event is still being handled for.
    if (const ScanListTable::Actions actions = m_actions; actions.remove)
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [row = index.row(), actions] { actions.remove(row); },
            Qt::QueuedConnection);
}

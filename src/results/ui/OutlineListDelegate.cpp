// Row drawing of the results list.
#include "results/ui/OutlineListDelegate.h"

#include <memory>

#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "controls/ControlStyles.h"
#include "controls/CustomCell.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "results/ui/OutlineList.h"
#include "results/ui/OutlineListModel.h"

OutlineListDelegate::OutlineListDelegate(OutlineListModel &model, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
{
}

void OutlineListDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, QColor(13, 61, 241, 110));
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QString key = cacheKey(index, option.rect.width(), ratio);
    if (key.isEmpty())
        return;
    if (const QPixmap *cached = m_cells.object(key))
        painter->drawPixmap(option.rect.topLeft(), *cached);
    else
        paintCell(painter, option, index, key, ratio);
    if (option.state & QStyle::State_HasFocus) {
        // The keyboard's row, plain to see on the dark rows.
        ControlStyles::drawFocusMark(*painter, option.rect);
    }
}

void OutlineListDelegate::paintCell(QPainter *painter, const QStyleOptionViewItem &option,
    const QModelIndex &index, const QString &key, qreal ratio) const
{
    std::unique_ptr<CustomCell> cell;
    if (const auto group = m_model.groupAt(index))
        cell.reset(OutlineList::makeGroupCell(*group, index.row()));
    else if (const auto record = m_model.recordAt(index))
        cell.reset(OutlineList::makeFileCell(*record, option.rect.width(), m_typeTitleWidth));
    cell->resize(option.rect.size());
    if (cell->layout())
        cell->layout()->activate();
    // Through a pixmap: rendering a widget straight into the view's painter places it relative to
    // the window, not to the row.
    auto *pixmap = new QPixmap(option.rect.size() * ratio);
    pixmap->setDevicePixelRatio(ratio);
    pixmap->fill(Qt::transparent);
    cell->render(pixmap, QPoint(), QRegion(), QWidget::DrawChildren);
    painter->drawPixmap(option.rect.topLeft(), *pixmap);
    m_cells.insert(key, pixmap);
}

// Everything a row's drawing depends on; empty for a row that draws no cell.
QString OutlineListDelegate::cacheKey(const QModelIndex &index, int width, qreal ratio) const
{
    const QString size = QStringLiteral("%1@%2").arg(width).arg(ratio);
    if (const auto group = m_model.groupAt(index)) {
        const bool video = !group->filterChildren.isEmpty() && group->filterChildren.first()->isVideo;
        return QStringLiteral("g%1/%2/%3/%4/")
                   .arg(quintptr(group.get()))
                   .arg(index.row())
                   .arg(group->filterChildren.size())
                   .arg(video)
            + size;
    }
    if (const auto record = m_model.recordAt(index))
        return QStringLiteral("f%1/%2/%3/")
                   .arg(quintptr(record.get()))
                   .arg(record->isMark)
                   .arg(record->isLocked)
            + size;
    return {};
}

void OutlineListDelegate::clearCache()
{
    m_cells.clear();
}

void OutlineListDelegate::setTypeTitleWidth(int width)
{
    if (width == m_typeTitleWidth)
        return;
    m_typeTitleWidth = width;
    clearCache();
}

QSize OutlineListDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return QSize(0, OutlineListModel::kRowHeight);
}

bool OutlineListDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto record = m_model.recordAt(index);
    // A locked file that is not marked shows the lock, not the box.
    if (!record || (!record->isMark && record->isLocked))
        return false;
    const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint() - option.rect.topLeft();
    if (!ListColumns::boxRect(option.rect.height()).contains(at))
        return false;
    if (checkBoxTapped)
        checkBoxTapped(record);
    return true;
}

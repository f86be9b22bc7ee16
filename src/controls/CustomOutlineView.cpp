// Always-expanded outline view.
#include "controls/CustomOutlineView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

CustomOutlineView::CustomOutlineView(QWidget *parent)
    : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(0);
    header()->setStretchLastSection(true);
    // Any collapse, by code or by key, is undone: the list is always fully expanded.
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex &index) { expand(index); });
}

void CustomOutlineView::setModel(QAbstractItemModel *newModel)
{
    for (const QMetaObject::Connection &connection : m_modelConnections)
        disconnect(connection);
    m_modelConnections.clear();
    QTreeView::setModel(newModel);
    if (!newModel)
        return;
    // Expanding after every change of the rows stands in for expanding at every drawing.
    m_modelConnections = { connect(newModel, &QAbstractItemModel::rowsInserted, this,
                               &CustomOutlineView::expandEverything),
        connect(newModel, &QAbstractItemModel::modelReset, this, &CustomOutlineView::expandEverything),
        connect(newModel, &QAbstractItemModel::layoutChanged, this, &CustomOutlineView::expandEverything) };
    expandEverything();
}

QRect CustomOutlineView::visualRect(const QModelIndex &index) const
{
    QRect rect = QTreeView::visualRect(index);
    if (!index.isValid() || index.column() != 0 || rect.isEmpty())
        return rect;
    return QRect(cellLeft(), rect.y(), cellWidth(), rect.height());
}

int CustomOutlineView::cellLeft() const
{
    return kCellInset - horizontalOffset();
}

int CustomOutlineView::cellWidth() const
{
    return std::max(0, viewport()->width() - 2 * kCellInset);
}

// One column, no branches: the row is its cell, drawn at visualRect() so that what a click hits is
// what the user sees.
void CustomOutlineView::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    cell.rect = visualRect(index);
    if (selectionModel() && selectionModel()->isSelected(index))
        cell.state |= QStyle::State_Selected;
    else
        cell.state &= ~QStyle::State_Selected;
    if (hasFocus() && index == currentIndex())
        cell.state |= QStyle::State_HasFocus;
    itemDelegateForIndex(index)->paint(painter, cell, index);
}

void CustomOutlineView::scrollToWithGroupTitle(const QModelIndex &index)
{
    if (index.parent().isValid())
        scrollTo(index.parent());
    scrollTo(index);
}

void CustomOutlineView::expandEverything()
{
    expandAll();
}

QModelIndex CustomOutlineView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex start = currentIndex();
    QModelIndex next = QTreeView::moveCursor(cursorAction, modifiers);
    // Home, End and the page keys go on one row at a time the way they went.
    const bool down = cursorAction == MoveDown || cursorAction == MoveNext || cursorAction == MoveHome
        || cursorAction == MovePageDown;
    const bool up = !down && cursorAction != MoveLeft && cursorAction != MoveRight;
    while (next.isValid() && !(next.flags() & Qt::ItemIsSelectable)) {
        const QModelIndex further = down ? indexBelow(next) : up ? indexAbove(next) : QModelIndex();
        if (!further.isValid())
            return start;
        next = further;
    }
    return next;
}

void CustomOutlineView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        QTreeView::keyPressEvent(event);
        // The first and the last file keep their group's title in view, as far as both fit.
        scrollToWithGroupTitle(currentIndex());
        return;
    }
    if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::ShiftModifier || !currentIndex().isValid()) {
        QTreeView::keyPressEvent(event);
        return;
    }
    const QPoint centre = visualRect(currentIndex()).center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre, viewport()->mapToGlobal(centre));
    QCoreApplication::sendEvent(viewport(), &menu);
}

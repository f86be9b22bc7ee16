// Always-expanded outline view.
#include "controls/CustomOutlineView.h"

#include <QHeaderView>

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
    return QRect(
        kCellInset - horizontalOffset(), rect.y(), viewport()->width() - 2 * kCellInset, rect.height());
}

void CustomOutlineView::expandEverything()
{
    expandAll();
}

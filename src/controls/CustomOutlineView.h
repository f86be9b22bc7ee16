// The results window's list of groups: always fully expanded, without disclosure triangles or
// indentation, its first column spanning the view less 10 pixels each side.
#pragma once

#include <QList>
#include <QTreeView>

class CustomOutlineView : public QTreeView
{
    Q_OBJECT

public:
    explicit CustomOutlineView(QWidget *parent = nullptr);

    static constexpr int kCellInset = 10;

    void setModel(QAbstractItemModel *model) override;
    // Column 0 spans the view less kCellInset on each side, whatever the row's level; the cell
    // widgets of the rows are placed there.
    QRect visualRect(const QModelIndex &index) const override;

private:
    void expandEverything();

    QList<QMetaObject::Connection> m_modelConnections;
};

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

    void setModel(QAbstractItemModel *model) override;

private:
    void expandEverything();

    QList<QMetaObject::Connection> m_modelConnections;
};

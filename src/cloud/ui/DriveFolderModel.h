// The outline's view of the Drive folder tree: one top row, "My Drive", and below each node its
// children in the order the Drive listed them. A node shows a disclosure triangle while it is
// expandable, so folders not listed yet can be opened.
#pragma once

#include <memory>

#include <QAbstractItemModel>
#include <QHash>

class GDFoldersList;

class DriveFolderModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit DriveFolderModel(QObject *parent = nullptr);

    // Shows the tree under `root` (null: nothing) from scratch.
    void setRoot(const std::shared_ptr<GDFoldersList> &root);
    std::shared_ptr<GDFoldersList> nodeAt(const QModelIndex &index) const;
    QModelIndex indexOf(const GDFoldersList *node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void mapParents(const GDFoldersList *node);
    GDFoldersList *nodeOf(const QModelIndex &index) const;

    std::shared_ptr<GDFoldersList> m_root;
    QHash<const GDFoldersList *, GDFoldersList *> m_parents;
};

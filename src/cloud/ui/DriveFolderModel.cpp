#include "cloud/ui/DriveFolderModel.h"

#include "model/GDFoldersList.h"
#include "platform/OutsideText.h"

DriveFolderModel::DriveFolderModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

void DriveFolderModel::setRoot(const std::shared_ptr<GDFoldersList> &root)
{
    beginResetModel();
    m_root = root;
    m_parents.clear();
    if (m_root)
        mapParents(m_root.get());
    endResetModel();
}

void DriveFolderModel::mapParents(const GDFoldersList *node)
{
    for (const std::shared_ptr<GDFoldersList> &child : node->children()) {
        m_parents.insert(child.get(), const_cast<GDFoldersList *>(node));
        mapParents(child.get());
    }
}

GDFoldersList *DriveFolderModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<GDFoldersList *>(index.internalPointer()) : nullptr;
}

std::shared_ptr<GDFoldersList> DriveFolderModel::nodeAt(const QModelIndex &index) const
{
    GDFoldersList *node = nodeOf(index);
    if (!node)
        return nullptr;
    if (node == m_root.get())
        return m_root;
    GDFoldersList *parent = m_parents.value(node);
    if (!parent)
        return nullptr;
    for (const std::shared_ptr<GDFoldersList> &child : parent->children()) {
        if (child.get() == node)
            return child;
    }
    return nullptr;
}

QModelIndex DriveFolderModel::indexOf(const GDFoldersList *node) const
{
    if (!node || !m_root)
        return {};
    if (node == m_root.get())
        return createIndex(0, 0, m_root.get());
    GDFoldersList *parent = m_parents.value(node);
    if (!parent)
        return {};
    const auto &siblings = parent->children();
    for (int row = 0; row < siblings.size(); ++row) {
        if (siblings.at(row).get() == node)
            return createIndex(row, 0, siblings.at(row).get());
    }
    return {};
}

QModelIndex DriveFolderModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 && m_root ? createIndex(0, 0, m_root.get()) : QModelIndex();
    GDFoldersList *node = nodeOf(parent);
    if (!node || row >= node->children().size())
        return {};
    return createIndex(row, 0, node->children().at(row).get());
}

QModelIndex DriveFolderModel::parent(const QModelIndex &child) const
{
    GDFoldersList *node = nodeOf(child);
    if (!node || node == m_root.get())
        return {};
    return indexOf(m_parents.value(node));
}

int DriveFolderModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_root ? 1 : 0;
    GDFoldersList *node = nodeOf(parent);
    return node ? int(node->children().size()) : 0;
}

int DriveFolderModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool DriveFolderModel::hasChildren(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return bool(m_root);
    GDFoldersList *node = nodeOf(parent);
    return node && (node->isExpandable() || !node->children().isEmpty());
}

QVariant DriveFolderModel::data(const QModelIndex &index, int role) const
{
    GDFoldersList *node = nodeOf(index);
    if (!node || role != Qt::DisplayRole)
        return {};
    return OutsideText::name(node->folderName());
}

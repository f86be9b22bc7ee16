// Greys out the entries an open panel refuses.
#include "platform/ui/PanelFilterModel.h"

#include <QFileInfo>
#include <QFileSystemModel>

#include "platform/FileFacts.h"

PanelFilterModel::PanelFilterModel(const OpenPanelOptions &options, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_options(options)
{
}

Qt::ItemFlags PanelFilterModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files || !index.isValid())
        return flags;
    if (!isEnabled(files->fileInfo(mapToSource(index))))
        flags &= ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return flags;
}

bool PanelFilterModel::canEnter(const QString &path) const
{
    return canEnter(QFileInfo(path));
}

bool PanelFilterModel::canEnter(const QFileInfo &entry) const
{
    if (!entry.isDir())
        return false;
    if (FileFacts::hasPackageSuffix(entry.filePath()) && !m_options.treatsFilePackagesAsDirectories)
        return false;
    return !m_options.shouldEnable || m_options.shouldEnable(entry);
}

bool PanelFilterModel::isEnabled(const QFileInfo &entry) const
{
    // A row the model has not looked at yet: it says when its look comes, and the row is asked again.
    if (entry.filePath().isEmpty())
        return true;
    const QString path = entry.absoluteFilePath();
    const auto cached = m_enabled.constFind(path);
    if (cached != m_enabled.constEnd())
        return cached.value();
    const bool enabled = OpenPanel::isSelectable(m_options, entry) || canEnter(entry);
    m_enabled.insert(path, enabled);
    return enabled;
}

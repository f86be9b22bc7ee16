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
    if (!isEnabledPath(files->filePath(mapToSource(index))))
        flags &= ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return flags;
}

bool PanelFilterModel::canEnter(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    if (FileFacts::isPackage(path) && !m_options.treatsFilePackagesAsDirectories)
        return false;
    return !m_options.shouldEnable || m_options.shouldEnable(info.absoluteFilePath());
}

bool PanelFilterModel::isEnabledPath(const QString &path) const
{
    const auto cached = m_enabled.constFind(path);
    if (cached != m_enabled.constEnd())
        return cached.value();
    const bool enabled = OpenPanel::isSelectable(m_options, path) || canEnter(path);
    m_enabled.insert(path, enabled);
    return enabled;
}

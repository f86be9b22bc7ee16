// Desktop file icons.
#include "platform/ui/Workspace.h"

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace
{

const QFileIconProvider &provider()
{
    static const QFileIconProvider icons;
    return icons;
}

} // namespace

QIcon Workspace::folderIcon()
{
    return provider().icon(QFileIconProvider::Folder);
}

QIcon Workspace::iconForFileName(const QString &name)
{
    // By the name alone: mimeTypeForFile would look at the file.
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(name);
    QIcon icon;
    if (!types.isEmpty())
        icon = QIcon::fromTheme(types.front().iconName(), QIcon::fromTheme(types.front().genericIconName()));
    return icon.isNull() ? provider().icon(QFileIconProvider::File) : icon;
}

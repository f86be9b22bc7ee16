// Desktop file icons.
#include "platform/ui/Workspace.h"

#include <QFileIconProvider>
#include <QFileInfo>

QIcon Workspace::iconForFile(const QString &path)
{
    static const QFileIconProvider provider;
    const QFileInfo info(path);
    if (!info.exists())
        return provider.icon(QFileIconProvider::File);
    return provider.icon(info);
}

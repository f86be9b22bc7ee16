// What the desktop shows for files: the icon of a folder, and of a file's type. Both are told without
// looking at the file system, so a share that has stopped answering never holds the window that asks.
// GUI thread only.
#pragma once

#include <QIcon>
#include <QString>

class Workspace
{
public:
    // The desktop's folder icon.
    static QIcon folderIcon();
    // The icon of the type that the file name `name` (or a path ending in it) tells by its extension;
    // a generic file icon for a name that tells none.
    static QIcon iconForFileName(const QString &name);
};

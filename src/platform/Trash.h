// The freedesktop.org Trash, with the checks Qt leaves out.
#pragma once

#include <QString>

class Trash
{
public:
    // Moves `path` to the Trash. True only when the item left its place and now lies inside a
    // Trash folder; `pathInTrash` receives where it went.
    static bool moveToTrash(const QString &path, QString *pathInTrash = nullptr);
    // True when `path` is, or lies below, a Trash folder: the home Trash ($XDG_DATA_HOME/Trash) or
    // a volume's ".Trash-<uid>" / ".Trash/<uid>".
    static bool isInsideTrashFolder(const QString &path);
    // The home Trash folder ($XDG_DATA_HOME/Trash, default ~/.local/share/Trash).
    static QString homeTrashFolder();
};

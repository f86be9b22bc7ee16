// The freedesktop.org Trash, with the checks Qt leaves out.
#pragma once

#include <QString>

class Trash
{
public:
    // Moves the item at the absolute `path` to its Trash (see TrashFolder). True only when the item
    // left its place and now lies inside the Trash with its info file; `pathInTrash` receives where
    // it went, `why` the reason of a failure (also written to the log).
    static bool moveToTrash(const QString &path, QString *pathInTrash = nullptr, QString *why = nullptr);
    // True when `path` is, or lies below, a Trash folder: the home Trash ($XDG_DATA_HOME/Trash) or
    // a volume's ".Trash-<uid>" / ".Trash/<uid>".
    static bool isInsideTrashFolder(const QString &path);
    // True when the folder `path` is laid out as a volume's Trash: a ".Trash-<uid>" or ".Trash"
    // folder (or "<uid>" inside ".Trash") holding "files" and "info" folders; for ".Trash", also
    // when one of its "<uid>" folders does. A user's folder that is merely named so is not one.
    static bool hasTrashLayout(const QString &path);
    // The home Trash folder ($XDG_DATA_HOME/Trash, default ~/.local/share/Trash).
    static QString homeTrashFolder();
};

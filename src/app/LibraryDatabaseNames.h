// The database files of a photo library package, found by their names whatever the letter case.
// Libraries are written on file systems that ignore case, where "database/photos.sqlite" opens the
// "database/Photos.sqlite" a library holds; a copy of the library keeps the writer's spelling, which
// a file system that heeds case must be asked for by listing the folders.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class LibraryDatabaseNames
{
public:
    explicit LibraryDatabaseNames(const QString &libraryPath);

    // The file at `relative` (such as "database/photos.sqlite") inside the library, each of its
    // names matched whatever its case; empty when there is none. Of files whose paths differ only
    // in case, the first in code-point order is taken (capitals, which writers of libraries use,
    // come first) and the choice is logged.
    QString find(const QString &relative) const;
    // The path `relative` names inside the library, as it is spelled.
    QString spelled(const QString &relative) const;

private:
    // The names in the folder `relativeFolder` that equal `name` but for case: folders, or files.
    QStringList matching(const QString &relativeFolder, const QString &name, bool folders) const;

    QString m_libraryPath;
    // Each folder is listed once (by its relative path, and whether folders or files were asked).
    mutable QHash<QString, QStringList> m_listings;
};

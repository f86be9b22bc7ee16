// The database files of a photo library package, found by their names whatever the letter case.
// Libraries are written on file systems that ignore case, where "database/photos.sqlite" opens the
// "database/Photos.sqlite" a library holds; a copy of the library keeps the writer's spelling, which
// a file system that heeds case must be asked for by listing the folders.
#pragma once

#include <functional>

#include <QHash>
#include <QString>
#include <QStringList>

class LibraryDatabaseNames
{
public:
    // What a name's last part may name: a file, or an entry of any kind (a folder or a link to
    // nothing where a database should be, so that it can be named as it is).
    enum class Entries { Files, Any };
    // Asked before each folder of the library is listed, with its path as spelled; false passes the
    // folder over as if it held nothing.
    using Entering = std::function<bool(const QString &folder)>;

    explicit LibraryDatabaseNames(
        const QString &libraryPath, Entries last = Entries::Files, Entering entering = {});

    // The file at `relative` (such as "database/photos.sqlite") inside the library, each of its
    // names matched whatever its case; empty when there is none. Of files whose paths differ only
    // in case, the first in code-point order is taken (capitals, which writers of libraries use,
    // come first) and the choice is logged.
    QString find(const QString &relative) const;
    // The path `relative` names inside the library, as it is spelled.
    QString spelled(const QString &relative) const;
    // The first folder that could not be listed, and the system's reason; empty when each could.
    QString unlistedFolder() const { return m_unlistedFolder; }
    QString unlistedReason() const { return m_unlistedReason; }

private:
    // The names in the folder `relativeFolder` that equal `name` but for case: folders, or the
    // last part's entries.
    QStringList matching(const QString &relativeFolder, const QString &name, bool folders) const;
    QStringList listing(const QString &relativeFolder, bool folders) const;

    QString m_libraryPath;
    Entries m_last;
    Entering m_entering;
    // Each folder is listed once (by its relative path, and whether folders or files were asked).
    mutable QHash<QString, QStringList> m_listings;
    mutable QString m_unlistedFolder;
    mutable QString m_unlistedReason;
};

#include "model/LibraryDatabaseCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/RegularFile.h"

const QStringList &LibraryDatabaseCopy::companionSuffixes()
{
    static const QStringList suffixes
        = { QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral(".lock") };
    return suffixes;
}

LibraryDatabaseCopy::LibraryDatabaseCopy(const QString &databasePath, qint64 maxDataBytes)
{
    const QString name = QFileInfo(databasePath).fileName();
    if (name.isEmpty())
        return;
    const QString folder = AppFolders::cachesFolder();
    // The library's private data is not copied into a folder another user may read or change.
    if (!AppFolders::ensureFolder(folder)) {
        m_error = QStringLiteral("the folder %1 could not be made private to this user").arg(folder);
        return;
    }
    m_copyPath = QDir(folder).filePath(name);
    removeCopies();
    qint64 dataLeft = maxDataBytes;
    for (const QString &suffix : companionSuffixes()) {
        const QString source = databasePath + suffix;
        if (!QFileInfo::exists(source))
            continue;
        // A fifo or device in the library's place is refused, never waited on.
        if (!RegularFile::copy(source, m_copyPath + suffix, &m_error, &dataLeft)) {
            m_tooLarge = dataLeft < 0;
            Log::line(QStringLiteral("Library database could not be copied: ") + m_error);
            return;
        }
        // The copy is ours to remove, whatever the library's permissions were.
        QFile::setPermissions(m_copyPath + suffix, QFile::ReadOwner | QFile::WriteOwner);
    }
}

LibraryDatabaseCopy::~LibraryDatabaseCopy()
{
    removeCopies();
}

// Every companion is tried, so one that cannot be removed does not leave the others behind.
void LibraryDatabaseCopy::removeCopies()
{
    if (m_copyPath.isEmpty())
        return;
    for (const QString &suffix : companionSuffixes()) {
        QFile copy(m_copyPath + suffix);
        if (copy.exists() && !copy.remove())
            Log::line(QStringLiteral("Library database could not be copied: ") + copy.errorString());
    }
}

#include "model/LibraryDatabaseCopy.h"

#include <QFile>
#include <QFileInfo>

#include "model/LibraryCopyFolder.h"
#include "platform/Log.h"
#include "platform/RegularFile.h"

const QStringList &LibraryDatabaseCopy::companionSuffixes()
{
    static const QStringList &suffixes = *new QStringList { QString(), QStringLiteral("-wal"),
        QStringLiteral("-shm"), QStringLiteral(".lock") };
    return suffixes;
}

LibraryDatabaseCopy::LibraryDatabaseCopy(
    const QString &databasePath, qint64 maxDataBytes, const Touching &touching)
{
    const QString name = QFileInfo(databasePath).fileName();
    if (name.isEmpty())
        return;
    m_folder = LibraryCopyFolder::make(&m_error);
    if (!m_folder) {
        Log::line(QStringLiteral("Library database could not be copied: ") + m_error);
        return;
    }
    m_copyPath = m_folder->path() + QLatin1Char('/') + name;
    qint64 dataLeft = maxDataBytes;
    for (const QString &suffix : companionSuffixes()) {
        const QString source = databasePath + suffix;
        if (touching)
            touching(source);
        // The database itself is tried even when it does not look there: the copy says why not.
        if (!suffix.isEmpty() && !QFileInfo::exists(source))
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

LibraryDatabaseCopy::~LibraryDatabaseCopy() = default;

void LibraryDatabaseCopy::removeCopies()
{
    m_folder.reset();
}

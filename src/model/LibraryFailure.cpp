#include "model/LibraryFailure.h"

QString LibraryFailure::logText(const QString &databasePath) const
{
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::NoDatabase:
        return QStringLiteral("its database %1 is not there").arg(databasePath);
    case Kind::FolderUnreadable:
        return QStringLiteral("its folder %1 could not be read (%2)").arg(databasePath, detail);
    case Kind::NotCopied:
        return QStringLiteral("its database %1 could not be copied (%2)").arg(databasePath, detail);
    case Kind::NotOpened:
        return QStringLiteral("its database %1 could not be opened (%2)").arg(databasePath, detail);
    case Kind::NoTableOfPhotos:
        return QStringLiteral("no table of photos was found in its database %1").arg(databasePath);
    case Kind::NoEntityRow:
        return QStringLiteral("its database %1 has no %2 row in its table Z_PRIMARYKEY")
            .arg(databasePath, detail);
    case Kind::QueryFailed:
        return QStringLiteral("its database %1 could not be queried (%2)").arg(databasePath, detail);
    }
    return {};
}

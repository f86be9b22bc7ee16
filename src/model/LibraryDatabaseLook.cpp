// Bounded finding and copying of a library's database.
#include "model/LibraryDatabaseLook.h"

#include <chrono>

#include <QFileInfo>

#include "app/CommonFunc.h"
#include "model/LibraryDatabaseCopy.h"
#include "platform/PathLook.h"

namespace
{

struct Found {
    QString databasePath;
    bool exists = false;
    // The bytes of the database and its companions.
    qint64 bytes = 0;
};

Found findDatabase(const QString &libraryPath)
{
    Found found;
    found.databasePath = CommonFunc::photosLibraryDatabasePath(libraryPath);
    found.exists = QFileInfo::exists(found.databasePath);
    for (const QString &suffix : LibraryDatabaseCopy::companionSuffixes())
        found.bytes += QFileInfo(found.databasePath + suffix).size();
    return found;
}

} // namespace

LibraryDatabaseLook::Answer LibraryDatabaseLook::copy(
    const QString &libraryPath, const std::atomic<bool> *stop)
{
    const PathLook look = PathLook::current();
    Answer answer;
    // Looked at by the library's "database" folder: a mount there already named as not answering is
    // passed over at once.
    const PathLook::Result<Found> found = look.look<Found>(
        libraryPath + QStringLiteral("/database"), [libraryPath] { return findDatabase(libraryPath); }, stop);
    if (!found.answer) {
        answer.silentMount = found.silentMount;
        return answer;
    }
    answer.databasePath = found.answer->databasePath;
    answer.databaseExists = found.answer->exists;
    // A copy left behind removes its files when it ends: it owns the only other reference.
    const auto longer = std::chrono::milliseconds(found.answer->bytes * 1000 / kSlowestBytesPerSecond);
    const PathLook::Result<std::shared_ptr<LibraryDatabaseCopy>> copied
        = look.look<std::shared_ptr<LibraryDatabaseCopy>>(
            answer.databasePath.isEmpty() ? libraryPath : answer.databasePath,
            [path = answer.databasePath] { return std::make_shared<LibraryDatabaseCopy>(path); }, stop,
            longer);
    answer.copy = copied.answer.value_or(nullptr);
    answer.silentMount = copied.silentMount;
    return answer;
}

// Bounded finding and copying of a library's database.
#include "model/LibraryDatabaseLook.h"

#include <sys/stat.h>

#include <chrono>

#include <QDir>
#include <QFile>

#include "app/CommonFunc.h"
#include "model/LibraryDatabaseCopy.h"

namespace
{

bool standsAt(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace

LibraryDatabaseNames::Entering LibraryDatabaseLook::entering(
    const PathLook &look, PathLook::Where &where, QString *silentMount)
{
    return [&look, &where, silentMount](const QString &folder) {
        if (silentMount->isEmpty())
            *silentMount = look.findHere(folder, where).silentMount;
        return silentMount->isEmpty();
    };
}

LibraryDatabaseLook::Found LibraryDatabaseLook::find(
    const QString &libraryPath, const PathLook &look, PathLook::Where &where)
{
    Found found;
    const LibraryDatabaseNames::Entering enter = entering(look, where, &found.silentMount);
    const LibraryDatabaseNames files(libraryPath, LibraryDatabaseNames::Entries::Files, enter);
    QString chosen = CommonFunc::photosLibraryDatabasePath(files);
    // A folder or a link to nothing where the database should be is named as it is spelled, for
    // the copy to say what it is, rather than a spelling of the name that no file has.
    if (found.silentMount.isEmpty() && !standsAt(chosen)) {
        const QString other = CommonFunc::photosLibraryDatabasePath(
            LibraryDatabaseNames(libraryPath, LibraryDatabaseNames::Entries::Any, enter));
        if (standsAt(other))
            chosen = other;
    }
    if (!found.silentMount.isEmpty())
        return found;
    found.databasePath = chosen;
    if (!standsAt(chosen)) {
        if (files.unlistedFolder().isEmpty()) {
            found.failure = { LibraryFailure::Kind::NoDatabase, QString() };
        } else {
            found.databasePath = files.unlistedFolder();
            found.failure = { LibraryFailure::Kind::FolderUnreadable, files.unlistedReason() };
        }
        return found;
    }
    for (const QString &suffix : LibraryDatabaseCopy::companionSuffixes()) {
        const PathLook::Found file = look.findHere(chosen + suffix, where);
        found.silentMount = file.silentMount;
        if (!found.silentMount.isEmpty())
            return found;
        found.bytes += file.facts && file.facts->isRegular ? file.facts->attributes.size : 0;
    }
    return found;
}

std::optional<bool> LibraryDatabaseLook::holdsDatabase(
    const QString &libraryPath, const PathLook &look, PathLook::Where &where)
{
    QString silentMount;
    const bool holds = CommonFunc::hasPhotosLibraryDatabase(LibraryDatabaseNames(
        libraryPath, LibraryDatabaseNames::Entries::Files, entering(look, where, &silentMount)));
    if (!silentMount.isEmpty())
        return std::nullopt;
    return holds;
}

LibraryDatabaseLook::Answer LibraryDatabaseLook::copy(
    const QString &libraryPath, const std::atomic<bool> *stop)
{
    const PathLook look = PathLook::current();
    const QString library = QDir::cleanPath(QDir::current().absoluteFilePath(libraryPath));
    Answer answer;
    std::vector<PathLook::Job<Found>> finding;
    finding.push_back(
        { library, [library, look](PathLook::Where &where) { return find(library, look, where); } });
    PathLook::Result<Found> found = std::move(look.lookAll(std::move(finding), stop).front());
    if (!found.answer || !found.answer->silentMount.isEmpty()) {
        answer.silentMount = found.answer ? found.answer->silentMount : found.silentMount;
        return answer;
    }
    answer.databasePath = found.answer->databasePath;
    answer.failure = found.answer->failure;
    if (answer.failure.kind != LibraryFailure::Kind::None)
        return answer;
    // A copy left behind removes its own folder when it ends: it owns the only other reference.
    const auto longer = std::chrono::milliseconds(found.answer->bytes * 1000 / kSlowestBytesPerSecond);
    std::vector<PathLook::Job<std::shared_ptr<LibraryDatabaseCopy>>> copying;
    copying.push_back({ answer.databasePath, [path = answer.databasePath, look](PathLook::Where &where) {
                           return std::make_shared<LibraryDatabaseCopy>(path,
                               LibraryDatabaseCopy::kMaxDataBytes,
                               [&look, &where](const QString &source) { look.findHere(source, where); });
                       } });
    PathLook::Result<std::shared_ptr<LibraryDatabaseCopy>> copied
        = std::move(look.lookAll(std::move(copying), stop, longer).front());
    answer.copy = copied.answer.value_or(nullptr);
    answer.silentMount = copied.silentMount;
    return answer;
}

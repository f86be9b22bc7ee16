#include "scan/ui/ScanListLook.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <QFile>
#include <QFileInfo>

#include "model/LibraryDatabaseLook.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/ThreadsApart.h"
#include "platform/Trash.h"
#include "scan/ExclusionMatcher.h"

namespace
{

// Hands an answer made on a thread apart to `done` on the GUI thread, unless `owner` has gone.
template <typename Answer>
std::function<void(Answer)> onGuiThread(QPointer<QObject> owner, std::function<void(const Answer &)> done)
{
    return [owner, done](Answer answer) {
        Dispatch::main([owner, done, answer = std::move(answer)]() {
            if (owner)
                done(answer);
        });
    };
}

} // namespace

void ScanListLook::start(
    const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done)
{
    const auto deliver = onGuiThread<Answers>(std::move(owner), std::move(done));
    startApart([paths, deliver]() { deliver(lookEach(paths, &ScanListLook::lookAt)); },
        [paths, deliver]() { deliver(Answers(size_t(paths.size()))); });
}

void ScanListLook::startOffered(
    const Request &request, QPointer<QObject> owner, std::function<void(const Offered &)> done)
{
    const auto deliver = onGuiThread<Offered>(std::move(owner), std::move(done));
    startApart([request, deliver]() { deliver(lookAtOffered(request)); },
        [request, deliver]() {
            deliver({ Answers(size_t(request.paths.size())), nullptr });
        });
}

ScanListLook::Offered ScanListLook::lookAtOffered(const Request &request)
{
    Offered offered;
    offered.exclusions = std::make_shared<const ExclusionMatcher>(request.excludedFolders);
    offered.answers = lookEach(request.paths,
        [request](const QString &path, const PathLook &look, const QString &realHomeTrash,
            PathLook::Where &where) { return lookAtOffered(path, request, look, realHomeTrash, where); });
    return offered;
}

void ScanListLook::startApart(std::function<void()> work, std::function<void()> instead)
{
    if (ThreadsApart::start(std::move(work)))
        return;
    // Without a thread to spare no path answers.
    Log::line(QStringLiteral("No thread to look at the scan list; its entries show as not answering"));
    instead();
}

ScanListLook::Answers ScanListLook::lookEach(const QStringList &paths, const Look &lookAtOne)
{
    const PathLook mounts = PathLook::current();
    const QString realHomeTrash = Trash::realHomeTrash(mounts);
    const std::vector<std::optional<std::optional<Facts>>> looked = mounts.lookInTurn<std::optional<Facts>>(
        paths,
        [paths, lookAtOne, mounts, realHomeTrash](qsizetype i, PathLook::Where &where) {
            return lookAtOne(paths[i], mounts, realHomeTrash, where);
        },
        nullptr);
    Answers answers(looked.size());
    for (size_t i = 0; i < looked.size(); ++i)
        answers[i] = looked[i].value_or(std::nullopt);
    return answers;
}

bool ScanListLook::isFolderHere(const QString &real, PathLook::Where &where)
{
    where.set(real);
    const std::optional<FileEntryFacts> folder
        = FileFacts::entryItselfAt(AT_FDCWD, QFile::encodeName(real).constData());
    return folder && folder->isDirectory;
}

std::optional<ScanListLook::Seen> ScanListLook::see(
    const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where)
{
    // An empty path (a settings file edited by hand) names nothing, not the working folder.
    const PathLook::Found found = path.isEmpty() ? PathLook::Found() : look.findHere(path, where);
    if (!found.silentMount.isEmpty())
        return std::nullopt;
    Seen seen;
    if (found.facts)
        seen.item = ScanListRules::Item { found.facts->isDirectory,
            ::access(QFile::encodeName(found.real).constData(), R_OK) == 0 };
    if (!found.facts && found.error == ENOENT)
        seen.folderHere = isFolderHere(QFileInfo(found.real).path(), where);
    seen.inTrash = Trash::isInsideTrashFolder(path, found.real, realHomeTrash);
    // The key is the path with its links resolved, as pathKey() gives it; as written when absent.
    seen.key = found.facts ? found.real : ScanListRules::cleanPath(path);
    return seen;
}

std::optional<ScanListLook::Facts> ScanListLook::lookAt(
    const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where)
{
    const std::optional<Seen> seen = see(path, look, realHomeTrash, where);
    if (!seen)
        return std::nullopt;
    return Facts { ScanListRules::classifyRestored(path, seen->inTrash, seen->item, seen->folderHere),
        seen->key, seen->inTrash };
}

std::optional<ScanListLook::Facts> ScanListLook::lookAtOffered(const QString &path, const Request &request,
    const PathLook &look, const QString &realHomeTrash, PathLook::Where &where)
{
    const std::optional<Seen> seen = see(path, look, realHomeTrash, where);
    if (!seen)
        return std::nullopt;
    ScanListRules::Looked looked { seen->inTrash, seen->item, false };
    if (ScanListRules::wantsDatabase(request.offer, path, seen->item)) {
        // Its "database" folder may be a mount of its own: a look there that does not answer
        // names that mount, not the library's.
        const std::optional<bool> holds = LibraryDatabaseLook::holdsDatabase(seen->key, look, where);
        if (!holds)
            return std::nullopt;
        looked.hasDatabase = *holds;
    }
    return Facts { ScanListRules::classifyOffered(request.offer, path, looked, request.allowedExtensions),
        seen->key, seen->inTrash };
}

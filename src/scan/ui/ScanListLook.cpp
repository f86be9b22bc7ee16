#include "scan/ui/ScanListLook.h"

#include <unistd.h>

#include <QFile>

#include "model/LibraryDatabaseLook.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/ThreadsApart.h"
#include "platform/Trash.h"

void ScanListLook::start(
    const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done)
{
    startWith(paths, &ScanListLook::lookAt, std::move(owner), std::move(done));
}

void ScanListLook::startLibrary(
    const QString &path, QPointer<QObject> owner, std::function<void(const std::optional<Facts> &)> done)
{
    startWith({ path }, &ScanListLook::lookAtLibrary, std::move(owner),
        [done = std::move(done)](const Answers &answers) { done(answers.front()); });
}

void ScanListLook::startWith(const QStringList &paths, Look lookAtOne, QPointer<QObject> owner,
    std::function<void(const Answers &)> done)
{
    const auto look = [paths, lookAtOne, owner, done]() {
        const PathLook mounts = PathLook::current();
        const QString realHomeTrash = Trash::realHomeTrash(mounts);
        const std::vector<std::optional<std::optional<Facts>>> looked
            = mounts.lookInTurn<std::optional<Facts>>(
                paths,
                [paths, lookAtOne, mounts, realHomeTrash](qsizetype i, PathLook::Where &where) {
                    return lookAtOne(paths[i], mounts, realHomeTrash, where);
                },
                nullptr);
        Answers answers(looked.size());
        for (size_t i = 0; i < looked.size(); ++i)
            answers[i] = looked[i].value_or(std::nullopt);
        Dispatch::main([owner, done, answers = std::move(answers)]() {
            if (owner)
                done(answers);
        });
    };
    if (ThreadsApart::start(look))
        return;
    // Without a thread to spare no path answers.
    Log::line(QStringLiteral("No thread to look at the scan list; its entries show as not answering"));
    Dispatch::main([owner, done, answers = Answers(size_t(paths.size()))]() {
        if (owner)
            done(answers);
    });
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
    return Facts { ScanListRules::classifyRestored(path, seen->inTrash, seen->item), seen->key };
}

std::optional<ScanListLook::Facts> ScanListLook::lookAtLibrary(
    const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where)
{
    const std::optional<Seen> seen = see(path, look, realHomeTrash, where);
    if (!seen)
        return std::nullopt;
    Facts facts { ScanListRules::Kind::Skip, seen->key };
    if (!seen->inTrash && seen->item && seen->item->folder && seen->item->readable) {
        // Its "database" folder may be a mount of its own: a look there that does not answer
        // names that mount, not the library's.
        const std::optional<bool> holds = LibraryDatabaseLook::holdsDatabase(seen->key, look, where);
        if (!holds)
            return std::nullopt;
        facts.kind = *holds ? ScanListRules::Kind::PhotosLibrary : ScanListRules::Kind::LibraryError;
    }
    return facts;
}

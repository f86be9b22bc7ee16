#include "scan/ui/ScanListLook.h"

#include <unistd.h>

#include <QFile>

#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/ThreadsApart.h"
#include "platform/Trash.h"

void ScanListLook::start(
    const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done)
{
    const auto look = [paths, owner, done = std::move(done)]() {
        const PathLook mounts = PathLook::current();
        const QString realHomeTrash = Trash::realHomeTrash(mounts);
        const std::vector<std::optional<std::optional<Facts>>> looked
            = mounts.lookInTurn<std::optional<Facts>>(
                paths,
                [paths, mounts, realHomeTrash](qsizetype i, PathLook::Where &where) {
                    return lookAt(paths[i], mounts, realHomeTrash, where);
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
    if (!ThreadsApart::start(look))
        Log::line(QStringLiteral("No thread to look at the scan list; its entries stay unchecked"));
}

std::optional<ScanListLook::Facts> ScanListLook::lookAt(
    const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where)
{
    // An empty path (a settings file edited by hand) names nothing, not the working folder.
    const PathLook::Found found = path.isEmpty() ? PathLook::Found() : look.findHere(path, where);
    if (!found.silentMount.isEmpty())
        return std::nullopt;
    std::optional<ScanListRules::Item> item;
    if (found.facts)
        item = ScanListRules::Item { found.facts->isDirectory,
            ::access(QFile::encodeName(found.real).constData(), R_OK) == 0 };
    const bool inTrash = Trash::isInsideTrashFolder(path, found.real, realHomeTrash);
    // The key is the path with its links resolved, as pathKey() gives it; as written when absent.
    return Facts { ScanListRules::classifyRestored(path, inTrash, item),
        found.facts ? found.real : ScanListRules::cleanPath(path) };
}

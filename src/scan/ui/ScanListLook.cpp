#include "scan/ui/ScanListLook.h"

#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/ThreadsApart.h"

void ScanListLook::start(
    const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done)
{
    const auto look = [paths, owner, done = std::move(done)]() {
        Answers answers = PathLook::current().lookInTurn<Facts>(
            paths, [paths](qsizetype i) { return lookAt(paths[i]); }, nullptr);
        Dispatch::main([owner, done, answers = std::move(answers)]() {
            if (owner)
                done(answers);
        });
    };
    if (!ThreadsApart::start(look))
        Log::line(QStringLiteral("No thread to look at the scan list; its entries stay unchecked"));
}

ScanListLook::Facts ScanListLook::lookAt(const QString &path)
{
    return { ScanListRules::classifyRestored(path), ScanListRules::pathKey(path) };
}

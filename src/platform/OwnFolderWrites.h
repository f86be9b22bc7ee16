// Writes in the program's own folders (settings, support, caches, log) while the program runs. Such a
// folder on a network share may fall silent at any moment, and whoever writes there then waits in
// the kernel for good. So each own folder has one queue whose thread makes its writes, one after
// another, and a writer waits for its write only while the folder answers: a write under way that
// has not answered within the bound a mount has (BoundedLookTimes), nor said that it goes on, names
// the folder as not answering (SilentOwnFolders), once, and from then on nobody waits there. When
// the write left behind answers at last, the folder answers again and what waited for it is written.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include <QString>

class OwnFolderWrites
{
public:
    // What becomes of a write asked for while its folder does not answer.
    enum class WhileSilent {
        // Passed over (a log line, a cache batch: the program goes on without it).
        Drop,
        // Kept, in place of an earlier one with the same key, and made once the folder answers
        // (the settings file, which always holds every value).
        KeepLatest,
    };

    struct Ticket;

    // Queues `write`, which must own everything it uses, for the own folder holding `path` (run at
    // once on the calling thread for a path in none of them, or when called from that folder's own
    // queue). Nothing is queued for a folder not answering unless `whileSilent` keeps it.
    static std::shared_ptr<Ticket> post(const QString &path, std::function<bool()> write,
        WhileSilent whileSilent = WhileSilent::Drop, const QString &key = {});
    // What `write` answered; false when it did not run, or has not ended because its folder does not
    // answer, or `stop` was set first.
    static bool wait(const std::shared_ptr<Ticket> &ticket, const std::atomic<bool> *stop = nullptr);
    // post() and wait() in one.
    static bool run(
        const QString &path, std::function<bool()> write, const std::atomic<bool> *stop = nullptr);
    // The answer of `work` run as a write in the folder holding `path`; nothing when run() is false.
    template <typename Answer>
    static std::optional<Answer> answer(
        const QString &path, std::function<Answer()> work, const std::atomic<bool> *stop = nullptr)
    {
        auto box = std::make_shared<std::optional<Answer>>();
        const bool done = run(
            path,
            [box, work = std::move(work)]() {
                *box = work();
                return true;
            },
            stop);
        return done ? std::move(*box) : std::nullopt;
    }

    // From a write that takes long while its folder answers (a walk of many files, a database's
    // many statements): it goes on, so the bound starts again from now. Nothing elsewhere.
    static void stillAnswering();

    // Queues whose thread is making a write now (a thread left behind in the kernel among them).
    static int busy();
};

// Every look at a path the user chose (a root, an excluded folder, a link and what it leads to, the
// home Trash, the top of a mount) is made here and nowhere else. A share whose server has gone
// silent holds whoever looks at it, in the kernel, for good: each look runs apart (BoundedLook),
// and one that has not answered in time names the mount it was looking into as not answering. A
// mount so named stands for everything on it: no look is made there again, and none waits, while
// the look left behind on it has not answered; so at most one thread is left per silent mount, not
// one per file or link. Paths are resolved one part at a time against the mount table, so that the
// mount each step touches is known before the step is made. Many paths looked at one after another
// (lookInTurn) share one thread apart, not one each, and the same memory of mounts not answering.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <QDir>
#include <QString>
#include <QStringList>

#include "platform/BoundedLook.h"
#include "platform/FileFacts.h"
#include "platform/KnownTrashes.h"
#include "platform/ThreadsApart.h"

class PathLook
{
public:
    using Mount = KnownTrashes::Mount;

    // What a look answered, or the mount that did not answer.
    template <typename Answer> struct Result {
        std::optional<Answer> answer;
        // The point of the mount that did not answer in time, or that was named so before; empty when
        // the look answered or was stopped.
        QString silentMount;
    };

    // The real path a look is about to touch, kept up to date by the look itself: when it does not
    // answer, the mount holding that path is the one that holds it. Each step it moves on to has
    // the whole bound to answer, so that a slow share that does answer is not named for the sum.
    class Where
    {
    public:
        explicit Where(QString path)
            : m_path(std::move(path))
            , m_lastStep(std::chrono::steady_clock::now())
        {
        }
        void set(const QString &path);
        QString get() const;
        // When the look last moved on to a path.
        std::chrono::steady_clock::time_point lastStep() const;

    private:
        mutable std::mutex m_mutex;
        QString m_path;
        std::chrono::steady_clock::time_point m_lastStep;
    };

    template <typename Answer> struct Job {
        // The real path (no links) the look begins at.
        QString path;
        // Runs apart; it must own everything it uses.
        std::function<Answer(Where &)> look;
    };

    // A path with every link resolved, and what it names.
    struct Found {
        QString real;
        // Nothing, with `error` set, when it cannot be read; `real` then ends with the parts not
        // resolved.
        std::optional<FileEntryFacts> facts;
        int error = 0;
        // Set when a step would enter a mount named as not answering.
        QString silentMount;
    };

    // The mount table as it stands when read.
    using MountTable = std::function<std::vector<Mount>()>;

    // Looks over the mount table `mounts`; a look that does not answer names its mount by the table
    // `now` reads then (by `mounts` when none is given).
    explicit PathLook(std::vector<Mount> mounts, MountTable now = {});
    // Looks over this process's mount table.
    static PathLook current();

    const std::vector<Mount> &mounts() const { return *m_mounts; }

    // The point of the mount holding the real path `path`, when that mount is named as not answering
    // and its look has not answered since; empty otherwise. A mount named since this table was read
    // counts too.
    QString silentMountOf(const QString &path) const { return silentMountOf(path, *m_mounts); }
    // True while some mount is named as not answering; never waits, reads no mount table.
    static bool anyNamedNotAnswering();

    // Runs every job at once and waits for them within one bound together (lengthened by `longer`, for
    // work that takes time even where the mount answers at once), or until `stop` is set. A job whose
    // path lies on a mount named as not answering is not run.
    template <typename Answer>
    std::vector<Result<Answer>> lookAll(std::vector<Job<Answer>> jobs, const std::atomic<bool> *stop,
        std::chrono::milliseconds longer = {}) const;
    // Runs `look` at `path` once the path is resolved, so that the mount it touches is the one named
    // when it does not answer.
    template <typename Answer>
    Result<Answer> look(const QString &path, std::function<Answer()> look, const std::atomic<bool> *stop,
        std::chrono::milliseconds longer = {}) const
    {
        const Result<Found> found = find(path, stop);
        if (!found.answer)
            return { std::nullopt, found.silentMount };
        std::vector<Job<Answer>> jobs;
        jobs.push_back({ found.answer->real, [look = std::move(look)](Where &) { return look(); } });
        return std::move(lookAll(std::move(jobs), stop, longer).front());
    }

    // The answer of `look(i)`, which looks at `paths[i]`, for each path in turn on one thread apart:
    // a removal may look at thousands. A look that has not answered within the bound names the mount
    // holding its path (as written, by the mount table alone) as not answering, and the rest goes on
    // from the next path; nothing for a path on a mount so named, now or before, or after `stop`.
    // `look` must own everything it uses.
    template <typename Answer>
    std::vector<std::optional<Answer>> lookInTurn(
        const QStringList &paths, std::function<Answer(qsizetype)> look, const std::atomic<bool> *stop) const
    {
        return lookInTurn<Answer>(
            paths, [look = std::move(look)](qsizetype i, Where &) { return look(i); }, stop);
    }
    // The same for a look that keeps `where` at the real path it is about to touch (a look that
    // resolves its path with findHere): the mount named when it does not answer is the one holding
    // that path, wherever the links of the path as written lead.
    template <typename Answer>
    std::vector<std::optional<Answer>> lookInTurn(const QStringList &paths,
        std::function<Answer(qsizetype, Where &)> look, const std::atomic<bool> *stop) const;

    // Each of `paths` (absolute) resolved and looked at, together.
    std::vector<Result<Found>> findAll(const QStringList &paths, const std::atomic<bool> *stop) const;
    Result<Found> find(const QString &path, const std::atomic<bool> *stop) const;
    // `path` resolved on the calling thread, which must be a look apart (see lookInTurn), with
    // `where` kept at each step; `silentMount` is set where a step would enter a mount named as not
    // answering.
    Found findHere(const QString &path, Where &where) const;
    // Where the link `link` (absolute, its folder really at `realFolder`) leads, read from the link
    // and resolved from there: the link's own folder is never looked at again.
    Result<Found> follow(
        const QString &realFolder, const QString &target, const std::atomic<bool> *stop) const;

private:
    template <typename Answer> struct Turns;

    // Holding the turns' lock: a thread that looks at the paths from `first` on.
    template <typename Answer>
    static void startTurns(const std::shared_ptr<Turns<Answer>> &turns, qsizetype first);
    template <typename Answer>
    static void lookFrom(const std::shared_ptr<Turns<Answer>> &turns, qsizetype first, int generation);
    static QString silentMountOf(const QString &path, const std::vector<Mount> &mounts);
    // Names the mount holding `path` in the table read now as not answering while `answered` says
    // no; its point.
    QString nameNotAnswering(const QString &path, std::function<bool()> answered) const;
    // `parts` resolved from the real folder `real`, one at a time.
    static Found resolve(QString real, QStringList parts, const std::vector<Mount> &mounts, Where &where);
    std::vector<Result<Found>> resolveAll(
        const std::vector<std::pair<QString, QStringList>> &starts, const std::atomic<bool> *stop) const;

    std::shared_ptr<const std::vector<Mount>> m_mounts;
    MountTable m_now;
};

template <typename Answer>
std::vector<PathLook::Result<Answer>> PathLook::lookAll(
    std::vector<Job<Answer>> jobs, const std::atomic<bool> *stop, std::chrono::milliseconds longer) const
{
    std::vector<Result<Answer>> results(jobs.size());
    std::vector<std::optional<BoundedLook<Answer>>> looks(jobs.size());
    std::vector<std::shared_ptr<Where>> wheres(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) {
        results[i].silentMount = silentMountOf(jobs[i].path);
        if (!results[i].silentMount.isEmpty())
            continue;
        wheres[i] = std::make_shared<Where>(jobs[i].path);
        looks[i].emplace([where = wheres[i], look = std::move(jobs[i].look)]() { return look(*where); });
    }
    const auto bound = BoundedLookTimes::notAnsweringAfter();
    const auto together = std::chrono::steady_clock::now() + bound + longer;
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (!looks[i])
            continue;
        for (auto deadline = together;;) {
            results[i].answer = looks[i]->wait(deadline, stop);
            const auto stepDeadline = wheres[i]->lastStep() + bound;
            if (results[i].answer || (stop && stop->load()) || stepDeadline <= deadline)
                break;
            deadline = stepDeadline;
        }
        if (!results[i].answer && !(stop && stop->load())) {
            results[i].silentMount
                = nameNotAnswering(wheres[i]->get(), [look = *looks[i]]() { return look.hasAnswered(); });
        }
    }
    return results;
}

template <typename Answer> struct PathLook::Turns {
    std::mutex mutex;
    std::condition_variable changed;
    std::shared_ptr<const std::vector<Mount>> mounts;
    QStringList paths;
    std::function<Answer(qsizetype, Where &)> look;
    std::vector<std::optional<Answer>> answers;
    // The thread now looking; an older one left behind writes nothing more.
    int generation = 0;
    qsizetype at = 0;
    // Where the look at `at` is.
    std::shared_ptr<Where> atWhere;
    // Set once the look at `at` answers, however late: its mount is looked at again from then on.
    std::shared_ptr<std::atomic<bool>> atAnswered;
    int answered = 0;
    bool ended = false;
};

template <typename Answer>
std::vector<std::optional<Answer>> PathLook::lookInTurn(const QStringList &paths,
    std::function<Answer(qsizetype, Where &)> look, const std::atomic<bool> *stop) const
{
    if (paths.isEmpty())
        return {};
    auto turns = std::make_shared<Turns<Answer>>();
    turns->mounts = m_mounts;
    for (const QString &path : paths)
        turns->paths.append(QDir::cleanPath(path));
    turns->answers.resize(size_t(paths.size()));
    turns->look = std::move(look);
    std::unique_lock<std::mutex> lock(turns->mutex);
    startTurns(turns, 0);
    auto lastAnswer = std::chrono::steady_clock::now();
    int answered = 0;
    while (!turns->ended && !(stop && stop->load())) {
        turns->changed.wait_for(lock, BoundedLookTimes::kStopCheck);
        const auto now = std::chrono::steady_clock::now();
        if (turns->answered != answered || !turns->atAnswered) {
            answered = turns->answered;
            lastAnswer = now;
        } else if (now - std::max(lastAnswer, turns->atWhere->lastStep())
            >= BoundedLookTimes::notAnsweringAfter()) {
            // The look under way has not answered: its mount is left out, the rest goes on.
            nameNotAnswering(turns->atWhere->get(), [done = turns->atAnswered]() { return done->load(); });
            startTurns(turns, turns->at + 1);
            lastAnswer = now;
        }
    }
    ++turns->generation;
    return turns->answers;
}

template <typename Answer>
void PathLook::startTurns(const std::shared_ptr<Turns<Answer>> &turns, qsizetype first)
{
    const int generation = ++turns->generation;
    turns->ended = false;
    turns->atAnswered.reset();
    // Without a thread to spare the rest counts as not answering.
    if (!ThreadsApart::start([turns, first, generation]() { lookFrom(turns, first, generation); }))
        turns->ended = true;
}

template <typename Answer>
void PathLook::lookFrom(const std::shared_ptr<Turns<Answer>> &turns, qsizetype first, int generation)
{
    for (qsizetype i = first; i < turns->paths.size(); ++i) {
        if (!silentMountOf(turns->paths[i], *turns->mounts).isEmpty())
            continue;
        auto done = std::make_shared<std::atomic<bool>>(false);
        auto where = std::make_shared<Where>(turns->paths[i]);
        {
            std::lock_guard<std::mutex> lock(turns->mutex);
            if (turns->generation != generation)
                return;
            turns->at = i;
            turns->atWhere = where;
            turns->atAnswered = done;
        }
        Answer answer = turns->look(i, *where);
        done->store(true);
        std::lock_guard<std::mutex> lock(turns->mutex);
        if (turns->generation != generation)
            return;
        turns->answers[size_t(i)] = std::move(answer);
        ++turns->answered;
    }
    std::lock_guard<std::mutex> lock(turns->mutex);
    if (turns->generation != generation)
        return;
    turns->ended = true;
    turns->changed.notify_all();
}

// The removal run: the worker walks the plan, never the groups; outcomes reach the GUI thread in
// batches, and only there do counters, flags and groups change.
#include "removal/RemovalRun.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <unordered_map>

#include <QPointer>

#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "model/PhotosNode.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/OutsideText.h"
#include "platform/PathLook.h"
#include "platform/ThreadsApart.h"
#include "removal/RemovalRoute.h"
#include "removal/RemovalRoutes.h"
#include "results/ResultState.h"

namespace
{

void logLeftBehind()
{
    Log::line(QStringLiteral("The removal did not end at the stop (a share not answering?); left behind"));
}

} // namespace

struct RemovalRun::Batch {
    std::vector<Outcome> outcomes;
    bool done = false;
    // When the run ends without the worker: the item whose removal it had begun and not seen
    // answer, with what the user reads of it.
    std::optional<std::pair<size_t, QString>> underWay;
};

struct RemovalRun::Channel {
    // Fixed before the worker starts; the worker only reads them.
    std::vector<RemovalItem> items;
    std::vector<RemovalGroup> groups;
    std::function<void(const QString &)> beforeEachFile;
    // Worker only: per group, whether its kept copy was found changed or not answering (the rest
    // of it then stays), and the mount table its looks go by.
    std::vector<Lost> groupLost;
    std::optional<PathLook> look;
    // Set with the state's own flag, which a worker left behind must not read.
    std::atomic<bool> stop { false };
    // GUI thread only.
    QPointer<RemovalRun> owner;

    std::mutex mutex;
    std::condition_variable workerEnded;
    std::vector<Outcome> outbox;
    bool drainScheduled = false;
    bool workDone = false;
    // The removal begun and not yet posted, and whether the run has ended without the worker, which
    // from then on tells the log alone what it still does.
    std::optional<std::pair<size_t, QString>> underWay;
    bool abandoned = false;

    // Worker: the removal of the item at `index` is about to be handed to its route.
    void beginRemoval(size_t index)
    {
        const RemovalItem &item = items[index];
        QString words = item.route->underWayText(*item.records.front(), *look);
        std::lock_guard<std::mutex> lock(mutex);
        underWay.emplace(index, std::move(words));
    }

    // Worker: queues outcomes and wakes the GUI thread once per batch; once the run has ended
    // without it, only logs them.
    void post(std::vector<Outcome> outcomes, bool last)
    {
        std::shared_ptr<Channel> self = selfRef.lock();
        std::vector<Outcome> late;
        {
            std::lock_guard<std::mutex> lock(mutex);
            underWay.reset();
            if (last) {
                workDone = true;
                workerEnded.notify_all();
            }
            if (abandoned) {
                late = std::move(outcomes);
            } else {
                for (Outcome &o : outcomes)
                    outbox.push_back(std::move(o));
                scheduleDrain(self);
            }
        }
        // Outside the lock: the log's folder may be slow to answer.
        for (const Outcome &o : late)
            logLate(*o.record, o.outcome);
    }

    // GUI thread: what the worker posted since the last batch; with `abandon`, the run ends without
    // the worker from here on.
    Batch take(bool abandon)
    {
        std::lock_guard<std::mutex> lock(mutex);
        Batch batch;
        batch.outcomes.swap(outbox);
        drainScheduled = false;
        batch.done = workDone;
        if (abandon) {
            abandoned = true;
            batch.underWay = underWay;
        }
        return batch;
    }

    std::weak_ptr<Channel> selfRef;

private:
    // Holding the lock.
    void scheduleDrain(const std::shared_ptr<Channel> &self)
    {
        if (drainScheduled || !self)
            return;
        drainScheduled = true;
        std::weak_ptr<Channel> weak = self;
        Dispatch::main([weak] {
            if (const std::shared_ptr<Channel> channel = weak.lock(); channel && channel->owner)
                channel->owner->drain(*channel);
        });
    }

    // What a removal still did after the run had ended without it.
    static void logLate(const ImageFileInfo &record, const RemovalOutcome &outcome)
    {
        const QString start = QStringLiteral("After the removal had stopped, ");
        switch (outcome.kind) {
        case RemovalOutcome::Kind::Removed:
            Log::line(start + QStringLiteral("removed: ") + record.filePath);
            return;
        case RemovalOutcome::Kind::Deferred:
            Log::line(start + QStringLiteral("recorded for the album: ") + record.filePath);
            return;
        default:
            Log::line(start + QStringLiteral("not removed: ") + record.filePath + QStringLiteral(" (")
                + OutsideText::reason(outcome.reason) + QLatin1Char(')'));
        }
    }
};

RemovalRun::RemovalRun(ResultState &state, std::shared_ptr<const RemovalRoutes> routes, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_routes(std::move(routes))
{
}

RemovalRun::~RemovalRun()
{
    if (!m_channel)
        return;
    m_state.abortNow = true;
    m_channel->stop = true;
    std::unique_lock<std::mutex> lock(m_channel->mutex);
    if (m_channel->workerEnded.wait_for(lock, kStopGrace, [this] { return m_channel->workDone; }))
        return;
    m_channel->abandoned = true;
    logLeftBehind();
}

bool RemovalRun::start()
{
    if (m_running || m_state.removalInProgress || !m_routes)
        return false;
    Log::line(QStringLiteral("Removal started: ") + Log::counted(m_state.countMarked, "file", "files")
        + QStringLiteral(" marked"));
    m_state.isAppAutharizedToMoveDups = false;
    m_state.abortNow = false;
    m_state.countTrashed = 0;
    m_state.sizeTrashed = 0;
    m_state.countListedInAlbum = 0;
    m_state.uniquePhotosReatined = m_state.countTotal;
    m_state.dictPhotos.clear();
    m_removedImage = m_removedVideo = false;

    m_summary = RemovalSummary();
    m_reached.clear();
    // A worker of an earlier run, if one was left behind, reports to nothing now.
    m_channel.reset();
    m_running = true;
    m_state.removalInProgress = true;
    // The plan's looks at the files are made apart: a share gone silent never holds the window.
    auto subjects
        = std::make_shared<const std::vector<RemovalSubject>>(RemovalPlan::subjectsOf(m_state, *m_routes));
    QPointer<RemovalRun> self(this);
    Dispatch::global([self, subjects] {
        auto looks = std::make_shared<const RemovalLooks>(RemovalPlan::look(*subjects));
        Dispatch::main([self, looks] {
            if (self)
                self->begin(*looks);
        });
    });
    return true;
}

void RemovalRun::begin(const RemovalLooks &looks)
{
    if (!m_running)
        return;
    if (m_state.abortNow) {
        Log::line(QStringLiteral("Removal stopped by the user"));
        end();
        return;
    }
    RemovalPlan plan = RemovalPlan::make(m_state, *m_routes, looks);
    for (const auto &record : plan.marked)
        m_summary.marked.append(record->filePath);
    m_summary.skippedGroups = plan.skippedGroups;
    m_summary.skippedInTrash = plan.skippedInTrash;
    for (const RemovalRefusal &refusal : plan.refused)
        fail(refusal.record, refusal.reason, refusal.shown);

    m_channel = std::make_shared<Channel>();
    m_channel->selfRef = m_channel;
    m_channel->items = std::move(plan.items);
    m_reached.assign(m_channel->items.size(), false);
    m_channel->groupLost.assign(plan.groups.size(), Lost::No);
    m_channel->groups = std::move(plan.groups);
    m_channel->beforeEachFile = m_beforeEachFile;
    m_channel->owner = this;
    std::shared_ptr<Channel> channel = m_channel;
    // A thread of its own: one held for good by a share gone silent must not hold the program's end,
    // which then ends the process at once instead of destroying what the thread still uses.
    if (!ThreadsApart::start([channel] { work(channel); }))
        Dispatch::global([channel] { work(channel); });
}

void RemovalRun::requestStop()
{
    m_state.abortNow = true;
    const std::shared_ptr<Channel> channel = m_channel;
    if (!channel)
        return;
    channel->stop = true;
    std::weak_ptr<Channel> weak = channel;
    Dispatch::mainAfter(std::chrono::duration<double>(kStopGrace).count(), [weak] {
        if (const std::shared_ptr<Channel> c = weak.lock(); c && c->owner)
            c->owner->endWithoutWorker(*c);
    });
}

void RemovalRun::endWithoutWorker(const Channel &channel)
{
    if (&channel != m_channel.get() || !m_running)
        return;
    const Batch batch = m_channel->take(true);
    applyOutcomes(batch.outcomes);
    if (!batch.done) {
        // A removal already handed over cannot be called back: the summary says it may still happen.
        if (batch.underWay) {
            const auto &[index, words] = *batch.underWay;
            m_reached[index] = true;
            m_summary.underWay.emplace_back(m_channel->items[index].records.front()->filePath, words);
        }
        logLeftBehind();
    }
    end();
}

void RemovalRun::work(std::shared_ptr<Channel> channel)
{
    const std::atomic<bool> &stop = channel->stop;
    // Read once: a share mounted during the run is named by the table as it stands when a look on it
    // does not answer.
    channel->look = PathLook::current();
    std::unordered_map<const ImageFileInfo *, size_t> itemOf;
    std::vector<std::shared_ptr<RemovalRoute>> deferring;
    for (size_t i = 0; i < channel->items.size(); ++i) {
        if (stop) {
            Log::line(QStringLiteral("Removal stopped by the user"));
            break;
        }
        const RemovalItem &item = channel->items[i];
        if (channel->beforeEachFile)
            channel->beforeEachFile(item.records.front()->filePath);
        const auto [skippedGroups, stays] = checkKeptCopies(*channel, item);
        if (stop)
            continue;
        if (stays != Lost::No) {
            const bool changed = stays == Lost::Changed;
            channel->post(
                { { i, item.records.front(),
                    RemovalOutcome::skipped(changed
                            ? QStringLiteral("the copy kept for it changed since the scan")
                            : RemovalOutcome::keptCopyNotAnswering(),
                        localizedString(changed ? QStringLiteral("ID_NOT_MOVED_KEPT_COPY_CHANGED")
                                                : QStringLiteral("ID_NOT_MOVED_KEPT_COPY_NOT_ANSWERING"))),
                    skippedGroups } },
                false);
            continue;
        }
        std::optional<RemovalOutcome> removed = removeItem(*channel, i);
        if (!removed)
            continue;
        RemovalOutcome &outcome = *removed;
        if (outcome.kind == RemovalOutcome::Kind::Deferred) {
            itemOf.emplace(item.records.front().get(), i);
            if (std::find(deferring.begin(), deferring.end(), item.route) == deferring.end())
                deferring.push_back(item.route);
        }
        channel->post({ { i, item.records.front(), std::move(outcome), skippedGroups } }, false);
    }
    for (const auto &route : deferring) {
        std::vector<Outcome> finished;
        for (RemovalReport &report : route->finish(stop)) {
            const auto found = itemOf.find(report.record.get());
            if (found != itemOf.end())
                finished.push_back({ found->second, std::move(report.record), std::move(report.outcome) });
        }
        channel->post(std::move(finished), false);
    }
    channel->post({}, true);
}

std::optional<RemovalOutcome> RemovalRun::removeItem(Channel &channel, size_t index)
{
    const RemovalItem &item = channel.items[index];
    const std::shared_ptr<ImageFileInfo> &record = item.records.front();
    const auto keptLost = [&channel, &item] { return keptCopiesLost(channel, item); };
    if (!item.route->isLocal()) {
        channel.beginRemoval(index);
        return item.route->removeKeeping(record, channel.stop, keptLost);
    }
    // A file on a share gone silent would hold the worker in its check for good: checked apart, and
    // moved only once its check has answered. One that answers late answers nothing.
    std::optional<std::optional<RemovalOutcome>> refused
        = channel.look
              ->lookInTurn<std::optional<RemovalOutcome>>(
                  { record->filePath },
                  [route = item.route, record](qsizetype) { return route->recheck(*record); }, &channel.stop)
              .front();
    if (channel.stop)
        return std::nullopt;
    if (!refused)
        return RemovalOutcome::notAnswering();
    if (*refused)
        return std::move(**refused);
    channel.beginRemoval(index);
    return item.route->removeRechecked(record, channel.stop, keptLost);
}

std::optional<bool> RemovalRun::groupKeepsCopy(
    Channel &channel, const RemovalGroup &group, const std::atomic<bool> *stop)
{
    auto kept = std::make_shared<std::vector<RemovalGroup::Kept>>();
    QStringList paths;
    for (const RemovalGroup::Kept &k : group.kept) {
        if (k.route) {
            kept->push_back(k);
            paths.append(k.record->filePath);
        }
    }
    // Each look owns its copy of the kept records: one left behind outlives this run.
    const std::vector<std::optional<QString>> changed = channel.look->lookInTurn<QString>(
        paths,
        [kept](qsizetype i) {
            const RemovalGroup::Kept &one = (*kept)[size_t(i)];
            return one.route->changedSinceScan(*one.record);
        },
        stop);
    if (std::any_of(changed.begin(), changed.end(), [](const auto &c) { return c && c->isEmpty(); }))
        return true;
    if (std::any_of(changed.begin(), changed.end(), [](const auto &c) { return !c; }))
        return std::nullopt;
    return false;
}

QString RemovalRun::keptCopiesLost(Channel &channel, const RemovalItem &item)
{
    for (const size_t g : item.groups) {
        // A file already moved is checked to the end, within the bound, whatever a stop says: cut
        // short, the check would put the file back as if its kept copy had gone.
        const std::optional<bool> keeps = groupKeepsCopy(channel, channel.groups[g], nullptr);
        if (!keeps)
            return RemovalOutcome::keptCopyNotAnswering();
        if (!*keeps)
            return RemovalOutcome::keptCopyWentWithIt();
    }
    return {};
}

std::pair<int, RemovalRun::Lost> RemovalRun::checkKeptCopies(Channel &channel, const RemovalItem &item)
{
    int newlySkipped = 0;
    Lost stays = Lost::No;
    for (const size_t g : item.groups) {
        // Before every move, not once per group: another program may take the kept copy away
        // while an earlier file of the group is being moved.
        Lost &lost = channel.groupLost[g];
        if (lost == Lost::No) {
            const std::optional<bool> keeps = groupKeepsCopy(channel, channel.groups[g], &channel.stop);
            if (channel.stop)
                return { newlySkipped, stays };
            lost = !keeps ? Lost::NotAnswering : *keeps ? Lost::No : Lost::Changed;
            if (lost != Lost::No) {
                ++newlySkipped;
                Log::line(QStringLiteral("Removal skipped a group: the copy kept for it ")
                    + (lost == Lost::Changed ? QStringLiteral("changed since the scan (")
                                             : QStringLiteral("does not answer ("))
                    + channel.groups[g].kept.front().record->filePath + QLatin1Char(')'));
            }
        }
        if (stays == Lost::No)
            stays = lost;
    }
    return { newlySkipped, stays };
}

void RemovalRun::drain(const Channel &channel)
{
    // A worker left behind by a stop reports to a run that has ended.
    if (&channel != m_channel.get() || !m_running)
        return;
    const Batch batch = m_channel->take(false);
    applyOutcomes(batch.outcomes);
    if (batch.done)
        end();
}

void RemovalRun::applyOutcomes(const std::vector<Outcome> &outcomes)
{
    for (const Outcome &outcome : outcomes)
        apply(outcome);
    if (!outcomes.empty())
        emit countsChanged();
}

void RemovalRun::apply(const Outcome &outcome)
{
    const RemovalItem &item = m_channel->items[outcome.item];
    m_reached[outcome.item] = true;
    m_summary.skippedGroups += outcome.skippedGroups;
    switch (outcome.outcome.kind) {
    case RemovalOutcome::Kind::Removed:
        countRemoved(item, outcome.outcome.freesSpace);
        break;
    case RemovalOutcome::Kind::Failed:
        fail(outcome.record, outcome.outcome.reason, outcome.outcome.shown);
        break;
    case RemovalOutcome::Kind::Deferred:
        recordDeferred(*outcome.record);
        break;
    case RemovalOutcome::Kind::Skipped:
        m_summary.leftInPlace.emplace_back(outcome.record->filePath, outcome.outcome.shown);
        break;
    case RemovalOutcome::Kind::Gone:
        unmark(item);
        fail(outcome.record, outcome.outcome.reason, outcome.outcome.shown);
        break;
    }
}

void RemovalRun::unmark(const RemovalItem &item)
{
    int unmarked = 0;
    for (const auto &record : item.records) {
        unmarked += record->isMark ? 1 : 0;
        record->isMark = false;
    }
    lowerMarked(item.records.front()->fileSize, unmarked);
}

void RemovalRun::lowerMarked(std::uint64_t fileSize, int records)
{
    m_state.countMarked = std::max(0, m_state.countMarked - records);
    m_state.sizeMarked -= std::min(m_state.sizeMarked, fileSize * std::uint64_t(records));
}

void RemovalRun::countRemoved(const RemovalItem &item, bool freesSpace)
{
    const ImageFileInfo &first = *item.records.front();
    const int records = int(item.records.size());
    for (const auto &record : item.records) {
        record->isTrashed = true;
        if (record->isPhotosNode && record->photosInfo)
            record->photosInfo->isMovedToTrashAlbum = true;
    }
    lowerMarked(first.fileSize, records);
    // One file, however many records led to it.
    ++m_state.countTrashed;
    m_state.sizeTrashed += freesSpace ? first.fileSize : 0;
    m_state.countListedInAlbum += first.isPhotosNode ? 1 : 0;
    m_state.uniquePhotosReatined -= records;
    (first.isVideo ? m_removedVideo : m_removedImage) = true;
    m_summary.removed.append(first.filePath);
}

void RemovalRun::recordDeferred(const ImageFileInfo &record)
{
    if (!record.isPhotosNode)
        return;
    // Library items wait for the album; the summary and the finish read these.
    ++m_summary.deferred;
    m_state.isPhotosAppTrashed = true;
    QVariantList items = m_state.dictPhotos.value(record.libraryPath).toList();
    items.append(record.photosInfo ? record.photosInfo->uuIDRkVersion.value_or(QString()) : QString());
    m_state.dictPhotos.insert(record.libraryPath, items);
}

void RemovalRun::fail(
    const std::shared_ptr<ImageFileInfo> &record, const QString &reason, const QString &shown)
{
    const QString path = record ? record->filePath : QString();
    // A provider's words may run to megabytes over hundreds of files; the summary keeps their start.
    const QString why = OutsideText::reason(reason);
    Log::line(QStringLiteral("Not removed: ") + path + QStringLiteral(" (") + why + QLatin1Char(')'));
    m_summary.failed.push_back({ path, why });
    m_summary.leftInPlace.emplace_back(path, OutsideText::reason(shown));
}

void RemovalRun::takeRemovedOutOfGroups()
{
    const auto removed = [](const std::shared_ptr<ImageFileInfo> &member) {
        return member->isMark && !member->isLocked && member->isTrashed;
    };
    // Every group of the scan: a record of a removed file may sit in a group the filter hides.
    for (const auto &group : m_state.arrAllFilesGrouping) {
        group->children.removeIf(removed);
        group->filterChildren.removeIf(removed);
    }
}

void RemovalRun::end()
{
    m_summary.stopped = m_state.abortNow;
    m_summary.notReached = m_summary.stopped ? int(std::count(m_reached.begin(), m_reached.end(), false)) : 0;
    takeRemovedOutOfGroups();
    if (m_removedImage && m_removedVideo)
        m_state.deletedFileTypes = GlobalObjects::TypeSupport::ALLFILES;
    else if (m_removedImage)
        m_state.deletedFileTypes = GlobalObjects::TypeSupport::ONLYIMAGES;
    else if (m_removedVideo)
        m_state.deletedFileTypes = GlobalObjects::TypeSupport::ONLYVIDEO;
    m_state.filterGroupsAfterRemoval();
    m_state.recountTotals();
    m_state.removalSkippedGroups = m_summary.skippedGroups;
    m_state.removalSkippedInTrash = m_summary.skippedInTrash;
    m_state.removalFailedFiles = int(m_summary.failed.size());
    m_state.removalLeftInPlace = m_summary.leftInPlace;
    m_state.removalStopped = m_summary.stopped;
    m_state.removalNotReached = m_summary.notReached;
    m_state.removalUnderWay = m_summary.underWay;
    m_running = false;
    m_state.removalInProgress = false;
    Log::line(QStringLiteral("Removal ended: %1 removed, %2 not removed, %3 groups skipped, %4 with their "
                             "only other copies in a Trash")
                  .arg(m_summary.removed.size())
                  .arg(m_summary.failed.size())
                  .arg(m_summary.skippedGroups)
                  .arg(m_summary.skippedInTrash)
        + (m_summary.stopped ? QStringLiteral("; stopped, %1 not reached").arg(m_summary.notReached)
                             : QString())
        + (m_summary.underWay.empty()
                ? QString()
                : QStringLiteral(", %1 under way (may still be removed)").arg(m_summary.underWay.size())));
    emit finished();
}

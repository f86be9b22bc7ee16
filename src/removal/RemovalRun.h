// One removal run over a results window's state: the start state, a worker on the global queue that
// hands each planned file to its route, and the GUI-thread side that alone changes the counters and
// the groups. Free of widgets, so the window, the headless runner and the tests drive the same run.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "removal/RemovalPlan.h"
#include "removal/RemovalRoute.h"

class RemovalRoutes;
class ResultState;

// What a finished run did, for the summary and the runner's report.
struct RemovalSummary {
    struct Failure {
        QString path;
        QString reason;
    };
    QStringList marked;
    QStringList removed;
    std::vector<Failure> failed;
    // Every file left in place, failed or skipped with its group, with why in the user's words
    // (empty when there are none), in the order met.
    std::vector<std::pair<QString, QString>> leftInPlace;
    int skippedGroups = 0;
    // Groups left whole because their only other copies lie in a Trash.
    int skippedInTrash = 0;
    // Library items recorded for the album in this run.
    int deferred = 0;
    // The run was stopped, and the planned files it had not reached then, left in place.
    bool stopped = false;
    int notReached = 0;
    // Each file whose removal had begun and not answered when the run ended without its worker,
    // with what may still become of it in the user's words: a move once begun cannot be called back.
    std::vector<std::pair<QString, QString>> underWay;
};

class RemovalRun : public QObject
{
    Q_OBJECT
public:
    RemovalRun(ResultState &state, std::shared_ptr<const RemovalRoutes> routes, QObject *parent = nullptr);
    // How long a stop waits for the worker before the run ends without it: a file on a share gone
    // silent holds its thread in the kernel for good.
    static constexpr std::chrono::milliseconds kStopGrace { 1000 };

    // Stops a worker still running and waits kStopGrace at most for it; one that has not ended by
    // then is left behind, touching only what it shares with the run.
    ~RemovalRun() override;

    // GUI thread. Sets the start state (counters, stop flag) and starts the looks the plan needs on a
    // pool thread; once they are back, plans and starts the worker. False while a run is under way.
    bool start();
    // Before start(): `hook` runs on the worker with the path of each file just before its checks,
    // so a caller can change files there the way another program might, at a known point.
    void setBeforeEachFile(std::function<void(const QString &path)> hook)
    {
        m_beforeEachFile = std::move(hook);
    }
    // Any thread: the worker stops before its next file; the run ends within kStopGrace, with or
    // without it. A worker left behind in a removal tells the log how it ended, and nothing else.
    void requestStop();
    bool isRunning() const { return m_running; }
    const RemovalSummary &summary() const { return m_summary; }

signals:
    // The counters changed (GUI thread, coalesced).
    void countsChanged();
    // The run ended: removed files are out of their groups and the groups were filtered again.
    void finished();

private:
    struct Channel;
    struct Batch;
    // Why a group can no longer lose files.
    enum class Lost : char { No, Changed, NotAnswering };
    struct Outcome {
        size_t item = 0;
        std::shared_ptr<ImageFileInfo> record;
        RemovalOutcome outcome;
        // Groups found, at this item, to have lost their kept copy.
        int skippedGroups = 0;
    };

    // GUI thread: plans by what the looks found and starts the worker, or ends at once after a stop.
    void begin(const RemovalLooks &looks);
    static void work(std::shared_ptr<Channel> channel);
    // Worker: the route's removal of the item at `index`, its file checked apart first when it lies
    // on this computer; nothing when the run was stopped before the file was moved.
    static std::optional<RemovalOutcome> removeItem(Channel &channel, size_t index);
    // Worker: checks the kept copies of the groups `item` leaves, before each of their files; the
    // number of groups newly found changed or not answering, and why the item must stay.
    static std::pair<int, Lost> checkKeptCopies(Channel &channel, const RemovalItem &item);
    // Worker: whether a kept copy of `group` is still the one scanned; nothing when none answered,
    // or when `stop` cut the looks short.
    static std::optional<bool> groupKeepsCopy(
        Channel &channel, const RemovalGroup &group, const std::atomic<bool> *stop);
    // Worker: why a kept copy of a group `item` leaves is no longer there to keep; empty when each
    // group still has one.
    static QString keptCopiesLost(Channel &channel, const RemovalItem &item);
    void drain(const Channel &channel);
    // GUI thread: a stopped worker that has not ended by now is left behind.
    void endWithoutWorker(const Channel &channel);
    void applyOutcomes(const std::vector<Outcome> &outcomes);
    void apply(const Outcome &outcome);
    void countRemoved(const RemovalItem &item, bool freesSpace);
    // A file no longer there: its records stay in their groups, unmarked.
    void unmark(const RemovalItem &item);
    // `records` records of a file of `fileSize` bytes are no longer marked.
    void lowerMarked(std::uint64_t fileSize, int records);
    void recordDeferred(const ImageFileInfo &record);
    void fail(const std::shared_ptr<ImageFileInfo> &record, const QString &reason, const QString &shown);
    void takeRemovedOutOfGroups();
    void end();

    ResultState &m_state;
    std::shared_ptr<const RemovalRoutes> m_routes;
    std::shared_ptr<Channel> m_channel;
    std::function<void(const QString &)> m_beforeEachFile;
    RemovalSummary m_summary;
    // GUI thread: per planned item, whether its outcome has come.
    std::vector<bool> m_reached;
    bool m_running = false;
    bool m_removedImage = false;
    bool m_removedVideo = false;
};

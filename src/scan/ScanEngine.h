// One scan from the Start button to its outcome, without any window: the walk over the scan list,
// the hand-over to the cache, the hashing stage, the exact-matching preparation, the grouping and
// the delayed hand-over of the groups. The main window's controller owns one and calls it; the
// tests and the headless runner drive the same object.
//
// Every callback runs on the GUI thread. Progress is coalesced; `finished` is called exactly once
// per started scan.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QList>

#include "model/FilePathNode.h"
#include "scan/ScanOptions.h"
#include "scan/ScanProgress.h"
#include "scan/ScanSession.h"

class OperationQueue;
class ScanStages;
template <typename Value> class ProgressCoalescer;

class ScanEngine
{
public:
    enum class Outcome {
        Stopped, // no message, no results
        NoPhotos, // "ID_NO_PHOTOS_DETECTED_AT_PATH", or "ID_PHOTO_LIBRARY_COULD_NOT_BE_READ"
        OnePhoto, // "ID_ONLY_ONE_PHOTO_DETECTED_AT_PATH"
        Results, // the groups of two or more members, in order
    };

    struct Callbacks {
        std::function<void(const ScanProgress &)> progress;
        // The comparison has ended: the ring shows 100%.
        std::function<void()> comparisonComplete;
        std::function<void(Outcome, const QList<std::shared_ptr<DuplicatesGroup>> &)> finished;
    };

    struct Timings {
        double enumerate = 0.0;
        double hash = 0.0;
        double compare = 0.0;
        double total = 0.0;
    };

    // How long a stop waits for the running jobs before it leaves them behind.
    static constexpr std::chrono::milliseconds kStopGrace { 1000 };
    // Hashing jobs that run at once, at most.
    static constexpr int kMaxHashOperations = 16;
    // How many run at once for a scan of `source`.
    static int hashOperationsAtOnce(ScanSource source);

    explicit ScanEngine(Callbacks callbacks);
    ~ScanEngine();
    ScanEngine(const ScanEngine &) = delete;
    ScanEngine &operator=(const ScanEngine &) = delete;

    // GUI thread. Starts the walk over the ticked sources in the background; the scan reads only
    // `options`, never process-wide state. False when a scan is still running.
    bool start(const ScanOptions &options, const std::vector<FilePathNode> &sources);
    // GUI thread. A scan whose records were listed elsewhere (a cloud source's listing): starts at
    // the hand-over to the cache and the hashing stage; `fetcher` brings each record's local copy
    // when the hashing needs it. False when a scan is still running.
    bool startWithRecords(const ScanOptions &options, const RecordList &records, LocalCopyFetcher fetcher);
    // GUI thread. The stop request: every stage ends at its next check; once the running jobs
    // have finished, or after kStopGrace without them, `finished(Stopped)` follows. During the
    // results delay the comparison is over: `finished(Results)` follows at once.
    void stop();
    bool isRunning() const { return m_running.load(); }

    // Seconds between the end of the comparison and the hand-over of the groups (3 in the app).
    void setResultsDelay(double seconds) { m_resultsDelay = seconds; }
    // Groups with fewer than two members are never handed over.
    static QList<std::shared_ptr<DuplicatesGroup>> groupsToShow(
        const QList<std::shared_ptr<DuplicatesGroup>> &all);

    // The last scan's state; read it on the GUI thread after `finished`.
    std::shared_ptr<const ScanSession> session() const { return m_session; }
    Timings timings() const;

private:
    struct Alive;

    std::shared_ptr<ScanSession> beginSession(const ScanOptions &options);
    // The stages of the scan just begun, wired to this engine through the GUI thread only.
    std::shared_ptr<ScanStages> makeStages(const std::shared_ptr<ScanSession> &session);
    void comparisonEnded(const std::shared_ptr<ScanSession> &session);
    // GUI thread, after a stop: the outcome once every job has returned, or once `deadline` has
    // passed, leaving behind the jobs that have not.
    void awaitStop(
        const std::shared_ptr<ScanSession> &session, std::chrono::steady_clock::time_point deadline);
    bool queuesIdle() const;
    // Gives up the queues whose jobs have not returned; later scans get fresh ones.
    void leaveQueuesBehind();
    void finish(const std::shared_ptr<ScanSession> &session, Outcome outcome);

    Callbacks m_callbacks;
    std::shared_ptr<Alive> m_alive;
    std::shared_ptr<ScanSession> m_session;
    std::atomic<bool> m_running { false };
    std::atomic<bool> m_finished { true };
    double m_resultsDelay = 3.0;
    std::shared_ptr<ProgressCoalescer<ScanProgress>> m_progress;
    // The walk and the exact-matching pass; the hashing jobs (at most 16 at a time). A queue whose
    // jobs did not return after a stop is left behind, never waited for.
    std::unique_ptr<OperationQueue> m_scanQueue;
    std::unique_ptr<OperationQueue> m_hashOperationQueue;
};

// The work of one scan off the GUI thread, from the walk to the end of the comparison. A scan that
// is stopped while one of its jobs waits in the kernel (a share gone silent holds a read for good)
// is given up without that job: so everything a job reaches is owned here and shared with the
// jobs, never the engine that started them, and a job that wakes late touches no freed state.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/FilePathNode.h"
#include "scan/ScanProgress.h"
#include "scan/ScanSession.h"

class OperationQueue;
template <typename Value> class ProgressCoalescer;

class ScanStages : public std::enable_shared_from_this<ScanStages>
{
public:
    using Progress = ProgressCoalescer<ScanProgress>;
    // How the stages end, each called at most once, on a worker thread: `early` with true when no
    // photo was found, false for one; `compared` once the groups are complete.
    struct Ends {
        std::function<void(bool none)> early;
        std::function<void()> compared;
    };

    // `hashQueue` outlives every job queued on it (the engine keeps it, or leaves it behind).
    ScanStages(std::shared_ptr<ScanSession> session, std::shared_ptr<Progress> progress,
        OperationQueue &hashQueue, int hashJobsAtOnce, Ends ends);

    // Scan queue: the walk over `sources`, then the hand-over.
    void walk(const std::vector<FilePathNode> &sources);
    // Scan queue: the cache check of records listed elsewhere, then the hand-over.
    void checkCacheThenHandOver();

    // Any thread: a progress report of `stage`, coalesced. `records`: the count the walk has made
    // so far, while its records are still its own.
    void post(
        ScanProgress::Stage stage, const QString &path, std::optional<int> records = std::nullopt) const;

private:
    void handOver();
    void startHashingStage();
    void comparisonEnded();

    std::shared_ptr<ScanSession> m_session;
    std::shared_ptr<Progress> m_progress;
    OperationQueue &m_hashQueue;
    int m_hashJobsAtOnce;
    Ends m_ends;
};

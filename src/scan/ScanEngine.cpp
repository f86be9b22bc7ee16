#include "scan/ScanEngine.h"

#include <algorithm>
#include <utility>

#include <QThread>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/BoundedLook.h"
#include "platform/Dispatch.h"
#include "platform/LeftBehindQueues.h"
#include "platform/Log.h"
#include "platform/OperationQueue.h"
#include "scan/ProgressCoalescer.h"
#include "scan/ScanPeriod.h"
#include "scan/ScanStages.h"

namespace
{

double seconds(qint64 fromNs, qint64 toNs)
{
    return toNs > fromNs ? double(toNs - fromNs) / 1e9 : 0.0;
}

} // namespace

// Lets GUI-thread jobs queued by a scan notice that the engine has gone.
struct ScanEngine::Alive {
};

ScanEngine::ScanEngine(Callbacks callbacks)
    : m_callbacks(std::move(callbacks))
    , m_alive(std::make_shared<Alive>())
    , m_progress(std::make_shared<ProgressCoalescer<ScanProgress>>([this](const ScanProgress &progress) {
        if (m_callbacks.progress)
            m_callbacks.progress(progress);
    }))
    , m_scanQueue(std::make_unique<OperationQueue>(1))
    , m_hashOperationQueue(std::make_unique<OperationQueue>(kMaxHashOperations))
{
}

ScanEngine::~ScanEngine()
{
    m_progress->cancel();
    m_alive.reset();
    if (m_session)
        m_session->abortMe = true;
    const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
    for (OperationQueue *queue : { m_scanQueue.get(), m_hashOperationQueue.get() }) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        queue->waitUntilAllOperationsAreFinished(std::max(left, std::chrono::milliseconds(0)));
    }
    if (!queuesIdle())
        leaveQueuesBehind();
}

std::shared_ptr<ScanSession> ScanEngine::beginSession(const ScanOptions &options)
{
    m_finished = false;
    auto session = std::make_shared<ScanSession>();
    session->options = options;
    ScanPeriod::fixWindow(session->options.period);
    session->cacheIndex.reSizeValue = session->options.globals.reSizeValue;
    session->cacheIndex.turnsCompared = session->options.recordSettings().turnsCompared;
    session->cacheIndex.stop = &session->abortMe;
    session->clock.start();
    m_session = session;
    return session;
}

std::shared_ptr<ScanStages> ScanEngine::makeStages(const std::shared_ptr<ScanSession> &session)
{
    std::weak_ptr<Alive> alive = m_alive;
    ScanStages::Ends ends;
    ends.early = [this, alive, session](bool none) {
        Dispatch::main([this, alive, session, none]() {
            if (alive.lock())
                finish(session, none ? Outcome::NoPhotos : Outcome::OnePhoto);
        });
    };
    ends.compared = [this, alive, session]() {
        Dispatch::main([this, alive, session]() {
            if (alive.lock())
                comparisonEnded(session);
        });
    };
    auto stages = std::make_shared<ScanStages>(session, m_progress, *m_hashOperationQueue,
        hashOperationsAtOnce(session->options.globals.scanType), std::move(ends));
    std::weak_ptr<ScanStages> weak = stages;
    session->report = [weak](ScanProgress::Stage stage, const QString &path) {
        if (const auto s = weak.lock())
            s->post(stage, path);
    };
    return stages;
}

bool ScanEngine::start(const ScanOptions &options, const std::vector<FilePathNode> &sources)
{
    if (m_running.exchange(true))
        return false;
    const std::shared_ptr<ScanStages> stages = makeStages(beginSession(options));
    m_scanQueue->addOperation([stages, sources]() { stages->walk(sources); });
    return true;
}

bool ScanEngine::startWithRecords(
    const ScanOptions &options, const RecordList &records, LocalCopyFetcher fetcher)
{
    if (m_running.exchange(true))
        return false;
    const std::shared_ptr<ScanSession> session = beginSession(options);
    session->arrImagesContent = records;
    session->fetcher = std::move(fetcher);
    const std::shared_ptr<ScanStages> stages = makeStages(session);
    m_scanQueue->addOperation([stages]() { stages->checkCacheThenHandOver(); });
    return true;
}

int ScanEngine::hashOperationsAtOnce(ScanSource source)
{
    // Photos on this computer keep every core decoding and no more: more decodes than cores only
    // take turns, each evicting the others' tables and buffers from the caches. One more runs the
    // finished batch's cache write beside them. Cloud records spend most of their time waiting
    // for their downloads.
    if (isCloudSource(source))
        return kMaxHashOperations;
    return std::clamp(QThread::idealThreadCount() + 1, 1, kMaxHashOperations);
}

void ScanEngine::comparisonEnded(const std::shared_ptr<ScanSession> &session)
{
    if (session != m_session || m_finished.load())
        return;
    if (m_callbacks.comparisonComplete)
        m_callbacks.comparisonComplete();
    std::weak_ptr<Alive> alive = m_alive;
    Dispatch::mainAfter(m_resultsDelay, [this, alive, session]() {
        if (alive.lock())
            finish(session, Outcome::Results);
    });
}

void ScanEngine::stop()
{
    if (!m_session || m_finished.load())
        return;
    // Stop while the results are about to open: the finished work is shown at once, not lost.
    if (m_session->resultsReady.load()) {
        finish(m_session, Outcome::Results);
        return;
    }
    m_session->abortMe = true;
    // Whatever stage is running, the outcome follows once every queued job has returned, so no
    // job writes to the cache or the records after the scan is reported stopped. A job held in
    // the kernel by a share that stopped answering does not hold the window: it is left behind.
    awaitStop(m_session, std::chrono::steady_clock::now() + kStopGrace);
}

void ScanEngine::awaitStop(
    const std::shared_ptr<ScanSession> &session, std::chrono::steady_clock::time_point deadline)
{
    if (session != m_session || m_finished.load())
        return;
    const bool idle = queuesIdle();
    if (!idle && std::chrono::steady_clock::now() < deadline) {
        std::weak_ptr<Alive> alive = m_alive;
        const double check = std::chrono::duration<double>(BoundedLookTimes::kStopCheck).count();
        Dispatch::mainAfter(check, [this, alive, session, deadline]() {
            if (alive.lock())
                awaitStop(session, deadline);
        });
        return;
    }
    if (!idle)
        leaveQueuesBehind();
    // The comparison may have ended just before it saw the stop; its groups are kept then too.
    finish(session, session->resultsReady.load() ? Outcome::Results : Outcome::Stopped);
}

bool ScanEngine::queuesIdle() const
{
    return m_scanQueue->operationCount() == 0 && m_hashOperationQueue->operationCount() == 0;
}

void ScanEngine::leaveQueuesBehind()
{
    Log::line(QStringLiteral("Scan jobs did not return at the stop (a share not answering?); left behind"));
    // Kept together: a late job of the one may still queue on the other.
    std::vector<std::unique_ptr<OperationQueue>> queues;
    queues.push_back(std::exchange(m_scanQueue, std::make_unique<OperationQueue>(1)));
    queues.push_back(
        std::exchange(m_hashOperationQueue, std::make_unique<OperationQueue>(kMaxHashOperations)));
    LeftBehindQueues::keep(std::move(queues));
}

void ScanEngine::finish(const std::shared_ptr<ScanSession> &session, Outcome outcome)
{
    std::weak_ptr<Alive> alive = m_alive;
    Dispatch::main([this, alive, session, outcome]() {
        // A late job of an earlier scan (its results delay, its stop) never ends a newer one.
        if (!alive.lock() || session != m_session || m_finished.exchange(true))
            return;
        m_running = false;
        const QList<std::shared_ptr<DuplicatesGroup>> groups = outcome == Outcome::Results
            ? groupsToShow(m_session->arrAllFilesGrouping)
            : QList<std::shared_ptr<DuplicatesGroup>> {};
        if (m_callbacks.finished)
            m_callbacks.finished(outcome, groups);
    });
}

QList<std::shared_ptr<DuplicatesGroup>> ScanEngine::groupsToShow(
    const QList<std::shared_ptr<DuplicatesGroup>> &all)
{
    QList<std::shared_ptr<DuplicatesGroup>> shown;
    for (const auto &group : all) {
        if (group && group->children.size() >= 2)
            shown.append(group);
    }
    return shown;
}

ScanEngine::Timings ScanEngine::timings() const
{
    Timings t;
    if (!m_session)
        return t;
    const ScanSession &s = *m_session;
    t.enumerate = seconds(0, s.enumerateEndNs);
    t.hash = seconds(s.enumerateEndNs, s.hashEndNs);
    t.compare = seconds(s.hashEndNs, s.compareEndNs);
    t.total = seconds(0, s.compareEndNs > 0 ? s.compareEndNs.load() : s.enumerateEndNs.load());
    return t;
}

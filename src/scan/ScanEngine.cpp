#include "scan/ScanEngine.h"

#include <algorithm>
#include <thread>

#include <QThread>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/OperationQueue.h"
#include "scan/BackgroundWalk.h"
#include "scan/HashingStage.h"
#include "scan/ProgressCoalescer.h"
#include "scan/ScanCache.h"
#include "scan/ScanPeriod.h"

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
    , m_progress(std::make_unique<ProgressCoalescer<ScanProgress>>([this](const ScanProgress &progress) {
        if (m_callbacks.progress)
            m_callbacks.progress(progress);
    }))
    , m_scanQueue(std::make_unique<OperationQueue>(1))
    , m_hashOperationQueue(std::make_unique<OperationQueue>(kMaxHashOperations))
    , m_stopQueue(std::make_unique<OperationQueue>(1))
{
}

ScanEngine::~ScanEngine()
{
    m_progress->cancel();
    m_alive.reset();
    if (m_session)
        m_session->abortMe = true;
    m_stopQueue->waitUntilAllOperationsAreFinished();
    m_scanQueue->waitUntilAllOperationsAreFinished();
    m_hashOperationQueue->waitUntilAllOperationsAreFinished();
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
    std::weak_ptr<ScanSession> weak = session;
    session->report = [this, weak](ScanProgress::Stage stage, const QString &path) {
        if (const auto s = weak.lock())
            postProgress(s, stage, path);
    };
    m_session = session;
    return session;
}

bool ScanEngine::start(const ScanOptions &options, const std::vector<FilePathNode> &sources)
{
    if (m_running.exchange(true))
        return false;
    const std::shared_ptr<ScanSession> session = beginSession(options);
    m_scanQueue->addOperation([this, session, sources]() {
        // Checking the cache file reads the whole of it, so it runs beside the listing; it is over
        // (a damaged file replaced) before the hand-over opens the file, also when the scan stops.
        std::jthread cacheCheck(
            [session]() { ScanCache::checkCacheFile(session->options.globals.scanType, &session->abortMe); });
        const auto added = [this, session](const QString &path, int records) {
            postProgress(session, ScanProgress::Stage::Adding, path, records);
        };
        if (std::optional<SourceEnumerator::Walked> walked = BackgroundWalk::run(session, sources, added)) {
            session->arrImagesContent = std::move(walked->records);
            session->walkReport = std::move(walked->report);
        }
        cacheCheck.join();
        handOver(session);
    });
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
    m_scanQueue->addOperation([this, session]() {
        if (!session->stopped())
            ScanCache::checkCacheFile(session->options.globals.scanType, &session->abortMe);
        handOver(session);
    });
    return true;
}

void ScanEngine::handOver(const std::shared_ptr<ScanSession> &session)
{
    session->prog = ScanProgress::addingBase(session->recordCount());
    m_progress->flush();
    session->enumerateEndNs = session->clock.nsecsElapsed();
    if (session->stopped())
        return;
    ScanCache::prepareCacheTempTable(
        session->options.globals.scanType, session->arrImagesContent, &session->abortMe);
    startHashingStage(session);
}

void ScanEngine::startHashingStage(const std::shared_ptr<ScanSession> &session)
{
    if (session->stopped())
        return;
    if (session->arrImagesContent.size() < 2) {
        finish(session, session->arrImagesContent.empty() ? Outcome::NoPhotos : Outcome::OnePhoto);
        return;
    }
    session->isCalculatingHash = true;
    session->prog = 0.05;
    m_hashOperationQueue->setMaxConcurrentOperationCount(
        hashOperationsAtOnce(session->options.globals.scanType));
    postProgress(session, ScanProgress::Stage::Searching, {});
    auto stage = std::make_shared<HashingStage>(
        session, *m_hashOperationQueue, [this, session]() { comparisonEnded(session); });
    stage->prepareHashOperations();
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
    session->compareEndNs = session->clock.nsecsElapsed();
    m_progress->flush();
    if (session->stopped())
        return;
    session->resultsReady = true;
    std::weak_ptr<Alive> alive = m_alive;
    Dispatch::main([this, alive]() {
        if (alive.lock() && m_callbacks.comparisonComplete)
            m_callbacks.comparisonComplete();
    });
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
    // job writes to the cache or the records after the scan is reported stopped.
    m_stopQueue->addOperation([this, session = m_session]() { waitForHashQueueThenContinue(session); });
}

void ScanEngine::waitForHashQueueThenContinue(const std::shared_ptr<ScanSession> &session)
{
    m_scanQueue->waitUntilAllOperationsAreFinished();
    m_hashOperationQueue->waitUntilAllOperationsAreFinished();
    // The comparison may have ended just before it saw the stop; its groups are kept then too.
    finish(session, session->resultsReady.load() ? Outcome::Results : Outcome::Stopped);
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

void ScanEngine::postProgress(const std::shared_ptr<ScanSession> &session, ScanProgress::Stage stage,
    const QString &path, std::optional<int> records)
{
    ScanProgress p;
    p.stage = stage;
    p.withVideos = session->options.exact() && session->options.allowVideoScanning;
    p.recordCount = records.value_or(session->recordCount());
    p.hashed = session->countHashProcessed;
    p.compared = session->countCompared;
    p.dupSize = session->dupSize;
    p.bytesRead = session->bytesRead;
    p.bytesToRead = session->bytesToRead;
    p.path = path;
    p.fraction = ScanProgress::ringFraction(stage, p.recordCount, p.hashed, p.compared, session->prog);
    m_progress->post(std::move(p));
}

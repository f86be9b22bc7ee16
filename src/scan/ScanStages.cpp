#include "scan/ScanStages.h"

#include <thread>

#include "platform/OperationQueue.h"
#include "scan/BackgroundWalk.h"
#include "scan/HashingStage.h"
#include "scan/ProgressCoalescer.h"
#include "scan/ScanCache.h"

ScanStages::ScanStages(std::shared_ptr<ScanSession> session, std::shared_ptr<Progress> progress,
    OperationQueue &hashQueue, int hashJobsAtOnce, Ends ends)
    : m_session(std::move(session))
    , m_progress(std::move(progress))
    , m_hashQueue(hashQueue)
    , m_hashJobsAtOnce(hashJobsAtOnce)
    , m_ends(std::move(ends))
{
}

void ScanStages::walk(const std::vector<FilePathNode> &sources)
{
    const std::shared_ptr<ScanSession> session = m_session;
    // Checking the cache file reads the whole of it, so it runs beside the listing; it is over
    // (a damaged file replaced) before the hand-over opens the file, also when the scan stops.
    std::jthread cacheCheck(
        [session]() { ScanCache::checkCacheFile(session->options.globals.scanType, &session->abortMe); });
    const auto added
        = [this](const QString &path, int records) { post(ScanProgress::Stage::Adding, path, records); };
    if (std::optional<SourceEnumerator::Walked> walked = BackgroundWalk::run(session, sources, added)) {
        session->arrImagesContent = std::move(walked->records);
        session->walkReport = std::move(walked->report);
    }
    cacheCheck.join();
    handOver();
}

void ScanStages::checkCacheThenHandOver()
{
    if (!m_session->stopped())
        ScanCache::checkCacheFile(m_session->options.globals.scanType, &m_session->abortMe);
    handOver();
}

void ScanStages::handOver()
{
    ScanSession &s = *m_session;
    s.prog = ScanProgress::addingBase(s.recordCount());
    m_progress->flush();
    s.enumerateEndNs = s.clock.nsecsElapsed();
    if (s.stopped())
        return;
    ScanCache::prepareCacheTempTable(s.options.globals.scanType, s.arrImagesContent, &s.abortMe);
    startHashingStage();
}

void ScanStages::startHashingStage()
{
    ScanSession &s = *m_session;
    if (s.stopped())
        return;
    if (s.arrImagesContent.size() < 2) {
        m_ends.early(s.arrImagesContent.empty());
        return;
    }
    s.isCalculatingHash = true;
    s.prog = 0.05;
    m_hashQueue.setMaxConcurrentOperationCount(m_hashJobsAtOnce);
    post(ScanProgress::Stage::Searching, {});
    auto self = shared_from_this();
    auto stage
        = std::make_shared<HashingStage>(m_session, m_hashQueue, [self]() { self->comparisonEnded(); });
    stage->prepareHashOperations();
}

void ScanStages::comparisonEnded()
{
    ScanSession &s = *m_session;
    s.compareEndNs = s.clock.nsecsElapsed();
    m_progress->flush();
    if (s.stopped())
        return;
    s.resultsReady = true;
    m_ends.compared();
}

void ScanStages::post(ScanProgress::Stage stage, const QString &path, std::optional<int> records) const
{
    const ScanSession &s = *m_session;
    ScanProgress p;
    p.stage = stage;
    p.withVideos = s.options.exact() && s.options.allowVideoScanning;
    p.recordCount = records.value_or(s.recordCount());
    p.hashed = s.countHashProcessed;
    p.compared = s.countCompared;
    p.dupSize = s.dupSize;
    p.bytesRead = s.bytesRead;
    p.bytesToRead = s.bytesToRead;
    p.path = path;
    p.fraction = ScanProgress::ringFraction(stage, p.recordCount, p.hashed, p.compared, s.prog);
    m_progress->post(std::move(p));
}

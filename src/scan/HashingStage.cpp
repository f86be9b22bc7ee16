#include "scan/HashingStage.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/CommonFunc.h"
#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/OperationQueue.h"
#include "platform/PictureBuffers.h"
#include "scan/DuplicateGrouper.h"
#include "scan/ExactMatchPreparer.h"
#include "scan/ExactPass.h"
#include "scan/ScanCache.h"

HashingStage::HashingStage(
    std::shared_ptr<ScanSession> session, OperationQueue &queue, std::function<void()> comparisonEnded)
    : m_session(std::move(session))
    , m_queue(queue)
    , m_comparisonEnded(std::move(comparisonEnded))
{
}

const RecordList &HashingStage::source() const
{
    return m_session->options.exact() ? m_session->arrNodesForExactMatch : m_session->arrImagesContent;
}

void HashingStage::prepareHashOperations()
{
    ScanSession &s = *m_session;
    CommonFunc::removeThumbnailsFolder();
    s.cacheIndex.clear();
    ScanCache::loadCachedFileInfo(s.options.globals.scanType, s.options.exact(), s.cacheIndex);
    m_countFileProcessedToHash = 0;
    if (s.options.exact() && !isCloudSource(s.options.globals.scanType)) {
        auto self = shared_from_this();
        std::make_shared<ExactPass>(m_session, m_queue, [self]() { self->runComparison(); })->start();
        return;
    }
    if (s.options.exact()) {
        s.countHashProcessed = 0;
        ExactMatchPreparer preparer(s);
        if (!preparer.run())
            return;
    }
    scheduleHashOperations();
}

void HashingStage::scheduleHashOperations()
{
    const RecordList &list = source();
    const int count = int(list.size());
    RecordList batch;
    for (int i = m_countFileProcessedToHash; i < count; ++i) {
        if (m_session->stopped())
            break;
        batch.push_back(list[i]);
        // The cursor stays on a multiple of the batch size and the completion moves it on: the
        // first batch holds 501 records, every later one 500.
        if (m_countFileProcessedToHash != 0 && m_countFileProcessedToHash % kBatchSize == 0)
            break;
        ++m_countFileProcessedToHash;
    }
    if (m_session->stopped())
        return;
    enqueueHashOperations(std::move(batch));
}

void HashingStage::enqueueHashOperations(RecordList batch)
{
    ScanSession &s = *m_session;
    // On this computer the records the cache answers are done here in one pass over the batch: a
    // job each would only take turns at the index's locks. A cloud record still needs its local
    // copy, so each has its job.
    const bool answerHere = !isCloudSource(s.options.globals.scanType);
    int answered = 0;
    std::vector<OperationQueue::Job> jobs;
    jobs.reserve(batch.size());
    for (const auto &record : batch) {
        if (s.stopped())
            break;
        ++s.countHashProcessed;
        if (answerHere && answerWithoutReading(*record, s.cacheIndex)) {
            ++answered;
            continue;
        }
        std::shared_ptr<ScanSession> session = m_session;
        jobs.push_back([session, record]() {
            if (session->stopped())
                return;
            const auto fetch = [&session](ImageFileInfo &cloud) { session->fetchLocalCopy(cloud); };
            if (computeHashForImage(*record, session->cacheIndex, fetch))
                ++session->decoded;
            session->report(ScanProgress::Stage::Hashing, {});
        });
    }
    if (answered > 0)
        s.report(ScanProgress::Stage::Hashing, {});
    auto self = shared_from_this();
    m_queue.addBatch(std::move(jobs),
        [self, batch = std::move(batch)]() mutable { self->hashOperationsCompleted(std::move(batch)); });
}

void HashingStage::hashOperationsCompleted(RecordList batch)
{
    {
        std::lock_guard<std::mutex> lock(m_finishing);
        if (m_writing) {
            m_hashedWhileWriting = std::move(batch);
            return;
        }
        m_writing = true;
    }
    finishBatches(std::move(batch));
}

void HashingStage::finishBatches(RecordList batch)
{
    ScanSession &s = *m_session;
    for (;;) {
        const int written = m_countFileProcessedToHash;
        const bool last = written == int(source().size());
        // The next batch is decoded while this one is written.
        if (!last) {
            ++m_countFileProcessedToHash;
            scheduleHashOperations();
        }
        // A stopped batch may hold records that were never hashed; none of it is written, so the
        // cache only ever holds whole batches.
        if (!s.stopped())
            ScanCache::saveFileInfoToCache(s.options.globals.scanType, batch, s.cacheIndex);
        releaseFreedMemory();
        if (last) {
            runComparison();
            return;
        }
        std::lock_guard<std::mutex> lock(m_finishing);
        if (!m_hashedWhileWriting) {
            m_writing = false;
            return;
        }
        batch = std::move(*m_hashedWhileWriting);
        m_hashedWhileWriting.reset();
    }
}

void HashingStage::runComparison()
{
    ScanSession &s = *m_session;
    s.cacheIndex.clear();
    // No picture is decoded while the records are compared, nor after.
    PictureBuffers::releaseFreePages();
    s.hashEndNs = s.clock.nsecsElapsed();
    DuplicateGrouper grouper(s);
    grouper.startComparison();
    // The sums the comparison read are kept as the exact pass keeps its own.
    if (!grouper.summedRecords().empty() && !s.stopped())
        ScanCache::saveFileInfoToCache(s.options.globals.scanType, grouper.summedRecords(), s.cacheIndex);
    m_comparisonEnded();
}

// The decoders' buffers of a batch are freed by then, but the allocator keeps the memory of each
// thread's arena for the next ones; a batch of large pictures would leave the peak of every
// thread resident for the rest of the scan.
void HashingStage::releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

bool HashingStage::computeHashForImage(
    ImageFileInfo &record, ScanCacheIndex &index, const std::function<void(ImageFileInfo &)> &fetch)
{
    const auto computeFileHash = [&record, &fetch] {
        if (fetch)
            fetch(record);
        record.computeFileHash();
        // Until the comparison, which rebuilds them, a fingerprint's turns and mirror are not held:
        // seven eighths of the fingerprints' memory while the decodes need theirs.
        record.arrHashOfRotateFlipImages.leaveOutTurns();
    };
    if (isFingerprinted(record))
        return false;
    if (reuseCachedFingerprint(record, index)) {
        // Only a cloud record still needs its local copy; nothing is computed.
        if (isCloudSource(record.scanType))
            computeFileHash();
        return false;
    }
    std::optional<ScanCache::FingerprintEntry> cached
        = ScanCache::takeCachedFingerprint(record.filePath, index);
    if (!cached) {
        record.imgThumbnail = QImage();
        record.arrHashOfRotateFlipImages.clear();
        computeFileHash();
        return true;
    }
    // A changed file, or a photo whose row holds only its MD5 (its fingerprint is of another side):
    // fingerprinted afresh, and its new EXIF record keeps the cached row id so that the write-back
    // replaces the file's rows instead of adding to them.
    const std::optional<qint64> rowId = cached->exif->exifInfoId;
    record.isHashUpdateReq = true;
    record.isExifInfoUpdated = false;
    record.arrHashOfRotateFlipImages.clear();
    computeFileHash();
    if (record.exifInfo)
        record.exifInfo->exifInfoId = rowId;
    return true;
}

bool HashingStage::answerWithoutReading(ImageFileInfo &record, ScanCacheIndex &index)
{
    return isFingerprinted(record) || reuseCachedFingerprint(record, index);
}

// A record fingerprinted already (its single hash or its variants) is not read again.
bool HashingStage::isFingerprinted(const ImageFileInfo &record)
{
    return !record.hash.isEmpty() || !record.arrHashOfRotateFlipImages.isEmpty() || record.isVideo;
}

bool HashingStage::reuseCachedFingerprint(ImageFileInfo &record, ScanCacheIndex &index)
{
    std::optional<ScanCache::FingerprintEntry> cached = ScanCache::takeReusableFingerprint(record, index);
    if (!cached)
        return false;
    record.arrHashOfRotateFlipImages = std::move(cached->variants);
    record.exifInfo = std::move(cached->exif);
    record.isHashUpdateReq = false;
    record.exifInfo->exifInfoId = -1;
    record.isExifInfoUpdated = true;
    return true;
}

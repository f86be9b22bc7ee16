#include "scan/ExactPass.h"

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/FileEnds.h"
#include "platform/Md5Files.h"
#include "platform/OperationQueue.h"
#include "scan/ScanCache.h"

ExactPass::ExactPass(std::shared_ptr<ScanSession> session, OperationQueue &queue, std::function<void()> done)
    : m_session(std::move(session))
    , m_queue(queue)
    , m_done(std::move(done))
    , m_narrowing(m_session->arrImagesContent)
{
}

void ExactPass::countProcessed(qsizetype records)
{
    m_session->countHashProcessed += int(records);
    m_session->report(ScanProgress::Stage::Reading, {});
}

void ExactPass::start()
{
    ScanSession &s = *m_session;
    // A file alone in its size and kind is a duplicate of nothing: it costs nothing more.
    countProcessed(s.arrImagesContent.size() - m_narrowing.shared().size());
    for (const auto &record : m_narrowing.shared()) {
        if (s.stopped())
            return;
        ScanCache::takeCachedSum(*record, s.cacheIndex);
    }
    m_ends = m_narrowing.needingEnds();
    m_endDigests.assign(size_t(m_ends.size()), QByteArray());
    std::vector<OperationQueue::Job> jobs;
    auto self = shared_from_this();
    for (qsizetype first = 0; first < m_ends.size(); first += kEndsPerJob)
        jobs.push_back(
            [self, first]() { self->readEnds(first, std::min(first + kEndsPerJob, self->m_ends.size())); });
    m_queue.addBatch(std::move(jobs), [self]() { self->endsRead(); });
}

void ExactPass::readEnds(qsizetype first, qsizetype last)
{
    for (qsizetype i = first; i < last && !m_session->stopped(); ++i)
        m_endDigests[size_t(i)]
            = FileEnds::digest(m_ends.at(i)->filePath, ContentNarrowing::kEndBytes).value_or(QByteArray());
}

void ExactPass::endsRead()
{
    ScanSession &s = *m_session;
    if (s.stopped())
        return;
    m_sums = m_narrowing.needingSums(m_endDigests);
    quint64 bytes = 0;
    for (const auto &record : m_sums)
        bytes += record->fileSize;
    s.bytesToRead = bytes;
    countProcessed(m_narrowing.shared().size() - m_sums.size());
    if (m_sums.isEmpty())
        m_done();
    else
        queueSums();
}

void ExactPass::queueSums()
{
    // Every batch is queued at once; the job that ends a batch writes it.
    auto self = shared_from_this();
    for (qsizetype first = 0; first < m_sums.size(); first += kBatchSize) {
        auto batch = std::make_shared<Batch>();
        batch->records = m_sums.mid(first, kBatchSize);
        batch->jobsLeft = (batch->records.size() + kFilesPerJob - 1) / kFilesPerJob;
        for (qsizetype i = 0; i < batch->records.size(); i += kFilesPerJob) {
            m_queue.addOperation([self, batch, files = batch->records.mid(i, kFilesPerJob)]() {
                self->sumWhole(files);
                if (--batch->jobsLeft == 0)
                    self->sumsRead(*batch);
            });
        }
    }
}

void ExactPass::sumWhole(const RecordList &records)
{
    ScanSession &s = *m_session;
    if (s.stopped())
        return;
    QStringList paths;
    paths.reserve(records.size());
    for (const auto &record : records)
        paths.append(record->filePath);
    Md5Files files(paths, &s.abortMe, Md5Lanes::fastest(), &m_buffers);
    files.run([&](qsizetype index, std::optional<QString> sum) {
        ImageFileInfo &record = *records.at(index);
        record.fileMd5 = sum.value_or(QString());
        if (!record.fileMd5.isEmpty() && !record.isVideo)
            readExif(record);
        ++s.decoded;
        ++s.countHashProcessed;
        s.bytesRead += record.fileSize;
        s.report(ScanProgress::Stage::Reading, {});
    });
}

// Files with the same bytes and suffix have the same EXIF data: it is read from the first only.
void ExactPass::readExif(ImageFileInfo &record)
{
    const qsizetype dot = record.filePath.lastIndexOf(u'.');
    const QString key = record.fileMd5
        + (dot > record.filePath.lastIndexOf(u'/') ? record.filePath.mid(dot).toLower() : QString());
    std::shared_ptr<const ExifInfo> known;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        known = m_exifOfContent.value(key);
    }
    if (known) {
        record.updateExifInfo(*known);
        return;
    }
    record.updateExifInfo();
    if (!record.exifInfo)
        return;
    auto copy = std::make_shared<const ExifInfo>(*record.exifInfo);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_exifOfContent.insert(key, std::move(copy));
}

void ExactPass::sumsRead(const Batch &batch)
{
    ScanSession &s = *m_session;
    // A stopped batch may hold files whose sum was cut short: none of it is written.
    if (s.stopped())
        return;
    {
        // Batches are written one at a time while the others are read; the pass ends with the last.
        std::lock_guard<std::mutex> writing(m_writing);
        ScanCache::saveFileInfoToCache(s.options.globals.scanType, batch.records, s.cacheIndex);
        if (++m_batchesWritten * kBatchSize < m_sums.size())
            return;
    }
    m_done();
}

#include "scan/ExactPass.h"

#include "model/ImageFileInfo.h"
#include "platform/FileEnds.h"
#include "platform/Md5.h"
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
    jobs.reserve(size_t(m_ends.size()));
    auto self = shared_from_this();
    for (qsizetype i = 0; i < m_ends.size(); ++i) {
        jobs.push_back([self, i]() {
            if (!self->m_session->stopped())
                self->m_endDigests[size_t(i)]
                    = FileEnds::digest(self->m_ends.at(i)->filePath, ContentNarrowing::kEndBytes).value_or(QByteArray());
        });
    }
    m_queue.addBatch(std::move(jobs), [self]() { self->endsRead(); });
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
    queueSums(0);
}

void ExactPass::queueSums(qsizetype first)
{
    if (m_session->stopped())
        return;
    if (first >= m_sums.size()) {
        m_done();
        return;
    }
    const qsizetype next = std::min(m_sums.size(), first + kBatchSize);
    RecordList batch = m_sums.mid(first, next - first);
    std::vector<OperationQueue::Job> jobs;
    jobs.reserve(size_t(batch.size()));
    std::shared_ptr<ScanSession> session = m_session;
    for (const auto &record : batch)
        jobs.push_back([session, record]() { sumWhole(*record, *session); });
    auto self = shared_from_this();
    m_queue.addBatch(std::move(jobs), [self, batch, next]() { self->sumsRead(batch, next); });
}

void ExactPass::sumWhole(ImageFileInfo &record, ScanSession &session)
{
    if (session.stopped())
        return;
    record.fileMd5 = Md5::ofFile(record.filePath, &session.abortMe).value_or(QString());
    if (!record.fileMd5.isEmpty() && !record.isVideo)
        record.updateExifInfo();
    ++session.decoded;
    ++session.countHashProcessed;
    session.bytesRead += record.fileSize;
    session.report(ScanProgress::Stage::Reading, {});
}

void ExactPass::sumsRead(const RecordList &batch, qsizetype next)
{
    ScanSession &s = *m_session;
    // A stopped batch may hold files whose sum was cut short: none of it is written.
    if (s.stopped())
        return;
    ScanCache::saveFileInfoToCache(s.options.globals.scanType, batch, int(next), s.cacheIndex);
    queueSums(next);
}

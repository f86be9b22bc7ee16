// The exact pass of a scan of this computer: identical bytes decide, so files are read, never
// decoded. Files that share their size and kind with another record are told apart by the digest
// of their ends, and only those that still share it are summed whole (ContentNarrowing). Both
// reads run on the hash queue at its limit, the whole sums in batches that land in the cache as
// they finish; the MD5 of a file polls Stop between its blocks. A photo that is summed also gets
// its EXIF record, for the results window's rules and the cache row. Unchanged files take their
// cached sums without reading.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>

#include "scan/ContentNarrowing.h"
#include "scan/ScanSession.h"

class OperationQueue;

class ExactPass : public std::enable_shared_from_this<ExactPass>
{
public:
    static constexpr int kBatchSize = 500;

    // `done` runs on a queue thread once every sum is in (never after a stop request).
    ExactPass(std::shared_ptr<ScanSession> session, OperationQueue &queue, std::function<void()> done);

    // On the scan thread: buckets the records, takes the cached sums and queues the reading.
    void start();

private:
    void endsRead();
    void queueSums(qsizetype first);
    void sumsRead(const RecordList &batch, qsizetype next);
    void countProcessed(qsizetype records);
    static void sumWhole(ImageFileInfo &record, ScanSession &session);

    std::shared_ptr<ScanSession> m_session;
    OperationQueue &m_queue;
    std::function<void()> m_done;
    ContentNarrowing m_narrowing;
    RecordList m_ends;
    // Filled by the reading jobs, one slot each, read only by the completion after them.
    std::vector<QByteArray> m_endDigests;
    RecordList m_sums;
};

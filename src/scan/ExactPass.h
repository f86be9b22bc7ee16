// The exact pass of a scan of this computer: identical bytes decide, so files are read, never
// decoded. Files that share their size and kind with another record are told apart by the digest
// of their ends, and only those that still share it are summed whole (ContentNarrowing). Both
// reads run on the hash queue at its limit, the whole sums in batches that land in the cache as
// they finish, each written while the others are read; each job sums several files side by side
// (Md5Files) and polls Stop between reads; their read buffers are kept for the whole pass. A photo
// that is summed also gets its EXIF record, for the results window's rules and the cache row, read
// once for files with the same bytes. Unchanged files take their cached sums without reading.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <QByteArray>
#include <QHash>

#include "platform/Md5Buffers.h"
#include "platform/Md5Lanes.h"
#include "scan/ContentNarrowing.h"
#include "scan/ScanSession.h"

class ExifInfo;
class OperationQueue;

class ExactPass : public std::enable_shared_from_this<ExactPass>
{
public:
    static constexpr int kBatchSize = 500;
    // Files one reading job sums side by side, refilling the vector MD5's lanes as files end.
    static constexpr int kFilesPerJob = 2 * Md5Lanes::kMaxLanes;
    // Files whose ends one job reads.
    static constexpr qsizetype kEndsPerJob = 64;

    // `done` runs on a queue thread once every sum is in (never after a stop request).
    ExactPass(std::shared_ptr<ScanSession> session, OperationQueue &queue, std::function<void()> done);

    // On the scan thread: buckets the records, takes the cached sums and queues the reading.
    void start();

private:
    void readEnds(qsizetype first, qsizetype last);
    void endsRead();
    // Records summed together and written to the cache together.
    struct Batch {
        RecordList records;
        std::atomic<qsizetype> jobsLeft { 0 };
    };

    void queueSums();
    void sumWhole(const RecordList &records);
    void readExif(ImageFileInfo &record);
    void sumsRead(const Batch &batch);
    void countProcessed(qsizetype records);

    std::shared_ptr<ScanSession> m_session;
    OperationQueue &m_queue;
    std::function<void()> m_done;
    ContentNarrowing m_narrowing;
    RecordList m_ends;
    // Filled by the reading jobs, one slot each, read only by the completion after them.
    std::vector<QByteArray> m_endDigests;
    RecordList m_sums;
    // The jobs' read buffers, kept until the pass ends.
    Md5Buffers m_buffers;
    std::mutex m_writing;
    qsizetype m_batchesWritten = 0;
    // The EXIF data read so far, by sum and suffix.
    std::mutex m_mutex;
    QHash<QString, std::shared_ptr<const ExifInfo>> m_exifOfContent;
};

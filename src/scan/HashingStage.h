// The hashing stage of a scan: loads the cache rows, gives every record its fingerprint (reused
// from the cache when the file's size and modification time are unchanged) in batches on the hash
// queue, writes each finished batch back to the cache while the next batch is being hashed, and
// after the last batch is written runs the comparison on the queue's thread. An exact scan of this
// computer reads bytes instead (ExactPass); an exact cloud scan fingerprints only the photos that
// share their byte size with another record.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "scan/ScanSession.h"

class OperationQueue;

class HashingStage : public std::enable_shared_from_this<HashingStage>
{
public:
    static constexpr int kBatchSize = 500;

    // `comparisonEnded` runs on a queue thread once the comparison has returned (also after a
    // stop request).
    HashingStage(
        std::shared_ptr<ScanSession> session, OperationQueue &queue, std::function<void()> comparisonEnded);

    // On the scan thread: loads the cache and queues the first batch.
    void prepareHashOperations();

    // The per-record job: reuse the cached fingerprint of an unchanged file, else compute it.
    // Returns true when the file itself was read. `fetch` brings a cloud record's local copy before
    // anything is read from it.
    static bool computeHashForImage(ImageFileInfo &record, ScanCacheIndex &index,
        const std::function<void(ImageFileInfo &)> &fetch = {});
    // The same job's answer for a record of this computer that needs no file read: fingerprinted
    // already, or given the cached fingerprint of its unchanged file (true). False, with the record
    // and the index untouched, when the job must run.
    static bool answerWithoutReading(ImageFileInfo &record, ScanCacheIndex &index);

private:
    static bool isFingerprinted(const ImageFileInfo &record);
    static bool reuseCachedFingerprint(ImageFileInfo &record, ScanCacheIndex &index);
    const RecordList &source() const;
    void scheduleHashOperations();
    void enqueueHashOperations(RecordList batch);
    // Every job of `batch` has run: it is finished at once, or, while the batch before is still
    // being written, by the thread that writes it, once it has.
    void hashOperationsCompleted(RecordList batch);
    // Queues the next batch, then writes this one, then goes on with a batch that finished
    // meanwhile. One thread at a time runs it.
    void finishBatches(RecordList batch);
    // Gives the memory freed during the batch back to the system.
    static void releaseFreedMemory();
    // On a queue thread: groups the records and hands on.
    void runComparison();

    std::shared_ptr<ScanSession> m_session;
    OperationQueue &m_queue;
    std::function<void()> m_comparisonEnded;
    // Index into the source list where the next batch begins, minus one; touched only by the
    // thread that finishes batches.
    int m_countFileProcessedToHash = 0;
    // Handing a hashed batch to the thread that writes the one before.
    std::mutex m_finishing;
    bool m_writing = false;
    std::optional<RecordList> m_hashedWhileWriting;
};

// The state of one scan that its stages share: the options snapshot, the cache index, the records,
// the groups, the counters the progress display reads, and the stop request. Fields written by one stage are
// read by the next only after a queue hand-over; counters and flags read across threads are atomic.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <QElapsedTimer>
#include <QList>

#include "model/ScanCacheIndex.h"
#include "scan/ScanOptions.h"
#include "scan/ScanProgress.h"
#include "scan/WalkReport.h"

class DuplicatesGroup;
class ImageFileInfo;

using RecordList = QList<std::shared_ptr<ImageFileInfo>>;
// Fetches a cloud record's local copy (localThumbPath), blocking; a set stop flag ends it early.
// Without a copy it says why.
using LocalCopyFetcher = std::function<QString(ImageFileInfo &record, const std::atomic<bool> &stop)>;

struct ScanSession {
    ScanOptions options;
    // The cache rows this scan loaded, at its own bitmap size.
    ScanCacheIndex cacheIndex;
    std::atomic<bool> abortMe { false };
    std::atomic<bool> isCalculatingHash { false };
    // The groups are complete: from here on a stop only cuts the wait before they are shown.
    std::atomic<bool> resultsReady { false };

    RecordList arrImagesContent;
    RecordList arrNodesForExactMatch;
    QList<std::shared_ptr<DuplicatesGroup>> arrAllFilesGrouping;
    // Written by the walk before the hand-over to the cache; its copies not fetched by the
    // hashing threads, under walkReportMutex.
    WalkReport walkReport;
    std::mutex walkReportMutex;

    std::atomic<int> countHashProcessed { 0 };
    std::atomic<int> countCompared { 0 };
    std::atomic<quint64> dupSize { 0 };
    // Records whose fingerprint or MD5 was computed from the file rather than taken from the cache.
    std::atomic<int> decoded { 0 };
    // Byte copies that first fit placed apart from their picture's first copy, and joining brought in
    // with a copy before them, or left apart (the joined group would hold members that do not match).
    std::atomic<int> identicalKeptAcrossDates { 0 };
    std::atomic<int> identicalLeftApart { 0 };
    // Bytes the exact pass reads whole, and how many it has read.
    std::atomic<quint64> bytesToRead { 0 };
    std::atomic<quint64> bytesRead { 0 };
    // Base fraction of the ring left by the adding stage.
    std::atomic<double> prog { 0.0 };

    // When each stage ended, in nanoseconds since the scan started.
    QElapsedTimer clock;
    std::atomic<qint64> enumerateEndNs { 0 };
    std::atomic<qint64> hashEndNs { 0 };
    std::atomic<qint64> compareEndNs { 0 };

    // The cloud source's download of a record's local copy; empty for scans of this computer.
    LocalCopyFetcher fetcher;

    // Posts a progress report of `stage` (coalesced); `path` as the stage shows it.
    std::function<void(ScanProgress::Stage stage, const QString &path)> report;

    bool stopped() const { return abortMe.load(std::memory_order_relaxed); }
    int recordCount() const { return int(arrImagesContent.size()); }
    // Hashing thread: fetches the local copy of a cloud record that has none yet, once; a record
    // whose copy did not come whole is flagged isCopyNotFetched and counted in the walk report.
    void fetchLocalCopy(ImageFileInfo &record);
};

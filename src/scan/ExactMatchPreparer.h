// Exact matching of a cloud scan before the hashing stage: only records that share their byte size
// with another record can be duplicates. Videos of a shared size keep their provider's hash (or get
// the MD5 of their content); photos of a shared size are listed for fingerprinting at 80 x 80 and
// grouped with their provider's hash required. A scan of this computer reads bytes instead
// (ExactPass).
#pragma once

#include <vector>

#include <QHash>

#include "scan/ScanSession.h"

class ExactMatchPreparer
{
public:
    static constexpr int kSaveEvery = 500;

    explicit ExactMatchPreparer(ScanSession &session);

    // Buckets the records, sums the videos and fills `arrNodesForExactMatch`; false when the
    // scan was stopped on the way.
    bool run();

private:
    void groupByFileSize(const std::shared_ptr<ImageFileInfo> &record);
    void findExactDuplicates();
    void buildExactDuplicateGroups();
    // Gives a video its MD5 text; true when the file was read and the cache must learn it.
    bool sumVideo(ImageFileInfo &video);
    void countProcessed();

    ScanSession &m_session;
    // Bucket keys in the order of their first record, so every run visits them alike.
    std::vector<quint64> m_sizes;
    QHash<quint64, RecordList> m_dictMapFileSize;
};

// Exact matching before the hashing stage: only records that share their byte size with another
// record can be duplicates. Videos and photos of a shared size get the MD5 of their content (the
// cached one when the file is unchanged); photos of a shared size are also listed for
// fingerprinting at 80 x 80.
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
    void sumPhoto(ImageFileInfo &photo);
    void countProcessed();

    ScanSession &m_session;
    // Bucket keys in the order of their first record, so every run visits them alike.
    std::vector<quint64> m_sizes;
    QHash<quint64, RecordList> m_dictMapFileSize;
};

#include "scan/ExactMatchPreparer.h"

#include "model/ImageFileInfo.h"
#include "platform/Md5.h"
#include "scan/ScanCache.h"

ExactMatchPreparer::ExactMatchPreparer(ScanSession &session)
    : m_session(session)
{
}

bool ExactMatchPreparer::run()
{
    for (const auto &record : m_session.arrImagesContent) {
        if (m_session.stopped())
            return false;
        groupByFileSize(record);
    }
    findExactDuplicates();
    if (m_session.stopped())
        return false;
    buildExactDuplicateGroups();
    return true;
}

void ExactMatchPreparer::groupByFileSize(const std::shared_ptr<ImageFileInfo> &record)
{
    auto it = m_dictMapFileSize.find(record->fileSize);
    if (it == m_dictMapFileSize.end()) {
        m_sizes.push_back(record->fileSize);
        it = m_dictMapFileSize.insert(record->fileSize, {});
    }
    it->push_back(record);
}

void ExactMatchPreparer::countProcessed()
{
    ++m_session.countHashProcessed;
    m_session.report(ScanProgress::Stage::Hashing, {});
}

void ExactMatchPreparer::findExactDuplicates()
{
    RecordList writeList;
    int computed = 0;
    const ScanSource scanType = m_session.options.globals.scanType;
    for (const quint64 size : m_sizes) {
        const RecordList &bucket = m_dictMapFileSize[size];
        if (bucket.size() == 1) {
            if (bucket.front()->isVideo)
                countProcessed();
            continue;
        }
        for (const auto &record : bucket) {
            if (m_session.stopped())
                break;
            if (!record->isVideo || !record->fileMd5.isEmpty())
                continue;
            if (sumVideo(*record)) {
                writeList.push_back(record);
                ++computed;
                ++m_session.decoded;
            }
            countProcessed();
            if (computed > 0 && computed % kSaveEvery == 0 && !writeList.empty()) {
                ScanCache::saveFileInfoToCache(scanType, writeList, m_session.cacheIndex);
                writeList.clear();
            }
        }
    }
    // A stopped pass writes only whole, finished sums: a video whose sum was cut short has none.
    if (!writeList.empty())
        ScanCache::saveFileInfoToCache(scanType, writeList, m_session.cacheIndex);
}

bool ExactMatchPreparer::sumVideo(ImageFileInfo &video)
{
    if (ScanCache::takeCachedSum(video, m_session.cacheIndex))
        return false;
    video.fileMd5 = Md5::ofFile(video.filePath, &m_session.abortMe).value_or(QString());
    return !video.fileMd5.isEmpty();
}

void ExactMatchPreparer::buildExactDuplicateGroups()
{
    m_session.arrNodesForExactMatch.clear();
    for (const quint64 size : m_sizes) {
        const RecordList &bucket = m_dictMapFileSize[size];
        if (bucket.size() == 1) {
            if (!bucket.front()->isVideo)
                countProcessed();
            continue;
        }
        for (const auto &record : bucket) {
            if (!record->isVideo)
                m_session.arrNodesForExactMatch.push_back(record);
        }
    }
}

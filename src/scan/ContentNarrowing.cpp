#include "scan/ContentNarrowing.h"

#include <algorithm>
#include <unordered_map>

#include <QHash>

#include "model/ImageFileInfo.h"

ContentNarrowing::ContentNarrowing(const RecordList &records)
{
    // A photo and a video are never duplicates of each other, whatever their bytes; empty files
    // are neither, and are never read.
    QHash<QPair<quint64, bool>, size_t> bucketOf;
    std::vector<RecordList> buckets;
    for (const auto &record : records) {
        if (record->fileSize == 0)
            continue;
        const auto key = qMakePair(quint64(record->fileSize), record->isVideo);
        auto it = bucketOf.find(key);
        if (it == bucketOf.end()) {
            it = bucketOf.insert(key, buckets.size());
            buckets.emplace_back();
        }
        buckets[it.value()].push_back(record);
    }
    for (RecordList &bucket : buckets) {
        if (bucket.size() < 2)
            continue;
        m_shared.append(bucket);
        m_buckets.push_back(std::move(bucket));
    }
}

bool ContentNarrowing::isSmall(const RecordList &bucket)
{
    return qint64(bucket.front()->fileSize) <= 2 * kEndBytes;
}

bool ContentNarrowing::hasUnknownSum(const RecordList &bucket)
{
    return std::any_of(bucket.begin(), bucket.end(), [](const auto &r) { return r->fileMd5.isEmpty(); });
}

RecordList ContentNarrowing::needingEnds() const
{
    RecordList ends;
    for (const RecordList &bucket : m_buckets) {
        if (!isSmall(bucket) && hasUnknownSum(bucket))
            ends.append(bucket);
    }
    return ends;
}

RecordList ContentNarrowing::needingSums(const std::vector<QByteArray> &ends) const
{
    std::unordered_map<const ImageFileInfo *, QByteArray> endsOf;
    const RecordList asked = needingEnds();
    for (qsizetype i = 0; i < asked.size() && size_t(i) < ends.size(); ++i)
        endsOf.emplace(asked.at(i).get(), ends[size_t(i)]);
    RecordList sums;
    for (const RecordList &bucket : m_buckets) {
        if (!hasUnknownSum(bucket))
            continue;
        // Files that share their ends with another file of the bucket; a small file is all ends.
        const bool small = isSmall(bucket);
        const auto keyOf = [&](const ImageFileInfo &r) { return small ? QByteArray("whole") : endsOf[&r]; };
        QHash<QByteArray, int> sharing;
        for (const auto &record : bucket) {
            if (const QByteArray key = keyOf(*record); !key.isEmpty())
                ++sharing[key];
        }
        for (const auto &record : bucket) {
            const QByteArray key = keyOf(*record);
            if (record->fileMd5.isEmpty() && !key.isEmpty() && sharing.value(key) > 1)
                sums.push_back(record);
        }
    }
    return sums;
}

#include "scan/ContentSums.h"

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/Md5.h"

ContentSums::ContentSums(const std::atomic<bool> &stop)
    : m_stop(stop)
{
}

bool ContentSums::identical(const ImageFileInfo &a, const ImageFileInfo &b)
{
    if (a.fileSize != b.fileSize)
        return false;
    const QString &first = sumOf(a);
    if (first.isEmpty() || first != sumOf(b))
        return false;
    ++m_matches;
    return true;
}

const QString &ContentSums::sumOf(const ImageFileInfo &record)
{
    if (!record.fileMd5.isEmpty())
        return record.fileMd5;
    const auto [it, added] = m_sums.try_emplace(&record);
    if (!added)
        return it->second.md5;
    // A cached row carries the sum only while it still describes the file.
    if (record.exifInfo && !record.exifInfo->contentMd5.isEmpty())
        it->second.md5 = record.exifInfo->contentMd5;
    else if (!isCloudSource(record.scanType)) {
        it->second.md5 = Md5::ofFile(record.filePath, &m_stop).value_or(QString());
        it->second.readHere = !it->second.md5.isEmpty();
    }
    return it->second.md5;
}

RecordList ContentSums::storeIn(const RecordList &records) const
{
    RecordList summed;
    if (m_sums.empty())
        return summed;
    for (const auto &record : records) {
        const auto it = m_sums.find(record.get());
        if (it == m_sums.end() || !it->second.readHere)
            continue;
        record->fileMd5 = it->second.md5;
        summed.push_back(record);
    }
    return summed;
}

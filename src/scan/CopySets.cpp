#include "scan/CopySets.h"

#include <algorithm>
#include <utility>

#include <QHash>

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/FileEnds.h"
#include "platform/Md5.h"
#include "scan/ContentNarrowing.h"
#include "scan/ParallelLoop.h"

void CopySets::find(const RecordList &records, int threads, const std::atomic<bool> &stop)
{
    const ContentNarrowing narrowing(records);
    // A cached row carries the sum only while it still describes the file.
    for (const auto &record : narrowing.shared()) {
        if (record->fileMd5.isEmpty() && record->exifInfo && !record->exifInfo->contentMd5.isEmpty())
            record->fileMd5 = record->exifInfo->contentMd5;
    }
    const auto stopped = [&stop] { return stop.load(); };
    const RecordList ends = narrowing.needingEnds();
    std::vector<QByteArray> digests(size_t(ends.size()));
    runOnThreads(ends.size(), threads, stopped, [&](std::int64_t i) {
        digests[size_t(i)]
            = FileEnds::digest(ends.at(i)->filePath, ContentNarrowing::kEndBytes).value_or(QByteArray());
    });
    const RecordList whole = narrowing.needingSums(digests);
    std::vector<QString> sums(size_t(whole.size()));
    runOnThreads(whole.size(), threads, stopped, [&](std::int64_t i) {
        sums[size_t(i)] = Md5::ofFile(whole.at(i)->filePath, &stop).value_or(QString());
    });
    if (stop)
        return;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (sums[size_t(i)].isEmpty())
            continue;
        whole.at(i)->fileMd5 = sums[size_t(i)];
        m_summed.append(whole.at(i));
    }
    collect(narrowing.shared());
}

// The same bytes have the same capture date and place; copies whose data say otherwise (read in
// another way) are not taken for one picture, so that capture dates and places keep their veto.
void CopySets::collect(const RecordList &records)
{
    QHash<QString, size_t> firstOf;
    for (const auto &record : records) {
        if (record->fileMd5.isEmpty())
            continue;
        const RecordTimes times = RecordTimes::of(*record);
        m_ownTimes.emplace(record.get(), times);
        const ExifInfo *exif = record->exifInfo.get();
        const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6")
                                .arg(record->fileSize)
                                .arg(record->fileMd5)
                                .arg(int(times.capture))
                                .arg(times.captureMs)
                                .arg(exif ? exif->gpsLatitude : 0.0, 0, 'g', 17)
                                .arg(exif ? exif->gpsLongitude : 0.0, 0, 'g', 17);
        const auto found = firstOf.constFind(key);
        if (found == firstOf.cend()) {
            firstOf.insert(key, m_pictures.size());
            m_pictures.emplace_back();
        }
        const size_t picture = found == firstOf.cend() ? m_pictures.size() - 1 : found.value();
        m_pictureOf.emplace(record.get(), picture);
        Picture &p = m_pictures[picture];
        ++p.copies;
        p.dated = p.dated && times.hasCreate;
        if (times.hasCreate)
            p.dates.push_back(times.createMs);
    }
    for (Picture &p : m_pictures)
        std::sort(p.dates.begin(), p.dates.end());
}

CopySets::Picture *CopySets::pictureOf(const ImageFileInfo &record)
{
    const auto found = m_pictureOf.find(&record);
    return found == m_pictureOf.end() || m_pictures[found->second].copies < 2 ? nullptr
                                                                              : &m_pictures[found->second];
}

const CopySets::Picture *CopySets::pictureOf(const ImageFileInfo &record) const
{
    return const_cast<CopySets *>(this)->pictureOf(record);
}

RecordTimes CopySets::ownTimesOf(const ImageFileInfo &record) const
{
    const auto found = m_ownTimes.find(&record);
    return found != m_ownTimes.end() ? found->second : RecordTimes::of(record);
}

RecordTimes CopySets::timesOf(const ImageFileInfo &record) const
{
    RecordTimes times = ownTimesOf(record);
    if (const Picture *picture = pictureOf(record)) {
        times.hasCreate = picture->dated;
        times.copyCreates = picture->dates;
    }
    return times;
}

bool CopySets::claim(const ImageFileInfo &record)
{
    Picture *picture = pictureOf(record);
    return picture && std::exchange(picture->claimed, true);
}

std::pair<qsizetype, qsizetype> CopySets::placedCopy(const ImageFileInfo &record) const
{
    const Picture *picture = pictureOf(record);
    return picture ? std::pair(picture->group, picture->member) : std::pair(qsizetype(-1), qsizetype(-1));
}

int CopySets::place(
    const ImageFileInfo &record, qsizetype group, qsizetype member, const PairScoreOptions &options)
{
    Picture *picture = pictureOf(record);
    if (!picture)
        return 0;
    if (picture->group < 0) {
        picture->group = group;
        picture->member = member;
    }
    const RecordTimes own = ownTimesOf(record);
    const auto keptApart = [&](const RecordTimes &earlier) {
        return PairScore::timeVeto(own, earlier, options) == PairScore::TimeVeto::FileDates;
    };
    const int kept = int(std::count_if(picture->placed.begin(), picture->placed.end(), keptApart));
    picture->placed.push_back(own);
    return kept;
}

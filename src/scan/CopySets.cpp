#include "scan/CopySets.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include <QHash>

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/FileEnds.h"
#include "platform/Md5.h"
#include "scan/ContentNarrowing.h"
#include "scan/ParallelLoop.h"

void CopySets::find(const RecordList &records, int threads, ScanSession &session)
{
    const std::atomic<bool> &stop = session.abortMe;
    const ContentNarrowing narrowing(withSeveralDates(records));
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
    session.bytesRead = 0;
    session.bytesToRead = std::accumulate(
        whole.begin(), whole.end(), quint64(0), [](quint64 sum, const auto &r) { return sum + r->fileSize; });
    runOnThreads(whole.size(), threads, stopped, [&](std::int64_t i) {
        sums[size_t(i)] = Md5::ofFile(whole.at(i)->filePath, &stop).value_or(QString());
        session.bytesRead += whole.at(i)->fileSize;
        session.report(ScanProgress::Stage::Reading, {});
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

// Files of one size written with one file date (copied with their dates kept) pass the time test
// alike whether or not they are copies: only sizes whose files carry several dates are read.
RecordList CopySets::withSeveralDates(const RecordList &records)
{
    std::unordered_map<quint64, std::pair<RecordTimes, bool>> datesOfSize;
    for (const auto &record : records) {
        const RecordTimes &times = m_ownTimes.emplace(record.get(), RecordTimes::of(*record)).first->second;
        const auto [it, added] = datesOfSize.try_emplace(record->fileSize, times, false);
        it->second.second = it->second.second || it->second.first.hasCreate != times.hasCreate
            || it->second.first.createMs != times.createMs;
    }
    RecordList several;
    for (const auto &record : records) {
        if (datesOfSize.at(record->fileSize).second)
            several.append(record);
    }
    return several;
}

// The same bytes have the same capture date and place; copies whose data say otherwise (read in
// another way) are not taken for one picture, so that capture dates and places keep their veto
// and the members alike of a group (ScoreClasses) still have the same dates.
void CopySets::collect(const RecordList &records)
{
    QHash<QPair<quint64, QString>, size_t> firstOf;
    for (const auto &record : records) {
        if (record->fileMd5.isEmpty())
            continue;
        const RecordTimes &times = m_ownTimes.at(record.get());
        const auto key = qMakePair(quint64(record->fileSize), record->fileMd5);
        const auto found = firstOf.constFind(key);
        if (found == firstOf.cend()) {
            firstOf.insert(key, m_pictures.size());
            m_pictures.emplace_back().first = record.get();
        }
        const size_t picture = found == firstOf.cend() ? m_pictures.size() - 1 : found.value();
        m_pictureOf.emplace(record.get(), picture);
        Picture &p = m_pictures[picture];
        ++p.copies;
        p.agrees = p.agrees && sameCaptureAndPlace(*p.first, *record);
        p.dated = p.dated && times.hasCreate;
        if (times.hasCreate)
            p.dates.push_back(times.createMs);
    }
    for (Picture &p : m_pictures)
        std::sort(p.dates.begin(), p.dates.end());
}

bool CopySets::sameCaptureAndPlace(const ImageFileInfo &a, const ImageFileInfo &b) const
{
    const RecordTimes &x = m_ownTimes.at(&a);
    const RecordTimes &y = m_ownTimes.at(&b);
    const ExifInfo *ea = a.exifInfo.get();
    const ExifInfo *eb = b.exifInfo.get();
    const auto place = [](const ExifInfo *e) {
        return e ? std::pair(e->gpsLatitude, e->gpsLongitude) : std::pair(0.0, 0.0);
    };
    return x.capture == y.capture && x.captureMs == y.captureMs && place(ea) == place(eb);
}

CopySets::Picture *CopySets::pictureOf(const ImageFileInfo &record)
{
    const auto found = m_pictureOf.find(&record);
    if (found == m_pictureOf.end())
        return nullptr;
    Picture &picture = m_pictures[found->second];
    return picture.copies > 1 && picture.agrees ? &picture : nullptr;
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

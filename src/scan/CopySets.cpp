#include "scan/CopySets.h"

#include <algorithm>
#include <numeric>

#include <QHash>

#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/FileEnds.h"
#include "platform/Md5.h"
#include "scan/ContentNarrowing.h"
#include "scan/ParallelLoop.h"

namespace
{

// The records the fingerprints placed: photos with a fingerprint that the pair score compares. A
// cloud record is known by its provider's hash alone: its local copy may be a smaller image.
bool isPlacedByFingerprint(const ImageFileInfo &record)
{
    return !record.isVideo && !record.blDoNotCompare && !record.isCopyNotFetched
        && !record.arrHashOfRotateFlipImages.isEmpty() && !record.parent.expired()
        && (!isCloudSource(record.scanType) || !record.fileMd5.isEmpty());
}

size_t sizeAndFingerprintHash(const ImageFileInfo &record)
{
    const std::span<const uint64_t> first = record.arrHashOfRotateFlipImages.words(0);
    return qHashBits(first.data(), first.size_bytes(), qHash(record.fileSize));
}

// The first variant alone: a fingerprint read from the cache may hold fewer variants than one just
// computed. A candidate is read before it is taken for a copy, so the bits past the last whole
// word need no look.
bool sameSizeAndFingerprint(const ImageFileInfo &a, const ImageFileInfo &b)
{
    return a.fileSize == b.fileSize
        && std::ranges::equal(a.arrHashOfRotateFlipImages.words(0), b.arrHashOfRotateFlipImages.words(0));
}

// The same bytes have the same capture date and place; copies whose data say otherwise (read in
// another way) are not taken for one picture, so that capture dates and places keep their veto.
struct PictureKey {
    quint64 size;
    QString sum;
    bool captured;
    qint64 captureMs;
    double latitude;
    double longitude;
    bool operator==(const PictureKey &) const = default;
};

PictureKey pictureKeyOf(const ImageFileInfo &record)
{
    const ExifInfo *exif = record.exifInfo.get();
    const bool captured = exif && exif->captureDate.has_value();
    return { record.fileSize, record.fileMd5, captured,
        captured && exif->captureDate->isValid() ? exif->captureDate->toMSecsSinceEpoch() : 0,
        exif ? exif->gpsLatitude : 0.0, exif ? exif->gpsLongitude : 0.0 };
}

size_t qHash(const PictureKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.size, key.sum, key.captured, key.captureMs, key.latitude, key.longitude);
}

} // namespace

void CopySets::join(ScanSession &session, int threads, const PairScoreOptions &options, float matchThreshold,
    const GroupJoins::TimesOf &timesOf)
{
    GroupOf groupOf;
    const RecordList candidates = splitCandidates(session, groupOf);
    if (candidates.isEmpty())
        return;
    readSums(candidates, threads, session);
    if (session.stopped())
        return;
    const std::vector<RecordList> pictures = picturesOf(candidates);
    std::vector<std::vector<qsizetype>> groupsOfPicture;
    for (const RecordList &copies : pictures) {
        groupsOfPicture.emplace_back();
        for (const auto &copy : copies)
            groupsOfPicture.back().push_back(groupOf.at(copy.get()));
    }
    // Alike files that are no byte copies leave nothing to join: the groups are not rebuilt.
    if (std::ranges::any_of(groupsOfPicture, &GroupJoins::liesApart))
        joinGroups(session, pictures, groupsOfPicture, options, matchThreshold, timesOf);
}

RecordList CopySets::splitCandidates(const ScanSession &session, GroupOf &groupOf)
{
    std::unordered_map<const DuplicatesGroup *, qsizetype> indexOf;
    for (qsizetype g = 0; g < session.arrAllFilesGrouping.size(); ++g)
        indexOf.emplace(session.arrAllFilesGrouping.at(g).get(), g);
    // Buckets of one size and fingerprint, and whether their members lie in more than one group.
    std::unordered_multimap<size_t, size_t> bucketsByHash;
    std::vector<std::pair<const ImageFileInfo *, qsizetype>> firstOfBucket;
    std::vector<bool> split;
    std::vector<int> sizes;
    struct Place {
        size_t bucket;
        qsizetype index;
    };
    std::vector<std::pair<std::shared_ptr<ImageFileInfo>, Place>> placed;
    for (const auto &record : session.arrImagesContent) {
        if (!isPlacedByFingerprint(*record))
            continue;
        const auto group = indexOf.find(record->parent.lock().get());
        if (group == indexOf.end())
            continue;
        const size_t hash = sizeAndFingerprintHash(*record);
        const auto [begin, end] = bucketsByHash.equal_range(hash);
        const auto same = std::find_if(begin, end, [&](const auto &entry) {
            return sameSizeAndFingerprint(*firstOfBucket[entry.second].first, *record);
        });
        const size_t bucket = same != end ? same->second : firstOfBucket.size();
        if (same == end) {
            bucketsByHash.emplace(hash, bucket);
            firstOfBucket.emplace_back(record.get(), group->second);
            split.push_back(false);
            sizes.push_back(0);
        }
        split[bucket] = split[bucket] || firstOfBucket[bucket].second != group->second;
        ++sizes[bucket];
        groupOf.emplace(record.get(), group->second);
        placed.emplace_back(record, Place { bucket, group->second });
    }
    // The groups that may be joined; a bucket apart from them is never read.
    std::vector<bool> joining(size_t(session.arrAllFilesGrouping.size()), false);
    for (const auto &[record, group] : placed) {
        if (split[group.bucket])
            joining[size_t(group.index)] = true;
    }
    RecordList candidates;
    for (const auto &[record, group] : placed) {
        if (split[group.bucket] || (sizes[group.bucket] > 1 && joining[size_t(group.index)]))
            candidates.append(record);
    }
    return candidates;
}

void CopySets::readSums(const RecordList &candidates, int threads, ScanSession &session)
{
    const std::atomic<bool> &stop = session.abortMe;
    // A cached row carries the sum only while it still describes the file.
    for (const auto &record : candidates) {
        if (record->fileMd5.isEmpty() && record->exifInfo && !record->exifInfo->contentMd5.isEmpty())
            record->fileMd5 = record->exifInfo->contentMd5;
    }
    const ContentNarrowing narrowing(candidates);
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
}

std::vector<RecordList> CopySets::picturesOf(const RecordList &candidates)
{
    QHash<PictureKey, size_t> pictureOf;
    std::vector<RecordList> pictures;
    for (const auto &record : candidates) {
        if (record->fileMd5.isEmpty())
            continue;
        const PictureKey key = pictureKeyOf(*record);
        auto it = pictureOf.constFind(key);
        if (it == pictureOf.cend()) {
            it = pictureOf.insert(key, pictures.size());
            pictures.emplace_back();
        }
        pictures[it.value()].append(record);
    }
    std::erase_if(pictures, [](const RecordList &copies) { return copies.size() < 2; });
    return pictures;
}

void CopySets::joinGroups(ScanSession &session, const std::vector<RecordList> &pictures,
    const std::vector<std::vector<qsizetype>> &groupsOfPicture, const PairScoreOptions &options,
    float matchThreshold, const GroupJoins::TimesOf &timesOf)
{
    QList<std::shared_ptr<DuplicatesGroup>> &groups = session.arrAllFilesGrouping;
    std::unordered_map<const ImageFileInfo *, qsizetype> position;
    for (qsizetype i = 0; i < session.arrImagesContent.size(); ++i)
        position.emplace(session.arrImagesContent.at(i).get(), i);
    GroupJoins joins(session, options, pictures, groupsOfPicture, position, timesOf);
    std::vector<size_t> apart;
    for (size_t p = 0; p < pictures.size(); ++p) {
        if (GroupJoins::liesApart(groupsOfPicture[p]))
            apart.push_back(p);
    }
    for (const size_t p : apart)
        joinCopiesOf(session, joins, groupsOfPicture[p]);
    for (const size_t p : apart) {
        std::vector<qsizetype> sets;
        for (const qsizetype g : groupsOfPicture[p])
            sets.push_back(joins.rootOf(g));
        linkCopies(pictures[p], sets);
    }
    const auto byScanOrder
        = [&position](const auto &a, const auto &b) { return position.at(a.get()) < position.at(b.get()); };
    QList<std::shared_ptr<DuplicatesGroup>> kept;
    std::vector<bool> grown(size_t(groups.size()), false);
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const qsizetype root = joins.rootOf(g);
        if (root == g) {
            kept.append(groups.at(g));
            continue;
        }
        grown[size_t(root)] = true;
        // The joined group's first member is no longer first: it counts like the members after it.
        const std::shared_ptr<ImageFileInfo> &head = groups.at(g)->children.first();
        if (head->match >= matchThreshold)
            session.dupSize += head->fileSize;
        DuplicatesGroup &into = *groups.at(root);
        for (const auto &member : groups.at(g)->children)
            member->parent = groups.at(root);
        into.children.append(groups.at(g)->children);
    }
    // Sorted once each: merging group by group would cost the size of the joined group every time.
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (grown[size_t(g)])
            std::ranges::sort(groups.at(g)->children, byScanOrder);
    }
    groups = kept;
}

// Each copy placed apart from the first joins the first of the groups of the copies before it
// that keeps every pair of members matching; where none does, it stays where first fit put it.
void CopySets::joinCopiesOf(ScanSession &session, GroupJoins &joins, const std::vector<qsizetype> &groups)
{
    std::vector<qsizetype> earlier { groups.front() };
    std::unordered_map<qsizetype, bool> joined;
    for (const qsizetype group : groups) {
        if (group == groups.front())
            continue;
        const auto [outcome, fresh] = joined.try_emplace(group, false);
        if (fresh) {
            outcome->second
                = std::ranges::any_of(earlier, [&](qsizetype other) { return joins.join(other, group); });
            earlier.push_back(group);
        }
        ++(outcome->second ? session.identicalKeptAcrossDates : session.identicalLeftApart);
    }
}

void CopySets::linkCopies(const RecordList &copies, const std::vector<qsizetype> &sets)
{
    // The first two copies in each group; a copy alone in its group keeps the match first fit gave.
    std::unordered_map<qsizetype, std::pair<qsizetype, qsizetype>> firstTwo;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const auto [it, fresh] = firstTwo.try_emplace(sets[size_t(i)], i, -1);
        if (!fresh && it->second.second < 0)
            it->second.second = i;
    }
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const std::shared_ptr<ImageFileInfo> &copy = copies.at(i);
        const auto best = copy->matchesWithNode.lock();
        const auto [first, second] = firstTwo.at(sets[size_t(i)]);
        const qsizetype other = i == first ? second : first;
        if ((copy->match >= 1.0f && best && best != copy) || other < 0)
            continue;
        copy->match = 1.0f;
        copy->matchesWithNode = copies.at(other);
    }
}

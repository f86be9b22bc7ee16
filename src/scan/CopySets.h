// The byte copies among the photos of a similar scan: files of one size and one content sum are
// one picture. A picture carries the file dates of all its copies, so that the time test passes
// against it when it passes against any one of them (RecordTimes::copyCreates), and every copy
// goes to the group of the first one placed: which copy the walk meets first changes nothing.
// Only files that share their size with another photo written at another time can be copies that
// matter; they are told apart by the digest of their ends first (ContentNarrowing), and only those
// still alike are summed whole, on every core. Sums the cache or the provider gave are taken as
// they are.
#pragma once

#include <atomic>
#include <unordered_map>
#include <vector>

#include "scan/PairScore.h"
#include "scan/ScanSession.h"

class CopySets
{
public:
    // Finds the copies among `records` (photos that can be compared), in their order, reading on
    // `threads` threads with the session's reading progress; reading ends at its stop request.
    void find(const RecordList &records, int threads, ScanSession &session);

    // The record's dates, with the file dates of every copy of its picture.
    RecordTimes timesOf(const ImageFileInfo &record) const;
    // Notes that the record is about to be placed; true when a copy of it came before, whose
    // group it then joins.
    bool claim(const ImageFileInfo &record);
    // The group of the record's picture and the member index of its first copy there, or -1.
    std::pair<qsizetype, qsizetype> placedCopy(const ImageFileInfo &record) const;
    // Notes that the record is member `member` of group `group`; returns how many of its copies
    // placed before it only their own file dates would have kept apart from it.
    int place(
        const ImageFileInfo &record, qsizetype group, qsizetype member, const PairScoreOptions &options);
    // The records whose file was read here, now carrying their sums for the cache.
    const RecordList &summed() const { return m_summed; }

private:
    struct Picture {
        const ImageFileInfo *first = nullptr;
        int copies = 0;
        // Every copy has the first one's capture date and place.
        bool agrees = true;
        std::vector<std::int64_t> dates;
        // Every copy has a file date: without one, a copy passes any file date.
        bool dated = true;
        bool claimed = false;
        qsizetype group = -1;
        qsizetype member = -1;
        std::vector<RecordTimes> placed;
    };
    RecordList withSeveralDates(const RecordList &records);
    // The pictures of several copies among `records`, whose sums are known.
    void collect(const RecordList &records);
    bool sameCaptureAndPlace(const ImageFileInfo &a, const ImageFileInfo &b) const;
    // The picture of a record with copies, or null.
    Picture *pictureOf(const ImageFileInfo &record);
    const Picture *pictureOf(const ImageFileInfo &record) const;
    // Converting a local date costs a time-zone lookup: each record's are converted once.
    RecordTimes ownTimesOf(const ImageFileInfo &record) const;

    std::unordered_map<const ImageFileInfo *, size_t> m_pictureOf;
    std::unordered_map<const ImageFileInfo *, RecordTimes> m_ownTimes;
    std::vector<Picture> m_pictures;
    RecordList m_summed;
};

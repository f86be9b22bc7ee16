// Sets of first-fit groups that byte copies bring together. A group promises that every two of its
// members match: the later one scores at least m against the earlier one, fingerprints, capture
// dates and place alike, and their file dates pass the time limit where either lacks a capture
// date. A file's file dates are those of every byte copy of it in the scan (a picture): two files
// pass when some copy of one and some copy of the other were written within the limit. So a byte
// copy passes against every file its copy passes against, and a group of copies alone can always
// join a set holding their copies. Two sets are joined only when the joined one keeps that
// promise. Each set keeps what decides this in summary (the kinds of members that score alike, with
// the scan positions they span, the extremes of their dates and the pictures it holds), so a join
// costs a few scores, not one for every two members.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <QtGlobal>

#include "scan/PairScore.h"
#include "scan/ScanSession.h"
#include "scan/ScoreClasses.h"

class GroupJoins
{
public:
    // A record's dates, as the comparison converted them.
    using TimesOf = std::function<const RecordTimes &(const ImageFileInfo &)>;

    // `pictures`: the byte copies of each picture that has more than one; `groupsOfPicture`: the
    // group of each of those copies; `positionOf`: each record's place in scan order.
    GroupJoins(const ScanSession &session, const PairScoreOptions &options,
        const std::vector<RecordList> &pictures, const std::vector<std::vector<qsizetype>> &groupsOfPicture,
        const std::unordered_map<const ImageFileInfo *, qsizetype> &positionOf, const TimesOf &timesOf);

    // Whether the copies of a picture lie in more than one group (`groups`, one per copy).
    static bool liesApart(const std::vector<qsizetype> &groups);

    // The earliest group of the set holding group `g`.
    qsizetype rootOf(qsizetype g);
    // Joins the sets of groups `a` and `b` unless the joined set would hold two members that do
    // not match; whether they are one set now.
    bool join(qsizetype a, qsizetype b);

private:
    // Milliseconds since the epoch; empty while low > high.
    struct Span {
        std::int64_t low = std::numeric_limits<std::int64_t>::max();
        std::int64_t high = std::numeric_limits<std::int64_t>::min();
        void widen(std::int64_t ms);
        void widen(const Span &other);
        bool empty() const { return low > high; }
    };
    struct Dates {
        Span capture;
        // File dates of the members with one, and of those among them without a capture date:
        // a pair is held to its file dates when either lacks a capture date.
        Span created;
        Span createdUncaptured;
        void add(const RecordTimes &times);
        void add(const Dates &other);
    };
    // The file dates of a picture's copies (sorted, in `m_dates`); a copy without one passes every
    // file date.
    struct Picture {
        size_t first = 0;
        size_t count = 0;
        bool undated = false;
        bool uncaptured = false;
    };
    // A member that is no byte copy of another file, with its file date.
    struct Loose {
        std::int64_t createMs;
        bool uncaptured;
    };
    // Members of one kind in a set and the first and last scan positions they hold.
    struct KindSpan {
        size_t kind;
        qsizetype first;
        qsizetype last;
    };
    struct Set {
        std::vector<qsizetype> groups;
        std::vector<KindSpan> kinds;
        // Every member by its own dates.
        Dates dates;
        // The pictures whose copies it holds, and the members that are no copies.
        std::unordered_set<std::uint32_t> pictures;
        qsizetype outside = 0;
        Dates looseDates;
        std::vector<Loose> loose;
    };

    void addPictures(const std::vector<RecordList> &pictures, const TimesOf &timesOf);
    void addMember(Set &set, const ImageFileInfo &member, qsizetype position, const TimesOf &timesOf);
    bool kindsMatch(const Set &a, const Set &b);
    // Whether the later member of kind `later` scores at least m against one of kind `earlier`.
    bool kindScores(size_t later, size_t earlier);
    bool closeEnough(std::int64_t differenceMs) const;
    bool withinLimit(const Span &a, const Span &b) const;
    bool fileDatesMatch(const Dates &a, const Dates &b) const;
    bool fileDatesAllowJoin(const Set &a, const Set &b) const;
    // Every member of `copies` is a byte copy of a member of `set`.
    static bool holdsCopiesOf(const Set &set, const Set &copies);
    // Every pair of a member of `a` and one of `b` whose file dates are compared passes them.
    bool everyPairPassesFileDates(const Set &a, const Set &b) const;
    bool picturesPass(const Picture &x, const Picture &y) const;
    bool picturePasses(const Picture &x, const Loose &y) const;
    std::span<const std::int64_t> datesOf(const Picture &picture) const;
    // Whether a date of `dates` (sorted) lies within the limit of `ms`.
    bool anyWithinLimit(std::span<const std::int64_t> dates, std::int64_t ms) const;
    static void absorb(Set &into, Set &from);

    PairScoreOptions m_options;
    std::vector<qsizetype> m_joinedTo;
    std::unordered_map<qsizetype, Set> m_sets;
    std::vector<Picture> m_pictures;
    std::vector<std::int64_t> m_dates;
    std::unordered_map<const ImageFileInfo *, std::uint32_t> m_pictureOf;
    ScoreClasses m_kinds;
    // The first member of each kind, by the index the kinds know it under.
    std::vector<const ImageFileInfo *> m_members;
    std::unordered_map<std::uint64_t, bool> m_kindScores;
};

// Sets of first-fit groups that byte copies bring together. A group promises that every two of its
// members match: the later one scores at least m against the earlier one, fingerprints, capture
// dates and place alike. Two sets are joined only when the joined one keeps that promise, with one
// allowance: members that each stand beside a byte copy of one picture are versions of one photo,
// so the days their files were written are not compared. Each set keeps what decides this in
// summary (the kinds of members that score alike, with the scan positions they span, and the
// extremes of their dates), so a join costs a few scores, not one for every two members.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <unordered_map>
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

    // `groupsOfPicture`: per picture, the group of each of its copies; `positionOf`: each record's
    // place in scan order.
    GroupJoins(const ScanSession &session, const PairScoreOptions &options,
        const std::vector<std::vector<qsizetype>> &groupsOfPicture,
        const std::unordered_map<const ImageFileInfo *, qsizetype> &positionOf, const TimesOf &timesOf);

    // The earliest group of the set holding group `g`.
    qsizetype rootOf(qsizetype g);
    // Joins the sets of groups `a` and `b`, which both hold a copy of `picture`, unless the joined
    // set would hold two members that do not match; whether they are one set now.
    bool join(qsizetype a, qsizetype b, size_t picture);

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
    // Members of one kind in a set and the first and last scan positions they hold.
    struct KindSpan {
        size_t kind;
        qsizetype first;
        qsizetype last;
    };
    // A picture and how many groups hold a copy of it.
    using PictureCount = std::pair<size_t, qsizetype>;
    struct Set {
        std::vector<qsizetype> groups;
        std::vector<KindSpan> kinds;
        Dates dates;
        // Per picture, how many of the set's groups hold a copy of it; sorted by picture.
        std::vector<PictureCount> picturesHeld;
    };
    // What a group alone brings to the file-date test.
    struct GroupFacts {
        Dates dates;
        // Sorted.
        std::vector<size_t> pictures;
    };

    void addGroup(qsizetype g, const std::vector<size_t> &pictures);
    bool kindsMatch(const Set &a, const Set &b);
    // Whether the later member of kind `later` scores at least m against one of kind `earlier`.
    bool kindScores(size_t later, size_t earlier);
    bool withinLimit(const Span &a, const Span &b) const;
    bool fileDatesMatch(const Dates &a, const Dates &b) const;
    bool fileDatesAllowJoin(const Set &a, const Set &b, size_t picture) const;
    bool sharePicture(qsizetype g, qsizetype h) const;
    static void absorb(Set &into, Set &from);

    PairScoreOptions m_options;
    std::vector<qsizetype> m_joinedTo;
    std::unordered_map<qsizetype, Set> m_sets;
    std::unordered_map<qsizetype, GroupFacts> m_groups;
    ScoreClasses m_kinds;
    // The first member of each kind, by the index the kinds know it under.
    std::vector<const ImageFileInfo *> m_members;
    std::unordered_map<std::uint64_t, bool> m_kindScores;
};

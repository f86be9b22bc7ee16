// The byte copies among the photos of a similar scan. First fit places every record by its own
// dates, so copies of one picture written at other times can end in different groups; every member
// of each of those groups matched the copy it holds, so they are versions of one photo, and the
// groups are joined into one in the place of the earliest, with the members in scan order, as long
// as every two members of the joined group still match (GroupJoins): where a group also holds
// another picture, its members need not match those of the other copy's group, and the copies then
// stay in the groups first fit gave them. Joining only ever adds members to a group: every file
// that first fit shows stays shown.
// Only records whose size and fingerprint a record of another group shares can be such copies:
// they are told apart by the digest of their ends first (ContentNarrowing), and only those still
// alike are summed whole, on every core. Sums the cache or the provider gave are taken as they are.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "scan/GroupJoins.h"
#include "scan/PairScore.h"
#include "scan/ScanSession.h"

class CopySets
{
public:
    // Joins the session's groups that hold copies of one picture. A stop request ends the reading
    // and leaves the groups as they are. `matchThreshold` is the score from which a member counts
    // towards the space the scan can free.
    void join(ScanSession &session, int threads, const PairScoreOptions &options, float matchThreshold,
        const GroupJoins::TimesOf &timesOf);
    // The records whose file was read here, now carrying their sums for the cache.
    const RecordList &summed() const { return m_summed; }

private:
    // The group index of every member that the fingerprints placed.
    using GroupOf = std::unordered_map<const ImageFileInfo *, qsizetype>;

    // Members of one size and fingerprint found in more than one group.
    static RecordList splitCandidates(const ScanSession &session, GroupOf &groupOf);
    void readSums(const RecordList &candidates, int threads, ScanSession &session);
    // The copies of each picture that lies in more than one group, in scan order.
    static std::vector<RecordList> splitPictures(const RecordList &candidates, const GroupOf &groupOf);
    // Moves the members of every group joined to an earlier one into it, where the joined group
    // keeps every two members matching.
    static void joinGroups(ScanSession &session, const std::vector<RecordList> &pictures,
        const GroupOf &groupOf, const PairScoreOptions &options, float matchThreshold,
        const GroupJoins::TimesOf &timesOf);
    // Joins the groups of one picture's copies (`groups`, in the copies' order) where it may.
    static void joinCopiesOf(
        ScanSession &session, GroupJoins &joins, const std::vector<qsizetype> &groups, size_t picture);
    // Each copy of a picture names another copy in its group (`sets`, per copy) as its best match,
    // with the score of the same bytes.
    static void linkCopies(const RecordList &copies, const std::vector<qsizetype> &sets);

    RecordList m_summed;
};

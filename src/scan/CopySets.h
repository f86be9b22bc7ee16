// The byte copies among the photos of a similar scan. First fit places every record by its own
// dates, so copies of one picture written at other times can end in different groups. A file is
// dated by all its copies (GroupJoins), so a copy matches every file its copy matches, and the
// groups holding copies of one picture are joined into one in the place of the earliest, with the
// members in scan order, as long as every two members of the joined group still match. A copy that
// first fit left alone thus always joins a group of its copies; one that first fit placed beside
// other files that cannot join stays shown there. Joining only ever adds members to a group: every
// file that first fit shows stays shown.
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

    // Members of one size and fingerprint found in more than one group, and those of one size and
    // fingerprint beside them in their groups: a file's copies in its own group date it too.
    static RecordList splitCandidates(const ScanSession &session, GroupOf &groupOf);
    void readSums(const RecordList &candidates, int threads, ScanSession &session);
    // The copies of each picture that has more than one, in scan order.
    static std::vector<RecordList> picturesOf(const RecordList &candidates);
    // Moves the members of every group joined to an earlier one into it, where the joined group
    // keeps every two members matching.
    static void joinGroups(ScanSession &session, const std::vector<RecordList> &pictures,
        const std::vector<std::vector<qsizetype>> &groupsOfPicture, const PairScoreOptions &options,
        float matchThreshold, const GroupJoins::TimesOf &timesOf);
    // Joins the groups of one picture's copies (`groups`, in the copies' order) where it may.
    static void joinCopiesOf(ScanSession &session, GroupJoins &joins, const std::vector<qsizetype> &groups);
    // Each copy of a picture names another copy in its group (`sets`, per copy) as its best match,
    // with the score of the same bytes.
    static void linkCopies(const RecordList &copies, const std::vector<qsizetype> &sets);

    RecordList m_summed;
};

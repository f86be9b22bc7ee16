// The comparison engine: places every record of a scan, in scan order, into the first group whose
// every member scores at least the grouping threshold against it, or starts a group of its own.
// Exact-mode videos (and records of a cloud scan that cannot be fingerprinted) are grouped by
// equal MD5 text instead, and so are the photos of an exact scan of this computer: identical bytes
// score 1 against each other and nothing else does, so they join as the first fit would join them.
// In similar mode byte copies are one picture (CopySets): the groups that hold copies of one picture
// are joined once every record is placed.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include <QHash>

#include "scan/CopySets.h"
#include "scan/FingerprintSketches.h"
#include "scan/PairCandidates.h"
#include "scan/PairScore.h"
#include "scan/ScanSession.h"
#include "scan/ScoreClasses.h"

class DuplicateGrouper
{
public:
    enum class Method {
        // The plain loop: every record against every member of each earlier group, first match wins.
        Straight,
        // Rules pairs out by fingerprint sketches first and scores only the pairs that remain. A
        // pair is ruled out only when its pair score would fall below the threshold anyway, so
        // the groups are the same as the straight loop's. A record is also scored only against the
        // first of each group's members that score alike (ScoreClasses): same groups again.
        Prefiltered,
        // Scores each chunk of records on all cores, with the same sketches, against every earlier
        // record that is the first of its kind (records alike score alike), and then places the
        // chunk in order by first fit over those scores and the score classes. Same groups.
        Parallel,
    };

    // Records scored per chunk of the parallel method: a stop request waits for at most one chunk,
    // and the candidate lists of only one chunk are held at a time.
    static constexpr qsizetype kParallelChunk = 2048;

    // `threads` of the parallel method, 0 for one per core, and its records per chunk.
    explicit DuplicateGrouper(ScanSession &session, Method method = Method::Parallel, int threads = 0,
        qsizetype chunk = kParallelChunk);

    // Groups every record of the session (stops at a stop request). Afterwards the records whose
    // file was read for its sum carry it, and `summedRecords` lists them for the cache.
    void startComparison();
    const RecordList &summedRecords() const { return m_copySets.summed(); }
    void findSimilarDuplicates(const std::shared_ptr<ImageFileInfo> &record);
    void addToDuplicatesGroup(const std::shared_ptr<ImageFileInfo> &record);
    // Exact photos of this computer: the group of the same bytes, joined as by a score of 1.
    void addToSameBytesGroup(const std::shared_ptr<ImageFileInfo> &record);

private:
    // What a record's placement goes through; decided by the record alone.
    enum class Route { Skip, Content, SameBytes, Fingerprint };
    // The group a record joins (-1: none takes it), its best score there and the member scoring it.
    struct Fit {
        qsizetype group = -1;
        float best = 0.0f;
        std::shared_ptr<ImageFileInfo> member;
    };

    // Gives back the turns and mirror the hashing stage left out of the fingerprints of a scan
    // that compares them, on all cores.
    void restoreTurns();
    bool prefilterIsSound() const;
    // Exact mode: the pair score reads the content sums.
    bool comparesSums() const;
    // The group of the record's sum in `groups`, or a new one; `asFirstFit` joins as a score of 1
    // does (the first member then names the newcomer its best match).
    void groupBySum(
        const std::shared_ptr<ImageFileInfo> &record, QHash<QString, qsizetype> &groups, bool asFirstFit);
    Route routeOf(ImageFileInfo &record);
    void compareInParallel();
    // Places the records of a scored chunk, from `firstPosition` on.
    void placeChunk(const RecordList &records, const std::vector<Route> &routes,
        const PairCandidates &candidates, const std::vector<PairCandidates::List> &lists, int firstPosition);
    Fit fitByCandidates(const ImageFileInfo &record, int position, const PairCandidates &candidates,
        const PairCandidates::List &list);
    // The score of the record at `position` against the class `range` of group `g`, or -1.
    float classScore(const ImageFileInfo &record, int position, qsizetype g, const ScoreClasses::Class &range,
        const PairCandidates &candidates, const PairCandidates::List &list);
    // First fit over the groups in order.
    Fit firstFit(const ImageFileInfo &record, int slot);
    // Joins the group the record fits, or starts one.
    void place(const std::shared_ptr<ImageFileInfo> &record, int slot, int position, const Fit &fit);
    void joinGroup(const std::shared_ptr<ImageFileInfo> &record, qsizetype groupIndex, float best,
        const std::shared_ptr<ImageFileInfo> &bestMember, int slot, int position = -1);
    void startGroup(const std::shared_ptr<ImageFileInfo> &record, int slot, int position = -1);
    // Parallel method: notes that group `groupIndex` now holds the record at `position`.
    void notePosition(qsizetype groupIndex, int position);
    // The lowest score of a record against the date extremes of class `range`.
    float extremesScore(const ImageFileInfo &record, const ScoreClasses::Class &range);
    // A record's dates, converted once a comparison.
    const RecordTimes &timesOf(const ImageFileInfo &record);
    float scoreOf(const ImageFileInfo &a, const ImageFileInfo &b);
    // Files the new last member of group `groupIndex` under its score class.
    void addToClasses(qsizetype groupIndex);

    ScanSession &m_session;
    PairScoreOptions m_options;
    float m_matchThreshold;
    bool m_prefilter;
    bool m_reuseScores;
    bool m_parallel;
    int m_threads;
    qsizetype m_chunk;
    std::int64_t m_allowed;
    FingerprintSketches m_sketches;
    // Sketch slots of each group's members, in the order of `arrAllFilesGrouping`.
    std::vector<std::vector<int>> m_groupSlots;
    // Members of each group that score alike; kept only when scores are reused.
    std::vector<ScoreClasses> m_groupClasses;
    // Parallel method: the positions of each group's members in order (-1 for members grouped by
    // content), the first position of each record's kind, and the groups holding each kind.
    std::vector<std::vector<int>> m_groupPositions;
    std::vector<int> m_representative;
    std::vector<std::vector<int>> m_groupsOfKind;
    ScoreClasses m_kinds;
    // MD5 text to the index of its group: of videos and cloud records, and of exact photos apart.
    QHash<QString, qsizetype> m_dictMapMD5ToGroup;
    QHash<QString, qsizetype> m_photoGroupsByMd5;
    CopySets m_copySets;
    std::unordered_map<const ImageFileInfo *, RecordTimes> m_times;
};

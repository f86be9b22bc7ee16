// The comparison engine: places every record of a scan, in scan order, into the first group whose
// every member scores at least the grouping threshold against it, or starts a group of its own.
// Exact-mode videos (and records of a cloud scan that cannot be fingerprinted) are grouped by
// equal MD5 text instead.
#pragma once

#include <memory>
#include <vector>

#include <QHash>

#include "scan/FingerprintSketches.h"
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
    };

    explicit DuplicateGrouper(ScanSession &session, Method method = Method::Prefiltered);

    // Groups every record of the session (stops at a stop request).
    void startComparison();
    void findSimilarDuplicates(const std::shared_ptr<ImageFileInfo> &record);
    void addToDuplicatesGroup(const std::shared_ptr<ImageFileInfo> &record);

private:
    bool prefilterIsSound() const;
    // First fit over the groups in order; the index of the group joined, or -1.
    qsizetype placeInFirstGroup(const std::shared_ptr<ImageFileInfo> &record, int slot);
    void joinGroup(const std::shared_ptr<ImageFileInfo> &record, qsizetype groupIndex, float best,
        const std::shared_ptr<ImageFileInfo> &bestMember, int slot);
    void startGroup(const std::shared_ptr<ImageFileInfo> &record, int slot);
    float extremesScore(const ImageFileInfo &record, const ScoreClasses::Class &range) const;
    // Files the new last member of group `groupIndex` under its score class.
    void addToClasses(qsizetype groupIndex);

    ScanSession &m_session;
    PairScoreOptions m_options;
    float m_minimumMatchThreshold;
    bool m_prefilter;
    bool m_reuseScores;
    std::int64_t m_allowed;
    FingerprintSketches m_sketches;
    // Sketch slots of each group's members, in the order of `arrAllFilesGrouping`.
    std::vector<std::vector<int>> m_groupSlots;
    // Members of each group that score alike; kept only when scores are reused.
    std::vector<ScoreClasses> m_groupClasses;
    // MD5 text to the index of its group.
    QHash<QString, qsizetype> m_dictMapMD5ToGroup;
};

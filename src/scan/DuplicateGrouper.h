// The comparison engine: places every record of a scan, in scan order, into the first group whose
// every member scores at least the grouping threshold against it, or starts a group of its own.
// Exact-mode videos (and records of a cloud scan that cannot be fingerprinted) are grouped by
// equal MD5 text instead.
#pragma once

#include <memory>
#include <vector>

#include <QHash>

#include "scan/PairScore.h"
#include "scan/ScanSession.h"

class DuplicateGrouper
{
public:
    enum class Method {
        // Scores every pair with the pair score, exactly as the design describes the loop.
        Straight,
        // Tests the fingerprint distance alone first and scores only the pairs it cannot rule out.
        // It rules out a pair only when the pair score would fall below the threshold anyway, so
        // the groups are the same as the straight loop's.
        Prefiltered,
    };

    explicit DuplicateGrouper(ScanSession &session, Method method = Method::Prefiltered);

    // Groups every record of the session (stops at a stop request).
    void startComparison();
    void findSimilarDuplicates(const std::shared_ptr<ImageFileInfo> &record);
    void addToDuplicatesGroup(const std::shared_ptr<ImageFileInfo> &record);

private:
    bool mayMatch(const ImageFileInfo &a, const ImageFileInfo &b) const;
    bool prefilterIsSound() const;
    void joinGroup(const std::shared_ptr<ImageFileInfo> &record,
        const std::shared_ptr<DuplicatesGroup> &group, float best,
        const std::shared_ptr<ImageFileInfo> &bestMember);
    void startGroup(const std::shared_ptr<ImageFileInfo> &record);

    ScanSession &m_session;
    PairScoreOptions m_options;
    float m_minimumMatchThreshold;
    bool m_prefilter;
    std::int64_t m_allowed;
    QHash<QString, std::shared_ptr<DuplicatesGroup>> m_dictMapMD5ToGroup;
};

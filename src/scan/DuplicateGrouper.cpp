#include "scan/DuplicateGrouper.h"

#include <algorithm>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"

DuplicateGrouper::DuplicateGrouper(ScanSession &session, Method method)
    : m_session(session)
    , m_options(PairScoreOptions::fromSnapshot(session.options.globals, session.options.sliderMinValue))
    , m_minimumMatchThreshold(float(session.options.globals.minimumMatchThreshold))
    , m_prefilter(method == Method::Prefiltered)
    , m_reuseScores(method == Method::Prefiltered && PairScore::kNoMatch < m_options.sliderMinValue)
    , m_allowed(PairScore::allowedDistance(m_options.reSizeValue, m_options.sliderMinValue))
    , m_sketches(m_options)
{
    if (m_prefilter && !prefilterIsSound())
        m_prefilter = false;
}

// A ruled-out pair has a fingerprint distance above the allowed one, so its score is at most
// (bits - allowed - 1) / bits; the shortcut is only taken when that is below m.
bool DuplicateGrouper::prefilterIsSound() const
{
    const std::int64_t bits = std::int64_t(m_options.reSizeValue) * m_options.reSizeValue;
    if (bits <= 0)
        return false;
    return float(bits - (m_allowed + 1)) / float(bits) < m_options.sliderMinValue
        && PairScore::kNoMatch < m_options.sliderMinValue;
}

void DuplicateGrouper::startComparison()
{
    m_session.countCompared = 0;
    const RecordList records = m_session.arrImagesContent;
    for (const auto &record : records) {
        if (m_session.stopped())
            break;
        ++m_session.countCompared;
        findSimilarDuplicates(record);
    }
}

void DuplicateGrouper::findSimilarDuplicates(const std::shared_ptr<ImageFileInfo> &record)
{
    ImageFileInfo &a = *record;
    const bool exact = m_options.compareType == GlobalObjects::CompareType::ctMD5;
    if (exact && a.isVideo) {
        addToDuplicatesGroup(record);
        return;
    }
    // In exact mode only photos that share their byte size with another record were
    // fingerprinted; one without a fingerprint cannot match anything.
    if (exact && a.arrHashOfRotateFlipImages.isEmpty())
        return;
    if (a.arrHashOfRotateFlipImages.isEmpty() && !a.isVideo)
        a.computeFileHash();
    if (a.blDoNotCompare) {
        if (m_options.scanType != 0)
            addToDuplicatesGroup(record);
        return;
    }
    const int slot = m_prefilter ? m_sketches.add(a) : FingerprintSketches::kIrregular;
    if (placeInFirstGroup(record, slot) < 0 && !m_session.stopped())
        startGroup(record, slot);
    m_session.report(ScanProgress::Stage::Comparing, a.filePath);
}

qsizetype DuplicateGrouper::placeInFirstGroup(const std::shared_ptr<ImageFileInfo> &record, int slot)
{
    const float m = m_options.sliderMinValue;
    const qsizetype groupCount = m_session.arrAllFilesGrouping.size();
    for (qsizetype g = 0; g < groupCount; ++g) {
        if (m_session.stopped())
            return -1;
        const QList<std::shared_ptr<ImageFileInfo>> &members = m_session.arrAllFilesGrouping.at(g)->children;
        const std::vector<int> &memberSlots = m_groupSlots[size_t(g)];
        // Members alike score alike, so the first of each class stands for the rest (the earliest
        // member with the best score is still the one remembered) once its extreme dates pass too.
        const std::vector<ScoreClasses::Class> *classes
            = m_reuseScores ? &m_groupClasses[size_t(g)].classes() : nullptr;
        const qsizetype scored = classes ? qsizetype(classes->size()) : members.size();
        float best = 0.0f;
        std::shared_ptr<ImageFileInfo> bestMember;
        bool accepted = !members.isEmpty();
        for (qsizetype k = 0; accepted && k < scored; ++k) {
            const qsizetype i = classes ? (*classes)[size_t(k)].first : k;
            if (m_prefilter && m_sketches.ruledOut(slot, memberSlots[size_t(i)], m_allowed)) {
                accepted = false;
                break;
            }
            float score = PairScore::compareImages(*record, *members.at(i), m_options);
            if (classes && score >= m)
                score = std::min(score, extremesScore(*record, (*classes)[size_t(k)]));
            if (score < m)
                accepted = false;
            else if (score > best) {
                best = score;
                bestMember = members.at(i);
            }
        }
        if (accepted) {
            joinGroup(record, g, best, bestMember, slot);
            return g;
        }
    }
    return -1;
}

// The lowest score of a record against the date extremes of a class; their pair scores differ from
// the first member's only when the time veto strikes.
float DuplicateGrouper::extremesScore(const ImageFileInfo &record, const ScoreClasses::Class &range) const
{
    float lowest = 1.0f;
    for (const ImageFileInfo *extreme :
        { range.earliestCapture, range.latestCapture, range.earliestCreation, range.latestCreation })
        lowest = std::min(lowest, PairScore::compareImages(record, *extreme, m_options));
    return lowest;
}

void DuplicateGrouper::joinGroup(const std::shared_ptr<ImageFileInfo> &record, qsizetype groupIndex,
    float best, const std::shared_ptr<ImageFileInfo> &bestMember, int slot)
{
    const std::shared_ptr<DuplicatesGroup> &group = m_session.arrAllFilesGrouping.at(groupIndex);
    const bool wasSingle = group->children.size() == 1;
    // The space a scan can free is what the members beyond a group's first take up, the same sum
    // the results window shows; the first member is the copy that stays.
    if (best >= m_minimumMatchThreshold)
        m_session.dupSize += record->fileSize;
    if (wasSingle) {
        bestMember->match = best;
        bestMember->matchesWithNode = record;
    }
    record->match = best;
    record->matchesWithNode = bestMember;
    if (best > bestMember->match) {
        bestMember->match = best;
        bestMember->matchesWithNode = record;
    }
    record->parent = group;
    group->children.append(record);
    m_groupSlots[size_t(groupIndex)].push_back(slot);
    addToClasses(groupIndex);
}

void DuplicateGrouper::addToClasses(qsizetype groupIndex)
{
    if (!m_reuseScores)
        return;
    if (m_groupClasses.size() <= size_t(groupIndex))
        m_groupClasses.resize(size_t(groupIndex) + 1);
    const QList<std::shared_ptr<ImageFileInfo>> &members
        = m_session.arrAllFilesGrouping.at(groupIndex)->children;
    m_groupClasses[size_t(groupIndex)].add(*members.back(), members.size() - 1);
}

void DuplicateGrouper::startGroup(const std::shared_ptr<ImageFileInfo> &record, int slot)
{
    record->matchesWithNode = record;
    record->match = 1.0f;
    auto group = std::make_shared<DuplicatesGroup>();
    group->children.append(record);
    record->parent = group;
    m_session.arrAllFilesGrouping.append(group);
    m_groupSlots.push_back({ slot });
    addToClasses(m_session.arrAllFilesGrouping.size() - 1);
}

void DuplicateGrouper::addToDuplicatesGroup(const std::shared_ptr<ImageFileInfo> &record)
{
    if (record->fileMd5.isEmpty())
        return;
    // Members grouped by content are never matched by fingerprint (videos have none, and a
    // record that is not comparable is vetoed by the pair score).
    const auto found = m_dictMapMD5ToGroup.constFind(record->fileMd5);
    if (found == m_dictMapMD5ToGroup.cend()) {
        startGroup(record, FingerprintSketches::kNoFingerprint);
        m_dictMapMD5ToGroup.insert(record->fileMd5, m_session.arrAllFilesGrouping.size() - 1);
        return;
    }
    const std::shared_ptr<DuplicatesGroup> &group = m_session.arrAllFilesGrouping.at(found.value());
    m_session.dupSize += record->fileSize;
    record->match = 1.0f;
    record->matchesWithNode = group->children.first();
    record->parent = group;
    group->children.append(record);
    m_groupSlots[size_t(found.value())].push_back(FingerprintSketches::kNoFingerprint);
    addToClasses(found.value());
}

#include "scan/DuplicateGrouper.h"

#include "model/DuplicatesGroup.h"
#include "model/FingerprintWords.h"
#include "model/ImageFileInfo.h"

DuplicateGrouper::DuplicateGrouper(ScanSession &session, Method method)
    : m_session(session)
    , m_options(PairScoreOptions::fromSnapshot(session.options.globals, session.options.sliderMinValue))
    , m_minimumMatchThreshold(float(session.options.globals.minimumMatchThreshold))
    , m_prefilter(method == Method::Prefiltered)
    , m_allowed(PairScore::allowedDistance(m_options.reSizeValue, m_options.sliderMinValue))
{
    if (m_prefilter && !prefilterIsSound())
        m_prefilter = false;
}

// A pair that the prefilter rules out has a fingerprint distance above the allowed one, so its
// score is at most (bits - allowed - 1) / bits; the shortcut is only taken when that is below m.
bool DuplicateGrouper::prefilterIsSound() const
{
    const std::int64_t bits = std::int64_t(m_options.reSizeValue) * m_options.reSizeValue;
    if (bits <= 0)
        return false;
    return float(bits - (m_allowed + 1)) / float(bits) < m_options.sliderMinValue
        && PairScore::kNoMatch < m_options.sliderMinValue;
}

bool DuplicateGrouper::mayMatch(const ImageFileInfo &a, const ImageFileInfo &b) const
{
    const FingerprintVariants &av = a.arrHashOfRotateFlipImages;
    const FingerprintVariants &bv = b.arrHashOfRotateFlipImages;
    if (av.isEmpty() || bv.isEmpty())
        return false;
    const std::int64_t bits = std::int64_t(m_options.reSizeValue) * m_options.reSizeValue;
    const size_t words = std::min({ size_t(bits / 64), av.wordsPerPiece(), bv.wordsPerPiece() });
    const uint64_t *first = av.words(0).data();
    const int count = m_options.compareType == GlobalObjects::CompareType::ctMD5 ? 1 : bv.count();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !(i <= 3 ? m_options.compareRotateImages : m_options.compareFlipImages))
            continue;
        if (FingerprintWords::boundedDistance(first, bv.words(i).data(), words, m_allowed) <= m_allowed)
            return true;
    }
    return false;
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
    const float m = m_options.sliderMinValue;
    bool placed = false;
    const QList<std::shared_ptr<DuplicatesGroup>> groups = m_session.arrAllFilesGrouping;
    for (const auto &group : groups) {
        if (m_session.stopped())
            break;
        if (group->children.isEmpty())
            continue;
        float best = 0.0f;
        std::shared_ptr<ImageFileInfo> bestMember;
        bool accepted = true;
        for (const auto &member : group->children) {
            if (m_prefilter && !mayMatch(a, *member)) {
                accepted = false;
                break;
            }
            const float score = PairScore::compareImages(a, *member, m_options);
            if (score < m) {
                accepted = false;
                break;
            }
            if (score > best) {
                best = score;
                bestMember = member;
            }
        }
        if (accepted) {
            joinGroup(record, group, best, bestMember);
            placed = true;
            break;
        }
    }
    if (!placed && !m_session.stopped())
        startGroup(record);
    m_session.report(ScanProgress::Stage::Comparing, a.filePath);
}

void DuplicateGrouper::joinGroup(const std::shared_ptr<ImageFileInfo> &record,
    const std::shared_ptr<DuplicatesGroup> &groupPtr, float best,
    const std::shared_ptr<ImageFileInfo> &bestMember)
{
    DuplicatesGroup &group = *groupPtr;
    const bool wasSingle = group.children.size() == 1;
    if (best >= m_minimumMatchThreshold) {
        if (wasSingle)
            m_session.dupSize += group.children.first()->fileSize;
        m_session.dupSize += record->fileSize;
    }
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
    record->parent = groupPtr;
    group.children.append(record);
}

void DuplicateGrouper::startGroup(const std::shared_ptr<ImageFileInfo> &record)
{
    record->matchesWithNode = record;
    record->match = 1.0f;
    auto group = std::make_shared<DuplicatesGroup>();
    group->children.append(record);
    record->parent = group;
    m_session.arrAllFilesGrouping.append(group);
}

void DuplicateGrouper::addToDuplicatesGroup(const std::shared_ptr<ImageFileInfo> &record)
{
    if (record->fileMd5.isEmpty())
        return;
    const auto found = m_dictMapMD5ToGroup.constFind(record->fileMd5);
    if (found == m_dictMapMD5ToGroup.cend()) {
        startGroup(record);
        m_dictMapMD5ToGroup.insert(record->fileMd5, m_session.arrAllFilesGrouping.last());
        return;
    }
    DuplicatesGroup &group = *found.value();
    if (group.children.size() == 1)
        m_session.dupSize += record->fileSize;
    m_session.dupSize += record->fileSize;
    record->match = 1.0f;
    record->matchesWithNode = group.children.first();
    record->parent = found.value();
    group.children.append(record);
}

#include "scan/DuplicateGrouper.h"

#include <algorithm>

#include <QThread>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "scan/ParallelLoop.h"

DuplicateGrouper::DuplicateGrouper(ScanSession &session, Method method, int threads, qsizetype chunk)
    : m_session(session)
    , m_options(PairScoreOptions::fromSnapshot(session.options.globals, session.options.sliderMinValue))
    , m_matchThreshold(float(session.options.globals.matchThreshold))
    , m_prefilter(method != Method::Straight)
    , m_reuseScores(method != Method::Straight && PairScore::kNoMatch < m_options.sliderMinValue)
    // Only pairs scoring at least m are kept; were a veto to score that high, every pair would be
    // kept and the loop in order is the better one.
    , m_parallel(method == Method::Parallel && m_reuseScores)
    , m_threads(threads > 0 ? threads : std::max(1, QThread::idealThreadCount()))
    , m_chunk(std::max<qsizetype>(1, chunk))
    , m_allowed(PairScore::allowedDistance(m_options.reSizeValue, m_options.sliderMinValue))
    , m_sketches(m_options)
    , m_kinds(comparesSums())
{
    if (m_prefilter && !prefilterIsSound())
        m_prefilter = false;
}

// A ruled-out pair matches in no variant, and such a pair scores below m as long as the no-match
// score does.
bool DuplicateGrouper::prefilterIsSound() const
{
    return m_options.reSizeValue > 0 && PairScore::kNoMatch < m_options.sliderMinValue;
}

bool DuplicateGrouper::comparesSums() const
{
    return m_options.compareType == GlobalObjects::CompareType::ctMD5;
}

void DuplicateGrouper::restoreTurns()
{
    // Runs of records: each thread writes only the fingerprints of the records it took.
    constexpr qsizetype kRecordsPerItem = 256;
    const RecordList &records = m_session.arrImagesContent;
    const auto items = (records.size() + kRecordsPerItem - 1) / kRecordsPerItem;
    runOnThreads(
        items, m_threads, [] { return false; },
        [&records](std::int64_t item) {
            const qsizetype end = std::min(records.size(), qsizetype(item + 1) * kRecordsPerItem);
            for (qsizetype r = qsizetype(item) * kRecordsPerItem; r < end; ++r) {
                if (records.at(r)->turnsCompared)
                    records.at(r)->arrHashOfRotateFlipImages.restoreTurns();
            }
        });
}

void DuplicateGrouper::startComparison()
{
    m_session.countCompared = 0;
    restoreTurns();
    if (m_prefilter)
        m_sketches.reserve(size_t(m_session.arrImagesContent.size()));
    if (m_parallel) {
        compareInParallel();
    } else {
        const RecordList records = m_session.arrImagesContent;
        for (const auto &record : records) {
            if (m_session.stopped())
                break;
            ++m_session.countCompared;
            findSimilarDuplicates(record);
        }
    }
    if (!m_session.stopped() && !comparesSums())
        m_copySets.join(m_session, m_threads, m_options, m_matchThreshold,
            [this](const ImageFileInfo &record) -> const RecordTimes & { return timesOf(record); });
}

void DuplicateGrouper::findSimilarDuplicates(const std::shared_ptr<ImageFileInfo> &record)
{
    const Route route = routeOf(*record);
    if (route == Route::Content)
        addToDuplicatesGroup(record);
    if (route == Route::SameBytes)
        addToSameBytesGroup(record);
    if (route != Route::Fingerprint)
        return;
    ImageFileInfo &a = *record;
    const int slot = m_prefilter ? m_sketches.add(a) : FingerprintSketches::kIrregular;
    const Fit fit = firstFit(a, slot);
    if (fit.group >= 0 || !m_session.stopped())
        place(record, slot, -1, fit);
    m_session.report(ScanProgress::Stage::Comparing, a.filePath);
}

DuplicateGrouper::Fit DuplicateGrouper::firstFit(const ImageFileInfo &record, int slot)
{
    const float m = m_options.sliderMinValue;
    const qsizetype groupCount = m_session.arrAllFilesGrouping.size();
    for (qsizetype g = 0; g < groupCount; ++g) {
        if (m_session.stopped())
            return {};
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
            float score = scoreOf(record, *members.at(i));
            if (classes && score >= m)
                score = std::min(score, extremesScore(record, (*classes)[size_t(k)]));
            if (score < m)
                accepted = false;
            else if (score > best) {
                best = score;
                bestMember = members.at(i);
            }
        }
        if (accepted)
            return { g, best, bestMember };
    }
    return {};
}

void DuplicateGrouper::place(
    const std::shared_ptr<ImageFileInfo> &record, int slot, int position, const Fit &fit)
{
    if (fit.group >= 0)
        joinGroup(record, fit.group, fit.best, fit.member, slot, position);
    else
        startGroup(record, slot, position);
}

// The members of a class score as its first does unless the time veto strikes, and it strikes
// none of them when it spares the class's date extremes.
float DuplicateGrouper::extremesScore(const ImageFileInfo &record, const ScoreClasses::Class &range)
{
    float lowest = 1.0f;
    for (const ImageFileInfo *extreme :
        { range.earliestCapture, range.latestCapture, range.earliestCreation, range.latestCreation })
        lowest = std::min(lowest, scoreOf(record, *extreme));
    return lowest;
}

const RecordTimes &DuplicateGrouper::timesOf(const ImageFileInfo &record)
{
    const auto [it, added] = m_times.try_emplace(&record);
    if (added)
        it->second = RecordTimes::of(record);
    return it->second;
}

float DuplicateGrouper::scoreOf(const ImageFileInfo &a, const ImageFileInfo &b)
{
    return PairScore::compareImages(a, timesOf(a), b, timesOf(b), m_options);
}

void DuplicateGrouper::joinGroup(const std::shared_ptr<ImageFileInfo> &record, qsizetype groupIndex,
    float best, const std::shared_ptr<ImageFileInfo> &bestMember, int slot, int position)
{
    const std::shared_ptr<DuplicatesGroup> &group = m_session.arrAllFilesGrouping.at(groupIndex);
    const bool wasSingle = group->children.size() == 1;
    // The space a scan can free is what the members beyond a group's first take up, counted at the
    // level the results window opens with; the first member is the copy that stays.
    if (best >= m_matchThreshold)
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
    notePosition(groupIndex, position);
}

void DuplicateGrouper::addToClasses(qsizetype groupIndex)
{
    if (!m_reuseScores)
        return;
    if (m_groupClasses.size() <= size_t(groupIndex))
        m_groupClasses.resize(size_t(groupIndex) + 1, ScoreClasses(comparesSums()));
    const QList<std::shared_ptr<ImageFileInfo>> &members
        = m_session.arrAllFilesGrouping.at(groupIndex)->children;
    m_groupClasses[size_t(groupIndex)].add(*members.back(), members.size() - 1);
}

void DuplicateGrouper::startGroup(const std::shared_ptr<ImageFileInfo> &record, int slot, int position)
{
    record->matchesWithNode = record;
    record->match = 1.0f;
    auto group = std::make_shared<DuplicatesGroup>();
    group->children.append(record);
    record->parent = group;
    m_session.arrAllFilesGrouping.append(group);
    m_groupSlots.push_back({ slot });
    addToClasses(m_session.arrAllFilesGrouping.size() - 1);
    notePosition(m_session.arrAllFilesGrouping.size() - 1, position);
}

void DuplicateGrouper::addToDuplicatesGroup(const std::shared_ptr<ImageFileInfo> &record)
{
    groupBySum(record, m_dictMapMD5ToGroup, false);
}

void DuplicateGrouper::addToSameBytesGroup(const std::shared_ptr<ImageFileInfo> &record)
{
    groupBySum(record, m_photoGroupsByMd5, true);
}

void DuplicateGrouper::groupBySum(
    const std::shared_ptr<ImageFileInfo> &record, QHash<QString, qsizetype> &groups, bool asFirstFit)
{
    if (record->fileMd5.isEmpty())
        return;
    // Members grouped by content are never matched by fingerprint (videos have none, and a
    // record that is not comparable is vetoed by the pair score).
    const auto found = groups.constFind(record->fileMd5);
    if (found == groups.cend()) {
        startGroup(record, FingerprintSketches::kNoFingerprint);
        groups.insert(record->fileMd5, m_session.arrAllFilesGrouping.size() - 1);
        return;
    }
    const std::shared_ptr<DuplicatesGroup> &group = m_session.arrAllFilesGrouping.at(found.value());
    if (asFirstFit) {
        joinGroup(record, found.value(), 1.0f, group->children.first(), FingerprintSketches::kNoFingerprint);
        return;
    }
    m_session.dupSize += record->fileSize;
    record->match = 1.0f;
    record->matchesWithNode = group->children.first();
    record->parent = group;
    group->children.append(record);
    m_groupSlots[size_t(found.value())].push_back(FingerprintSketches::kNoFingerprint);
    addToClasses(found.value());
    notePosition(found.value(), -1);
}

void DuplicateGrouper::notePosition(qsizetype groupIndex, int position)
{
    if (!m_parallel)
        return;
    if (m_groupPositions.size() <= size_t(groupIndex))
        m_groupPositions.resize(size_t(groupIndex) + 1);
    m_groupPositions[size_t(groupIndex)].push_back(position);
    if (position < 0)
        return;
    std::vector<int> &groups = m_groupsOfKind[size_t(m_representative[size_t(position)])];
    if (std::find(groups.begin(), groups.end(), int(groupIndex)) == groups.end())
        groups.push_back(int(groupIndex));
}

// In exact mode the photos of this computer are summed, never fingerprinted; a cloud scan's photos
// that share their byte size with another record were fingerprinted, and one without a fingerprint
// cannot match anything. An empty file holds no photo: all empty files have the same bytes, yet
// none is a copy of another.
DuplicateGrouper::Route DuplicateGrouper::routeOf(ImageFileInfo &a)
{
    const bool exact = m_options.compareType == GlobalObjects::CompareType::ctMD5;
    if (exact && a.fileSize == 0)
        return Route::Skip;
    if (exact && a.isVideo)
        return Route::Content;
    if (exact && !isCloudSource(a.scanType))
        return Route::SameBytes;
    if (exact && a.arrHashOfRotateFlipImages.isEmpty())
        return Route::Skip;
    if (a.arrHashOfRotateFlipImages.isEmpty() && !a.isVideo) {
        m_session.fetchLocalCopy(a);
        a.computeFileHash();
    }
    // Not even by the provider's hash or a cached fingerprint: what the scan could not fetch whole,
    // it does not offer for removal.
    if (a.isCopyNotFetched)
        return Route::Skip;
    if (a.blDoNotCompare)
        return isCloudSource(m_options.scanType) ? Route::Content : Route::Skip;
    return Route::Fingerprint;
}

void DuplicateGrouper::compareInParallel()
{
    const RecordList records = m_session.arrImagesContent;
    PairCandidates candidates(m_sketches, m_options, m_prefilter);
    const auto stopped = [this] { return m_session.stopped(); };
    std::vector<Route> routes;
    for (qsizetype first = 0; first < records.size() && !stopped(); first += m_chunk) {
        const qsizetype end = std::min(records.size(), first + m_chunk);
        const int firstPosition = candidates.count();
        routes.clear();
        for (qsizetype r = first; r < end; ++r) {
            ImageFileInfo &a = *records.at(r);
            routes.push_back(routeOf(a));
            if (routes.back() != Route::Fingerprint)
                continue;
            // Records alike score alike against any record: only the first of each kind is scored
            // as the earlier record of a pair.
            const int position = candidates.count();
            const int kind = int(m_kinds.classes()[m_kinds.add(a, position)].first);
            m_representative.push_back(kind);
            m_groupsOfKind.emplace_back();
            candidates.add(
                a, m_prefilter ? m_sketches.add(a) : FingerprintSketches::kIrregular, kind, timesOf(a));
        }
        const std::vector<PairCandidates::List> lists
            = candidates.score(firstPosition, candidates.count(), m_threads, stopped);
        // A chunk scored only in part would place its records wrongly: it is left out whole.
        if (stopped())
            break;
        placeChunk(records.mid(first, end - first), routes, candidates, lists, firstPosition);
    }
}

void DuplicateGrouper::placeChunk(const RecordList &records, const std::vector<Route> &routes,
    const PairCandidates &candidates, const std::vector<PairCandidates::List> &lists, int firstPosition)
{
    int position = firstPosition;
    for (qsizetype r = 0; r < records.size(); ++r) {
        const std::shared_ptr<ImageFileInfo> &record = records.at(r);
        ++m_session.countCompared;
        if (routes[size_t(r)] == Route::Content)
            addToDuplicatesGroup(record);
        if (routes[size_t(r)] == Route::SameBytes)
            addToSameBytesGroup(record);
        if (routes[size_t(r)] != Route::Fingerprint)
            continue;
        const size_t index = size_t(position - firstPosition);
        place(record, candidates.slotAt(position), position,
            fitByCandidates(*record, position, candidates, lists[index]));
        ++position;
        m_session.report(ScanProgress::Stage::Comparing, record->filePath);
    }
}

// First fit over the scores: only groups holding a kind the record scored at least m against can
// take it; the first of them whose every score class passes does.
DuplicateGrouper::Fit DuplicateGrouper::fitByCandidates(const ImageFileInfo &record, int position,
    const PairCandidates &candidates, const PairCandidates::List &list)
{
    std::vector<int> groups;
    for (const PairCandidates::Candidate &c : list) {
        const std::vector<int> &holding = m_groupsOfKind[size_t(c.position)];
        groups.insert(groups.end(), holding.begin(), holding.end());
    }
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    const float m = m_options.sliderMinValue;
    for (const int g : groups) {
        const QList<std::shared_ptr<ImageFileInfo>> &members = m_session.arrAllFilesGrouping.at(g)->children;
        float best = 0.0f;
        std::shared_ptr<ImageFileInfo> bestMember;
        bool accepted = true;
        for (const ScoreClasses::Class &range : m_groupClasses[size_t(g)].classes()) {
            const float score = classScore(record, position, g, range, candidates, list);
            if (score < m) {
                accepted = false;
                break;
            }
            if (score > best) {
                best = score;
                bestMember = members.at(range.first);
            }
        }
        if (accepted)
            return { g, best, bestMember };
    }
    return {};
}

// The first member's score is its kind's, unless the time veto strikes between the two; the class's
// date extremes settle the veto for the others.
float DuplicateGrouper::classScore(const ImageFileInfo &record, int position, qsizetype g,
    const ScoreClasses::Class &range, const PairCandidates &candidates, const PairCandidates::List &list)
{
    const int member = m_groupPositions[size_t(g)][size_t(range.first)];
    if (member < 0)
        return -1.0f;
    const float score = PairCandidates::scoreIn(list, m_representative[size_t(member)]);
    if (score < 0.0f)
        return -1.0f;
    if (PairScore::isOutsideTimeLimit(candidates.timesAt(position), candidates.timesAt(member), m_options))
        return -1.0f;
    return std::min(score, extremesScore(record, range));
}

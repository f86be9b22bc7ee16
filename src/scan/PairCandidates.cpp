#include "scan/PairCandidates.h"

#include <algorithm>
#include <array>

#include "model/ImageFileInfo.h"
#include "scan/FingerprintSketches.h"
#include "scan/ParallelLoop.h"

namespace
{

// Records scored together against one tile of earlier records, and the word counts of a tile (one
// column a variant, 64 bytes at N = 64): a tile stays in the core's second-level cache while the
// block walks it.
constexpr int kBlock = 16;
constexpr size_t kTileColumns = 1024;
// A record meets only the records dated within its reach when they are at most this share of the
// earlier ones: gathering and sorting them costs more per pair than walking the tiles.
constexpr int kDatedShare = 8;

} // namespace

PairCandidates::PairCandidates(
    const FingerprintSketches &sketches, const PairScoreOptions &options, bool prefilter)
    : m_sketches(sketches)
    , m_options(options)
    , m_prefilter(prefilter)
    , m_allowed(PairScore::allowedDistance(options.reSizeValue, options.sliderMinValue))
    , m_columns(sketches.words(), sketches.kernel())
    , m_dates(options)
{
}

int PairCandidates::add(const ImageFileInfo &record, int slot, int kind, const RecordTimes &times)
{
    const int position = int(m_records.size());
    m_kinds.push_back(kind);
    m_records.push_back(&record);
    m_times.push_back(times);
    m_slots.push_back(slot);
    if (kind == position && m_prefilter && slot >= 0)
        m_sketchedKinds.push_back(position);
    else if (kind == position)
        m_otherKinds.push_back(position);
    m_dates.add(times, position);
    return position;
}

std::vector<PairCandidates::List> PairCandidates::score(
    int first, int end, int threads, const std::function<bool()> &stopped)
{
    m_dates.settle();
    settleColumns();
    std::vector<List> lists(size_t(std::max(0, end - first)));
    const int blocks = (end - first + kBlock - 1) / kBlock;
    runOnThreads(blocks, threads, stopped, [&](std::int64_t b) {
        const int from = first + int(b) * kBlock;
        scoreBlock(from, std::min(end, from + kBlock), lists, first);
    });
    return lists;
}

// The first records met decide whether the columns are folded, for the whole scan.
void PairCandidates::settleColumns()
{
    if (m_kindColumns.empty() && !m_sketchedKinds.empty()) {
        std::vector<std::span<const uint8_t>> sample;
        for (size_t k = 0; k < m_sketchedKinds.size() && k < SketchColumns::kFoldingSample; ++k)
            sample.push_back(m_sketches.counts(m_slots[size_t(m_sketchedKinds[k])]));
        m_columns = SketchColumns(m_sketches.words(), m_sketches.kernel(),
            SketchColumns::foldingPays(sample, m_sketches.words(), m_allowed));
    }
    for (size_t k = m_kindColumns.size(); k < m_sketchedKinds.size(); ++k) {
        const int position = m_sketchedKinds[k];
        m_kindColumns.push_back(m_columns.count());
        m_columns.append(m_sketches.counts(m_slots[size_t(position)]), position);
    }
}

void PairCandidates::scoreBlock(int first, int end, std::vector<List> &lists, int listBase) const
{
    std::vector<int> kinds;
    std::vector<bool> dated(size_t(end - first));
    for (int i = first; i < end; ++i)
        dated[size_t(i - first)] = scoreDated(i, lists[size_t(i - listBase)], kinds);
    // Tiles of the sketched kinds before the block's last record, then the other kinds; each
    // list is merged into position order at the end.
    const size_t sketched = size_t(
        std::lower_bound(m_sketchedKinds.begin(), m_sketchedKinds.end(), end - 1) - m_sketchedKinds.begin());
    std::vector<SketchColumns::Probe> probes(size_t(end - first));
    for (int i = first; i < end; ++i) {
        if (!dated[size_t(i - first)] && m_slots[size_t(i)] >= 0)
            probes[size_t(i - first)] = m_columns.probe(m_sketches.counts(m_slots[size_t(i)]));
    }
    SketchColumns::NearList near;
    std::vector<int> past;
    for (size_t tile = 0, tileEnd = 0; tile < sketched; tile = tileEnd) {
        tileEnd = std::min(sketched,
            size_t(std::lower_bound(
                       m_kindColumns.begin(), m_kindColumns.end(), m_kindColumns[tile] + kTileColumns)
                - m_kindColumns.begin()));
        // Records past the whole tile walk it together; a record inside it walks its part alone.
        past.clear();
        for (int i = std::max(first, m_sketchedKinds[tile] + 1); i < end; ++i) {
            if (dated[size_t(i - first)])
                continue;
            if (m_slots[size_t(i)] >= 0 && m_sketchedKinds[tileEnd - 1] < i)
                past.push_back(i);
            else
                scoreTile(i, probes[size_t(i - first)], tile, tileEnd, lists[size_t(i - listBase)], near);
        }
        for (size_t k = 0; k < past.size(); k += SketchColumns::kTogether)
            scoreTogether(std::span(past).subspan(k, std::min(SketchColumns::kTogether, past.size() - k)),
                probes, first, columnOf(tile), columnOf(tileEnd), lists, listBase);
    }
    for (int i = first; i < end; ++i) {
        if (dated[size_t(i - first)])
            continue;
        List &list = lists[size_t(i - listBase)];
        const auto middle = std::ptrdiff_t(list.size());
        for (auto j = m_otherKinds.begin(); j != m_otherKinds.end() && *j < i; ++j)
            scorePair(i, *j, list);
        std::inplace_merge(list.begin(), list.begin() + middle, list.end(),
            [](const Candidate &a, const Candidate &b) { return a.position < b.position; });
    }
}

void PairCandidates::scoreTile(int position, const SketchColumns::Probe &probe, size_t first, size_t end,
    List &list, SketchColumns::NearList &near) const
{
    const size_t before = size_t(std::lower_bound(m_sketchedKinds.begin() + std::ptrdiff_t(first),
                                     m_sketchedKinds.begin() + std::ptrdiff_t(end), position)
        - m_sketchedKinds.begin());
    near.clear();
    const int slot = m_slots[size_t(position)];
    if (slot >= 0)
        m_columns.appendNear(probe, columnOf(first), columnOf(before), m_allowed, near);
    else {
        for (size_t k = first; k < before; ++k)
            near.push_back({ m_sketchedKinds[k], FingerprintSketches::kAllVariants });
    }
    for (const SketchColumns::Near &n : near)
        scorePair(position, n.position, list, n.columns);
}

void PairCandidates::scoreTogether(std::span<const int> positions,
    const std::vector<SketchColumns::Probe> &probes, int first, size_t begin, size_t end,
    std::vector<List> &lists, int listBase) const
{
    std::array<SketchColumns::NearList, SketchColumns::kTogether> near;
    std::array<SketchColumns::NearList *, SketchColumns::kTogether> nearOf;
    std::array<const SketchColumns::Probe *, SketchColumns::kTogether> probeOf;
    for (size_t r = 0; r < positions.size(); ++r) {
        nearOf[r] = &near[r];
        probeOf[r] = &probes[size_t(positions[r] - first)];
    }
    m_columns.appendNear(std::span(probeOf.data(), positions.size()), begin, end, m_allowed,
        std::span(nearOf.data(), positions.size()));
    for (size_t r = 0; r < positions.size(); ++r) {
        for (const SketchColumns::Near &n : near[r])
            scorePair(positions[r], n.position, lists[size_t(positions[r] - listBase)], n.columns);
    }
}

size_t PairCandidates::columnOf(size_t index) const
{
    return index < m_kindColumns.size() ? m_kindColumns[index] : m_columns.count();
}

// A kind stands for every record of it, so it is met when any of them lies within reach.
bool PairCandidates::scoreDated(int position, List &list, std::vector<int> &kinds) const
{
    const RecordTimes &times = m_times[size_t(position)];
    if (!m_dates.narrows(times) || m_dates.reach(times, position) * kDatedShare > size_t(position))
        return false;
    kinds.clear();
    m_dates.gather(times, position, kinds);
    for (int &k : kinds)
        k = m_kinds[size_t(k)];
    std::sort(kinds.begin(), kinds.end());
    kinds.erase(std::unique(kinds.begin(), kinds.end()), kinds.end());
    for (const int k : kinds)
        scorePair(position, k, list);
    return true;
}

void PairCandidates::scorePair(int position, int earlier, List &list, std::uint8_t variants) const
{
    if (m_prefilter
        && m_sketches.ruledOut(m_slots[size_t(position)], m_slots[size_t(earlier)], m_allowed, variants))
        return;
    const RecordTimes noDates;
    const float score = PairScore::compareImages(
        *m_records[size_t(position)], noDates, *m_records[size_t(earlier)], noDates, m_options);
    if (score >= m_options.sliderMinValue)
        list.push_back({ earlier, score });
}

float PairCandidates::scoreIn(const List &list, int position)
{
    const auto found = std::lower_bound(
        list.begin(), list.end(), position, [](const Candidate &c, int p) { return c.position < p; });
    return found != list.end() && found->position == position ? found->score : -1.0f;
}

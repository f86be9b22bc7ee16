#include "scan/PairCandidates.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "scan/FingerprintSketches.h"

namespace
{

// Records scored together against one tile of earlier records, and the records of a tile: the
// sketches of a tile (about 0.5 KB a record at N = 64 with every variant) stay in the core's
// second-level cache while the block walks them.
constexpr int kBlock = 16;
constexpr int kTile = 128;

} // namespace

PairCandidates::PairCandidates(
    const FingerprintSketches &sketches, const PairScoreOptions &options, bool prefilter)
    : m_sketches(sketches)
    , m_options(options)
    , m_prefilter(prefilter)
    , m_allowed(PairScore::allowedDistance(options.reSizeValue, options.sliderMinValue))
{
}

int PairCandidates::add(const ImageFileInfo &record, int slot, bool firstOfKind)
{
    m_firstOfKind.push_back(firstOfKind);
    m_records.push_back(&record);
    m_times.push_back(RecordTimes::of(record));
    m_slots.push_back(slot);
    return int(m_records.size() - 1);
}

std::vector<PairCandidates::List> PairCandidates::score(
    int first, int end, int threads, const std::function<bool()> &stopped) const
{
    std::vector<List> lists(size_t(std::max(0, end - first)));
    const int blocks = (end - first + kBlock - 1) / kBlock;
    std::atomic<int> next { 0 };
    const auto work = [&] {
        for (int b = next++; b < blocks && !stopped(); b = next++) {
            const int from = first + b * kBlock;
            scoreBlock(from, std::min(end, from + kBlock), lists, first);
        }
    };
    std::vector<std::jthread> helpers;
    for (int t = 1; t < std::min(threads, blocks); ++t)
        helpers.emplace_back(work);
    work();
    return lists;
}

void PairCandidates::scoreBlock(int first, int end, std::vector<List> &lists, int listBase) const
{
    const float m = m_options.sliderMinValue;
    const RecordTimes noDates;
    for (int tile = 0; tile < end - 1; tile += kTile) {
        for (int i = std::max(first, tile + 1); i < end; ++i) {
            List &list = lists[size_t(i - listBase)];
            const ImageFileInfo &a = *m_records[size_t(i)];
            const int slot = m_slots[size_t(i)];
            for (int j = tile, last = std::min(i, tile + kTile); j < last; ++j) {
                if (!m_firstOfKind[size_t(j)])
                    continue;
                if (m_prefilter && m_sketches.ruledOut(slot, m_slots[size_t(j)], m_allowed))
                    continue;
                const float score
                    = PairScore::compareImages(a, noDates, *m_records[size_t(j)], noDates, m_options);
                if (score >= m)
                    list.push_back({ j, score });
            }
        }
    }
}

float PairCandidates::scoreIn(const List &list, int position)
{
    const auto found = std::lower_bound(
        list.begin(), list.end(), position, [](const Candidate &c, int p) { return c.position < p; });
    return found != list.end() && found->position == position ? found->score : -1.0f;
}

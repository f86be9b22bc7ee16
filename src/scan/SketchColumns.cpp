#include "scan/SketchColumns.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace
{

using Kernel = FingerprintSketches::Kernel;

constexpr size_t kLanes = 8;
// Groups a record's counts are held in registers for: word counts of sides up to 128.
constexpr size_t kMaxGroups = 32;

// One walk of a record over a range of columns.
struct Walk {
    const uint64_t *lanes;
    const int *positions;
    const uint8_t *places;
    size_t groups;
    const uint64_t *record;
    size_t begin;
    size_t end;
    std::int64_t allowed;
    SketchColumns::NearList *near;
};

// The lanes of `octet` that lie in [begin, end).
unsigned laneMask(size_t octet, size_t begin, size_t end)
{
    const size_t first = octet * kLanes;
    const unsigned from = begin > first ? unsigned(begin - first) : 0;
    const unsigned to = end < first + kLanes ? unsigned(end - first) : unsigned(kLanes);
    return ((1u << to) - 1) & ~((1u << from) - 1);
}

// The variants of one record sit in neighbouring columns: the record is named once, with each of
// its columns that came near.
void appendLanes(unsigned within, const Walk &w, size_t octet, SketchColumns::NearList &near)
{
    for (; within != 0; within &= within - 1) {
        const size_t column = octet * kLanes + size_t(std::countr_zero(within));
        const auto bit = uint8_t(1u << w.places[column]);
        if (!near.empty() && near.back().position == w.positions[column])
            near.back().columns |= bit;
        else
            near.push_back({ w.positions[column], bit });
    }
}

const uint64_t *octetLanes(const Walk &w, size_t octet)
{
    return w.lanes + octet * w.groups * kLanes;
}

std::int64_t laneDistance(const uint64_t *lanes, const uint64_t *record, size_t groups, size_t lane)
{
    std::int64_t sum = 0;
    for (size_t g = 0; g < groups; ++g) {
        uint8_t a[8];
        uint8_t b[8];
        std::memcpy(a, &lanes[g * kLanes + lane], 8);
        std::memcpy(b, &record[g], 8);
        for (size_t k = 0; k < 8; ++k)
            sum += std::abs(int(a[k]) - int(b[k]));
    }
    return sum;
}

void nearPlain(const Walk &w)
{
    for (size_t o = w.begin / kLanes; o * kLanes < w.end; ++o) {
        unsigned within = 0;
        for (size_t lane = 0; lane < kLanes; ++lane) {
            if (laneDistance(octetLanes(w, o), w.record, w.groups, lane) <= w.allowed)
                within |= 1u << lane;
        }
        appendLanes(within & laneMask(o, w.begin, w.end), w, o, *w.near);
    }
}

#if defined(__x86_64__)
void nearSse2(const Walk &w)
{
    __m128i record[kMaxGroups];
    for (size_t g = 0; g < w.groups; ++g)
        record[g] = _mm_set1_epi64x(static_cast<long long>(w.record[g]));
    for (size_t o = w.begin / kLanes; o * kLanes < w.end; ++o) {
        const uint64_t *lanes = octetLanes(w, o);
        __m128i sums[kLanes / 2] = {};
        for (size_t g = 0; g < w.groups; ++g) {
            for (size_t pair = 0; pair < kLanes / 2; ++pair) {
                const __m128i counts
                    = _mm_loadu_si128(reinterpret_cast<const __m128i *>(lanes + g * kLanes + pair * 2));
                sums[pair] = _mm_add_epi64(sums[pair], _mm_sad_epu8(counts, record[g]));
            }
        }
        std::int64_t each[kLanes];
        std::memcpy(each, sums, sizeof each);
        unsigned within = 0;
        for (size_t lane = 0; lane < kLanes; ++lane)
            within |= each[lane] <= w.allowed ? 1u << lane : 0u;
        appendLanes(within & laneMask(o, w.begin, w.end), w, o, *w.near);
    }
}

__attribute__((target("avx2"))) void nearAvx2(const Walk &w)
{
    __m256i record[kMaxGroups];
    for (size_t g = 0; g < w.groups; ++g)
        record[g] = _mm256_set1_epi64x(static_cast<long long>(w.record[g]));
    const __m256i limit = _mm256_set1_epi64x(w.allowed);
    for (size_t o = w.begin / kLanes; o * kLanes < w.end; ++o) {
        const auto *lanes = reinterpret_cast<const __m256i *>(octetLanes(w, o));
        __m256i low = _mm256_setzero_si256();
        __m256i high = _mm256_setzero_si256();
        for (size_t g = 0; g < w.groups; ++g) {
            low = _mm256_add_epi64(low, _mm256_sad_epu8(_mm256_loadu_si256(lanes + 2 * g), record[g]));
            high = _mm256_add_epi64(high, _mm256_sad_epu8(_mm256_loadu_si256(lanes + 2 * g + 1), record[g]));
        }
        const unsigned over
            = unsigned(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(low, limit))))
            | unsigned(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(high, limit)))) << 4;
        if (over != 0xff)
            appendLanes(~over & laneMask(o, w.begin, w.end), w, o, *w.near);
    }
}

// The compiler's own headers trip its uninitialised-use checks on these intrinsics.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
__attribute__((target("avx512bw"))) void nearAvx512(const Walk &w)
{
    __m512i record[kMaxGroups];
    for (size_t g = 0; g < w.groups; ++g)
        record[g] = _mm512_set1_epi64(static_cast<long long>(w.record[g]));
    const __m512i limit = _mm512_set1_epi64(w.allowed);
    for (size_t o = w.begin / kLanes; o * kLanes < w.end; ++o) {
        const uint64_t *lanes = octetLanes(w, o);
        __m512i sums = _mm512_setzero_si512();
        for (size_t g = 0; g < w.groups; ++g)
            sums = _mm512_add_epi64(sums, _mm512_sad_epu8(_mm512_loadu_si512(lanes + g * kLanes), record[g]));
        const unsigned within = _mm512_cmple_epi64_mask(sums, limit);
        if (within != 0)
            appendLanes(within & laneMask(o, w.begin, w.end), w, o, *w.near);
    }
}

// Records of side 64, the common one (eight groups, four when folded), over the same octets: the
// sums run unrolled from registers, and each octet's lanes are read once for all the records,
// which spares the second-level cache the reads that bound a walk of one record.
template <size_t Records, size_t kGroups>
__attribute__((target("avx512bw"))) void nearAvx512Together(const Walk *walks)
{
    const Walk &w = walks[0];
    __m512i record[Records][kGroups];
#pragma GCC unroll 32
    for (size_t r = 0; r < Records; ++r) {
#pragma GCC unroll 32
        for (size_t g = 0; g < kGroups; ++g)
            record[r][g] = _mm512_set1_epi64(static_cast<long long>(walks[r].record[g]));
    }
    const __m512i limit = _mm512_set1_epi64(w.allowed);
    for (size_t o = w.begin / kLanes; o * kLanes < w.end; ++o) {
        const uint64_t *lanes = octetLanes(w, o);
        __m512i sums[Records];
#pragma GCC unroll 32
        for (size_t r = 0; r < Records; ++r)
            sums[r] = _mm512_setzero_si512();
#pragma GCC unroll 32
        for (size_t g = 0; g < kGroups; ++g) {
            const __m512i counts = _mm512_loadu_si512(lanes + g * kLanes);
#pragma GCC unroll 32
            for (size_t r = 0; r < Records; ++r)
                sums[r] = _mm512_add_epi64(sums[r], _mm512_sad_epu8(counts, record[r][g]));
        }
#pragma GCC unroll 32
        for (size_t r = 0; r < Records; ++r) {
            const unsigned within = _mm512_cmple_epi64_mask(sums[r], limit);
            if (within != 0)
                appendLanes(within & laneMask(o, w.begin, w.end), w, o, *walks[r].near);
        }
    }
}
#pragma GCC diagnostic pop
#endif

void walk(Kernel kernel, const Walk &w)
{
#if defined(__x86_64__)
    if (w.groups <= kMaxGroups) {
        switch (kernel) {
        case Kernel::Avx512:
            return nearAvx512(w);
        case Kernel::Avx2:
            return nearAvx2(w);
        case Kernel::Sse2:
            return nearSse2(w);
        }
    }
#endif
    (void)kernel;
    nearPlain(w);
}

#if defined(__x86_64__)
template <size_t Groups> void walkAvx512Together(std::span<const Walk> walks)
{
    switch (walks.size()) {
    case 1:
        return nearAvx512Together<1, Groups>(walks.data());
    case 2:
        return nearAvx512Together<2, Groups>(walks.data());
    case 3:
        return nearAvx512Together<3, Groups>(walks.data());
    default:
        return nearAvx512Together<4, Groups>(walks.data());
    }
}
#endif

// Walks that share their columns and range.
void walkTogether(Kernel kernel, std::span<const Walk> walks)
{
#if defined(__x86_64__)
    static_assert(SketchColumns::kTogether == 4);
    if (kernel == Kernel::Avx512 && walks.front().groups == 4)
        return walkAvx512Together<4>(walks);
    if (kernel == Kernel::Avx512 && walks.front().groups == 8)
        return walkAvx512Together<8>(walks);
#endif
    for (const Walk &w : walks)
        walk(kernel, w);
}

// Eight counts from `counts` (zeros past its end) as one lane.
uint64_t laneOf(std::span<const uint8_t> counts, size_t first)
{
    uint8_t bytes[8] = {};
    if (first < counts.size())
        std::memcpy(bytes, counts.data() + first, std::min<size_t>(8, counts.size() - first));
    uint64_t lane;
    std::memcpy(&lane, bytes, 8);
    return lane;
}

// A column's values: its word counts, or those of neighbouring words added up (at most 128 each)
// with a word left alone at an odd end.
std::vector<uint8_t> valuesOf(std::span<const uint8_t> counts, bool folded)
{
    if (!folded)
        return { counts.begin(), counts.end() };
    std::vector<uint8_t> sums((counts.size() + 1) / 2);
    for (size_t i = 0; i < counts.size(); ++i)
        sums[i / 2] = uint8_t(sums[i / 2] + counts[i]);
    return sums;
}

std::int64_t valueDistance(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    std::int64_t sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum;
}

// The share of the sampled pairs (one in this many) that folding may let through on top of the
// ones the full counts keep: each costs a look at the full counts, about what folding saves on
// fifty others.
constexpr size_t kFoldingExtraShare = 50;

} // namespace

SketchColumns::SketchColumns(size_t words, FingerprintSketches::Kernel kernel, bool folded)
    : m_words(words)
    , m_folded(folded && words > 1)
    , m_groups(((m_folded ? (words + 1) / 2 : words) + 7) / 8)
    , m_kernel(FingerprintSketches::runs(kernel) ? kernel : Kernel::Sse2)
{
}

void SketchColumns::append(std::span<const uint8_t> counts, int position)
{
    for (size_t first = 0, place = 0; m_words > 0 && first + m_words <= counts.size();
         first += m_words, ++place) {
        const size_t column = m_positions.size();
        if (column % kLanes == 0)
            m_lanes.resize(m_lanes.size() + m_groups * kLanes, 0);
        uint64_t *octet = m_lanes.data() + column / kLanes * m_groups * kLanes;
        const std::vector<uint8_t> values = valuesOf(counts.subspan(first, m_words), m_folded);
        for (size_t g = 0; g < m_groups; ++g)
            octet[g * kLanes + column % kLanes] = laneOf(values, g * 8);
        m_positions.push_back(position);
        m_places.push_back(uint8_t(place));
    }
}

SketchColumns::Probe SketchColumns::probe(std::span<const uint8_t> record) const
{
    Probe lanes(m_groups);
    if (record.size() < m_words)
        return lanes;
    const std::vector<uint8_t> values = valuesOf(record.first(m_words), m_folded);
    for (size_t g = 0; g < m_groups; ++g)
        lanes[g] = laneOf(values, g * 8);
    return lanes;
}

bool SketchColumns::foldingPays(
    std::span<const std::span<const uint8_t>> records, size_t words, std::int64_t allowed)
{
    if (words < 2)
        return false;
    size_t pairs = 0;
    size_t extra = 0;
    const size_t sample = std::min(records.size(), kFoldingSample);
    for (size_t i = 0; i < sample; ++i) {
        const std::span<const uint8_t> first = records[i].first(std::min(words, records[i].size()));
        const std::vector<uint8_t> firstFolded = valuesOf(first, true);
        for (size_t j = 0; j < i; ++j, ++pairs) {
            bool full = false;
            bool folded = false;
            for (size_t k = 0; k + words <= records[j].size() && !full; k += words) {
                const std::span<const uint8_t> variant = records[j].subspan(k, words);
                full = valueDistance(first, variant) <= allowed;
                folded = folded || valueDistance(firstFolded, valuesOf(variant, true)) <= allowed;
            }
            extra += folded && !full ? 1 : 0;
        }
    }
    return pairs > 0 && extra * kFoldingExtraShare <= pairs;
}

void SketchColumns::appendNear(
    const Probe &record, size_t begin, size_t end, std::int64_t allowed, NearList &near) const
{
    const Probe *const records[] = { &record };
    NearList *const lists[] = { &near };
    appendNear(records, begin, end, allowed, lists);
}

void SketchColumns::appendNear(std::span<const Probe *const> records, size_t begin, size_t end,
    std::int64_t allowed, std::span<NearList *const> near) const
{
    end = std::min(end, count());
    if (begin >= end || records.empty() || records.size() != near.size() || records.size() > kTogether)
        return;
    std::array<Walk, kTogether> walks;
    for (size_t r = 0; r < records.size(); ++r) {
        if (records[r]->size() != m_groups)
            return;
        walks[r] = { m_lanes.data(), m_positions.data(), m_places.data(), m_groups, records[r]->data(), begin,
            end, allowed, near[r] };
    }
    walkTogether(m_kernel, std::span(walks.data(), records.size()));
}

#include "scan/FingerprintSketches.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "model/FingerprintWords.h"
#include "model/ImageFileInfo.h"

namespace
{

using Member = FingerprintSketches::Member;

// Sum of |a[i] - b[i]|, stopped once it exceeds `limit` (checked every 64 bytes).
std::int64_t boundedByteDistance(const uint8_t *a, const uint8_t *b, size_t n, std::int64_t limit)
{
    std::int64_t sum = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const size_t whole = n - n % 16;
    while (i < whole) {
        __m128i acc = _mm_setzero_si128();
        for (const size_t end = std::min(whole, i + 64); i < end; i += 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a + i));
            const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i));
            acc = _mm_add_epi64(acc, _mm_sad_epu8(x, y));
        }
        sum += _mm_cvtsi128_si64(acc) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(acc, acc));
        if (sum > limit)
            return sum;
    }
#endif
    for (; i < n; ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum;
}

// Appends the position of every member some variant of which lies within `allowed` by `distance`.
template <std::int64_t (*distance)(const uint8_t *, const uint8_t *, size_t, std::int64_t)>
void appendNearBy(const uint8_t *counts, const uint8_t *record, size_t n, std::span<const Member> members,
    std::int64_t allowed, std::vector<int> &near)
{
    for (const Member &m : members) {
        for (int k = 0; k < m.variants; ++k) {
            if (distance(record, counts + m.offset + size_t(k) * n, n, allowed) <= allowed) {
                near.push_back(m.position);
                break;
            }
        }
    }
}

#if defined(__x86_64__)
// The whole sum, 32 or 64 bytes at a time (the limit is not needed for so few bytes).
__attribute__((target("avx2"))) std::int64_t byteDistanceAvx2(
    const uint8_t *a, const uint8_t *b, size_t n, std::int64_t)
{
    __m256i acc = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        acc = _mm256_add_epi64(acc,
            _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(a + i)),
                _mm256_loadu_si256(reinterpret_cast<const __m256i *>(b + i))));
    }
    const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
    std::int64_t sum = _mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1);
    for (; i < n; ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum;
}

// The compiler's own headers trip its uninitialised-use checks on these intrinsics.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
__attribute__((target("avx512bw"))) __mmask64 lastChunk(size_t n)
{
    return n % 64 == 0 ? ~__mmask64(0) : (__mmask64(1) << (n % 64)) - 1;
}

__attribute__((target("avx512bw"))) std::int64_t sumOfLanes(__m512i sums)
{
    const __m256i quarters = _mm256_add_epi64(_mm512_castsi512_si256(sums),
        _mm512_castsi512_si256(_mm512_shuffle_i64x2(sums, sums, _MM_SHUFFLE(3, 2, 3, 2))));
    const __m128i half
        = _mm_add_epi64(_mm256_castsi256_si128(quarters), _mm256_extracti128_si256(quarters, 1));
    return _mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1);
}

__attribute__((target("avx512bw"))) std::int64_t byteDistanceAvx512(
    const uint8_t *a, const uint8_t *b, size_t n, std::int64_t)
{
    __m512i sums = _mm512_setzero_si512();
    for (size_t i = 0; i < n; i += 64) {
        const __mmask64 lanes = i + 64 <= n ? ~__mmask64(0) : lastChunk(n);
        sums = _mm512_add_epi64(sums,
            _mm512_sad_epu8(_mm512_maskz_loadu_epi8(lanes, a + i), _mm512_maskz_loadu_epi8(lanes, b + i)));
    }
    return sumOfLanes(sums);
}

// Lane k: the sum of a's lanes for k even, of b's for k odd, within each 128-bit block.
__attribute__((target("avx512bw"))) __m512i blockSums(__m512i a, __m512i b)
{
    return _mm512_add_epi64(_mm512_unpacklo_epi64(a, b), _mm512_unpackhi_epi64(a, b));
}

// Adds blocks 0 + 1 and 2 + 3 of a, then of b, into four blocks.
__attribute__((target("avx512bw"))) __m512i foldBlocks(__m512i a, __m512i b)
{
    return _mm512_add_epi64(_mm512_shuffle_i64x2(a, b, _MM_SHUFFLE(2, 0, 2, 0)),
        _mm512_shuffle_i64x2(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
}

// Lane k: the sum of s[k]'s lanes, for eight registers of sums at once.
__attribute__((target("avx512bw"))) __m512i foldedSums(const __m512i *s)
{
    return foldBlocks(foldBlocks(blockSums(s[0], s[1]), blockSums(s[2], s[3])),
        foldBlocks(blockSums(s[4], s[5]), blockSums(s[6], s[7])));
}

// Eight members of one variant each and counts of at most 64 bytes: their eight sums are folded
// into the lanes of one register and compared at once.
__attribute__((target("avx512bw"))) void appendNearOfEight(const uint8_t *counts, __m512i record,
    __mmask64 last, const Member *m, std::int64_t allowed, std::vector<int> &near)
{
    __m512i s[8];
    for (int k = 0; k < 8; ++k)
        s[k] = _mm512_sad_epu8(record, _mm512_maskz_loadu_epi8(last, counts + m[k].offset));
    for (unsigned within = _mm512_cmple_epi64_mask(foldedSums(s), _mm512_set1_epi64(allowed)); within != 0;
         within &= within - 1)
        near.push_back(m[std::countr_zero(within)].position);
}

// Member by member; the eight variants of a member with all of them go through one fold.
__attribute__((target("avx512bw"))) void appendNearEach(const uint8_t *counts, const uint8_t *record,
    __m512i first, __mmask64 last, size_t n, std::span<const Member> members, std::int64_t allowed,
    std::vector<int> &near)
{
    for (const Member &m : members) {
        if (n > 64 || m.variants != 8) {
            appendNearBy<byteDistanceAvx512>(counts, record, n, std::span(&m, 1), allowed, near);
            continue;
        }
        __m512i s[8];
        for (size_t k = 0; k < 8; ++k)
            s[k] = _mm512_sad_epu8(first, _mm512_maskz_loadu_epi8(last, counts + m.offset + k * n));
        if (_mm512_cmple_epi64_mask(foldedSums(s), _mm512_set1_epi64(allowed)) != 0)
            near.push_back(m.position);
    }
}

__attribute__((target("avx512bw"))) void appendNearAvx512(const uint8_t *counts, const uint8_t *record,
    size_t n, std::span<const Member> members, std::int64_t allowed, std::vector<int> &near)
{
    const __mmask64 last = lastChunk(n);
    const __m512i first = _mm512_maskz_loadu_epi8(last, record);
    size_t i = 0;
    for (; n <= 64 && i + 8 <= members.size(); i += 8) {
        const std::span<const Member> eight = members.subspan(i, 8);
        if (std::all_of(eight.begin(), eight.end(), [](const Member &m) { return m.variants == 1; }))
            appendNearOfEight(counts, first, last, eight.data(), allowed, near);
        else
            appendNearEach(counts, record, first, last, n, eight, allowed, near);
    }
    appendNearEach(counts, record, first, last, n, members.subspan(i), allowed, near);
}
#pragma GCC diagnostic pop
#endif

} // namespace

FingerprintSketches::FingerprintSketches(const PairScoreOptions &options, Kernel kernel)
    : m_options(options)
    , m_kernel(runs(kernel) ? kernel : Kernel::Sse2)
    , m_words(size_t(std::int64_t(options.reSizeValue) * options.reSizeValue / 64))
    , m_prefixWords(std::min(m_words,
          size_t(PairScore::allowedDistance(options.reSizeValue, options.sliderMinValue) * 5 / (4 * 32) + 4)))
{
}

bool FingerprintSketches::allowedVariants(int count, Slot &slot) const
{
    slot.variantCount = 0;
    const bool exact = m_options.compareType == GlobalObjects::CompareType::ctMD5;
    for (int i = 0; i < (exact ? std::min(count, 1) : count); ++i) {
        if (!PairScore::isVariantTried(i, m_options))
            continue;
        if (slot.variantCount == kMaxVariants)
            return false;
        slot.variants[slot.variantCount++] = std::uint8_t(i);
    }
    return true;
}

void FingerprintSketches::reserve(size_t records)
{
    Slot slot {};
    if (!allowedVariants(kMaxVariants, slot))
        return;
    const size_t variants = records * slot.variantCount;
    m_counts.reserve(m_counts.size() + variants * m_words);
    m_prefixes.reserve(m_prefixes.size() + variants * m_prefixWords);
    m_slots.reserve(m_slots.size() + records);
}

int FingerprintSketches::add(const ImageFileInfo &record)
{
    const FingerprintVariants &v = record.arrHashOfRotateFlipImages;
    if (v.isEmpty() || m_options.reSizeValue <= 0)
        return kNoFingerprint;
    if (v.wordsPerPiece() != m_words || m_words == 0)
        return kIrregular;
    Slot slot { &record, m_counts.size(), m_prefixes.size(), {}, 0 };
    if (!allowedVariants(v.count(), slot))
        return kIrregular;
    for (int k = 0; k < slot.variantCount; ++k) {
        const std::span<const uint64_t> words = v.words(slot.variants[size_t(k)]);
        FingerprintWords::appendWordCounts(words, m_counts);
        m_prefixes.insert(m_prefixes.end(), words.begin(), words.begin() + std::ptrdiff_t(m_prefixWords));
    }
    m_slots.push_back(slot);
    return int(m_slots.size() - 1);
}

bool FingerprintSketches::ruledOut(int recordSlot, int memberSlot, std::int64_t allowed) const
{
    if (recordSlot == kNoFingerprint || memberSlot == kNoFingerprint)
        return true;
    if (recordSlot < 0 || memberSlot < 0)
        return false;
    const Slot &a = m_slots[size_t(recordSlot)];
    const Slot &b = m_slots[size_t(memberSlot)];
    const uint8_t *first = m_counts.data() + a.offset;
    const uint64_t *firstPrefix = m_prefixes.data() + a.prefixOffset;
    for (size_t k = 0; k < b.variantCount; ++k) {
        const uint8_t *counts = m_counts.data() + b.offset + k * m_words;
        if (boundedByteDistance(first, counts, m_words, allowed) > allowed)
            continue;
        const uint64_t *prefix = m_prefixes.data() + b.prefixOffset + k * m_prefixWords;
        if (FingerprintWords::boundedDistance(firstPrefix, prefix, m_prefixWords, allowed) > allowed)
            continue;
        // The records themselves are reached only by the few pairs the sketches leave.
        const uint64_t *firstWords = a.record->arrHashOfRotateFlipImages.words(0).data();
        const uint64_t *words = b.record->arrHashOfRotateFlipImages.words(b.variants[k]).data();
        if (FingerprintWords::boundedDistance(firstWords, words, m_words, allowed) <= allowed)
            return false;
    }
    return true;
}

FingerprintSketches::Kernel FingerprintSketches::fastest()
{
    return runs(Kernel::Avx512) ? Kernel::Avx512 : runs(Kernel::Avx2) ? Kernel::Avx2 : Kernel::Sse2;
}

bool FingerprintSketches::runs(Kernel kernel)
{
#if defined(__x86_64__)
    switch (kernel) {
    case Kernel::Avx512:
        return __builtin_cpu_supports("avx512bw");
    case Kernel::Avx2:
        return __builtin_cpu_supports("avx2");
    case Kernel::Sse2:
        return true;
    }
#endif
    return kernel == Kernel::Sse2;
}

FingerprintSketches::Member FingerprintSketches::member(int slot, int position) const
{
    const Slot &s = m_slots[size_t(slot)];
    return { s.offset, s.variantCount, position };
}

void FingerprintSketches::appendNear(
    int recordSlot, std::span<const Member> members, std::int64_t allowed, std::vector<int> &near) const
{
    const uint8_t *record = m_counts.data() + m_slots[size_t(recordSlot)].offset;
#if defined(__x86_64__)
    if (m_kernel == Kernel::Avx512)
        return appendNearAvx512(m_counts.data(), record, m_words, members, allowed, near);
    if (m_kernel == Kernel::Avx2)
        return appendNearBy<byteDistanceAvx2>(m_counts.data(), record, m_words, members, allowed, near);
#endif
    appendNearBy<boundedByteDistance>(m_counts.data(), record, m_words, members, allowed, near);
}

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

#if defined(__x86_64__)
// The same sum on wider registers, chosen at run time where the processor has them. Each stops at
// the first multiple of 64 bytes past the limit, so all say alike whether the sum exceeds it.
__attribute__((target("avx2"))) std::int64_t boundedByteDistanceAvx2(
    const uint8_t *a, const uint8_t *b, size_t n, std::int64_t limit)
{
    std::int64_t sum = 0;
    size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m256i low = _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(a + i)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i *>(b + i)));
        const __m256i high = _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(a + i + 32)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i *>(b + i + 32)));
        const __m256i both = _mm256_add_epi64(low, high);
        const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(both), _mm256_extracti128_si256(both, 1));
        sum += _mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1);
        if (sum > limit)
            return sum;
    }
    return sum + boundedByteDistance(a + i, b + i, n - i, limit - sum);
}

// The compiler's own headers trip its uninitialised-use check on these intrinsics.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
__attribute__((target("avx512bw"))) std::int64_t boundedByteDistanceAvx512(
    const uint8_t *a, const uint8_t *b, size_t n, std::int64_t limit)
{
    std::int64_t sum = 0;
    for (size_t i = 0; i < n; i += 64) {
        const __mmask64 lanes = n - i >= 64 ? ~__mmask64(0) : (__mmask64(1) << (n - i)) - 1;
        const __m512i x = _mm512_maskz_loadu_epi8(lanes, a + i);
        const __m512i y = _mm512_maskz_loadu_epi8(lanes, b + i);
        const __m512i sums = _mm512_sad_epu8(x, y);
        const __m256i quarters = _mm256_add_epi64(_mm512_castsi512_si256(sums),
            _mm512_castsi512_si256(_mm512_shuffle_i64x2(sums, sums, _MM_SHUFFLE(3, 2, 3, 2))));
        const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(quarters), _mm256_extracti128_si256(quarters, 1));
        sum += _mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1);
        if (sum > limit)
            return sum;
    }
    return sum;
}
#pragma GCC diagnostic pop
#endif

FingerprintSketches::ByteDistance chosenByteDistance()
{
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx512bw"))
        return boundedByteDistanceAvx512;
    if (__builtin_cpu_supports("avx2"))
        return boundedByteDistanceAvx2;
#endif
    return boundedByteDistance;
}

} // namespace

FingerprintSketches::FingerprintSketches(const PairScoreOptions &options)
    : m_options(options)
    , m_byteDistance(chosenByteDistance())
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
        if (m_byteDistance(first, counts, m_words, allowed) > allowed)
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

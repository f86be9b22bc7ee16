#include "scan/FingerprintSketches.h"

#include <algorithm>
#include <cstdlib>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "model/FingerprintWords.h"
#include "model/ImageFileInfo.h"

namespace
{

// Sum of |a[i] - b[i]|, stopped once it exceeds `limit` (checked every 64 bytes). Inlined into the
// pair check, which calls it for every variant of every pair.
__attribute__((always_inline)) inline std::int64_t boundedByteDistance(
    const uint8_t *a, const uint8_t *b, size_t n, std::int64_t limit)
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

} // namespace

FingerprintSketches::FingerprintSketches(const PairScoreOptions &options, Kernel kernel)
    : m_options(options)
    , m_kernel(runs(kernel) ? kernel : Kernel::Sse2)
    , m_words(size_t(std::int64_t(options.reSizeValue) * options.reSizeValue / 64))
    , m_allowed(PairScore::allowedDistance(options.reSizeValue, options.sliderMinValue))
    , m_prefixWords(std::min(m_words, size_t(m_allowed * 5 / (4 * 32) + 4)))
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
    m_slots.reserve(m_slots.size() + records);
    m_reserved = m_slots.size() + records;
    reservePrefixes(std::min(records, kPrefixSample));
}

void FingerprintSketches::reservePrefixes(size_t records)
{
    Slot slot {};
    if (m_copyPrefixes && allowedVariants(kMaxVariants, slot))
        m_prefixes.reserve(m_prefixes.size() + records * slot.variantCount * m_prefixWords);
}

bool FingerprintSketches::countsLeaveMany() const
{
    size_t pairs = 0;
    size_t left = 0;
    for (size_t i = 0; i < m_slots.size(); ++i) {
        const uint8_t *first = m_counts.data() + m_slots[i].offset;
        for (size_t j = 0; j < i; ++j, ++pairs) {
            const Slot &b = m_slots[j];
            for (size_t k = 0; k < b.variantCount; ++k) {
                const uint8_t *counts = m_counts.data() + b.offset + k * m_words;
                if (boundedByteDistance(first, counts, m_words, m_allowed) <= m_allowed) {
                    ++left;
                    break;
                }
            }
        }
    }
    return left * kPrefixShare > pairs;
}

int FingerprintSketches::add(const ImageFileInfo &record)
{
    const FingerprintVariants &v = record.arrHashOfRotateFlipImages;
    if (v.isEmpty() || m_options.reSizeValue <= 0)
        return kNoFingerprint;
    if (v.wordsPerPiece() != m_words || m_words == 0)
        return kIrregular;
    Slot slot { v.heldWords().data(), m_counts.size(), m_copyPrefixes ? m_prefixes.size() : kNoPrefix, {},
        0 };
    if (!allowedVariants(v.count(), slot))
        return kIrregular;
    for (int k = 0; k < slot.variantCount; ++k) {
        const std::span<const uint64_t> words = v.words(slot.variants[size_t(k)]);
        FingerprintWords::appendWordCounts(words, m_counts);
        if (m_copyPrefixes)
            m_prefixes.insert(m_prefixes.end(), words.begin(), words.begin() + std::ptrdiff_t(m_prefixWords));
    }
    m_slots.push_back(slot);
    if (m_slots.size() == kPrefixSample) {
        m_copyPrefixes = countsLeaveMany();
        if (m_copyPrefixes)
            reservePrefixes(m_reserved > m_slots.size() ? m_reserved - m_slots.size() : 0);
    }
    return int(m_slots.size() - 1);
}

bool FingerprintSketches::ruledOut(
    int recordSlot, int memberSlot, std::int64_t allowed, std::uint8_t variants) const
{
    if (recordSlot == kNoFingerprint || memberSlot == kNoFingerprint)
        return true;
    if (recordSlot < 0 || memberSlot < 0)
        return false;
    const Slot &a = m_slots[size_t(recordSlot)];
    const Slot &b = m_slots[size_t(memberSlot)];
    const uint8_t *first = m_counts.data() + a.offset;
    const bool prefixes = a.prefixOffset != kNoPrefix && b.prefixOffset != kNoPrefix;
    const uint64_t *firstPrefix = prefixes ? m_prefixes.data() + a.prefixOffset : nullptr;
    const uint64_t *prefix = prefixes ? m_prefixes.data() + b.prefixOffset : nullptr;
    for (size_t k = 0; k < b.variantCount; ++k) {
        if ((variants >> k & 1u) == 0)
            continue;
        const uint8_t *counts = m_counts.data() + b.offset + k * m_words;
        if (boundedByteDistance(first, counts, m_words, allowed) > allowed)
            continue;
        if (prefixes
            && FingerprintWords::boundedDistance(
                   firstPrefix, prefix + k * m_prefixWords, m_prefixWords, allowed)
                > allowed)
            continue;
        // The fingerprints themselves are reached only by the pairs the counts leave; two
        // unrelated ones pass the allowed distance within their first few words.
        const uint64_t *words = b.words + size_t(b.variants[k]) * m_words;
        if (FingerprintWords::boundedDistance(a.words, words, m_words, allowed) <= allowed)
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

std::span<const uint8_t> FingerprintSketches::counts(int slot) const
{
    const Slot &s = m_slots[size_t(slot)];
    return std::span(m_counts).subspan(s.offset, size_t(s.variantCount) * m_words);
}

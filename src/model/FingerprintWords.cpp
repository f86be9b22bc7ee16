// Word view and early-stopping Hamming distance of packed fingerprints.
#include "model/FingerprintWords.h"

#include <bit>
#include <cstring>

namespace
{

// Compiled twice: with the processor's population-count instruction and without it; the loader
// picks the first at start-up where the processor has it. Both give the same numbers.
__attribute__((target_clones("popcnt", "default"))) int64_t boundedDistanceKernel(
    const uint64_t *a, const uint64_t *b, size_t words, int64_t allowed)
{
    int64_t d = 0;
    size_t k = 0;
    // Four words at a time; when a block would pass the limit, walk it word by word so the
    // result is exactly the sum at which a word-by-word loop would have stopped.
    for (; k + 4 <= words; k += 4) {
        const int64_t s0 = __builtin_popcountll(a[k] ^ b[k]);
        const int64_t s1 = __builtin_popcountll(a[k + 1] ^ b[k + 1]);
        const int64_t s2 = __builtin_popcountll(a[k + 2] ^ b[k + 2]);
        const int64_t s3 = __builtin_popcountll(a[k + 3] ^ b[k + 3]);
        if (d + s0 + s1 + s2 + s3 > allowed) {
            if ((d += s0) > allowed)
                return d;
            if ((d += s1) > allowed)
                return d;
            if ((d += s2) > allowed)
                return d;
            return d + s3;
        }
        d += s0 + s1 + s2 + s3;
    }
    for (; k < words; ++k) {
        d += __builtin_popcountll(a[k] ^ b[k]);
        if (d > allowed)
            return d;
    }
    return d;
}

__attribute__((target_clones("popcnt", "default"))) void wordCountsKernel(
    const uint64_t *words, size_t count, uint8_t *out)
{
    for (size_t i = 0; i < count; ++i)
        out[i] = uint8_t(__builtin_popcountll(words[i]));
}

} // namespace

void FingerprintWords::appendWordCounts(std::span<const uint64_t> words, std::vector<uint8_t> &out)
{
    const size_t start = out.size();
    out.resize(start + words.size());
    wordCountsKernel(words.data(), words.size(), out.data() + start);
}

void FingerprintWords::appendWordView(std::span<const uint8_t> packed, std::vector<uint64_t> &out)
{
    const size_t words = packed.size() / 8;
    out.reserve(out.size() + words);
    // The first byte is the word's most significant: a byte swap of the bytes as they lie on a
    // little-endian machine.
    for (size_t i = 0; i < words; ++i) {
        uint64_t word = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&word, packed.data() + 8 * i, 8);
            word = __builtin_bswap64(word);
        } else {
            for (size_t j = 0; j < 8; ++j)
                word = (word << 8) | packed[8 * i + j];
        }
        out.push_back(word);
    }
}

std::vector<uint64_t> FingerprintWords::wordView(std::span<const uint8_t> packed)
{
    std::vector<uint64_t> words;
    appendWordView(packed, words);
    return words;
}

int64_t FingerprintWords::boundedDistance(const uint64_t *a, const uint64_t *b, size_t words, int64_t allowed)
{
    return boundedDistanceKernel(a, b, words, allowed);
}

// The word view of a packed fingerprint and the Hamming distance over it: the inner loop of the
// whole comparison, so nothing here allocates.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class FingerprintWords
{
public:
    // Word i is bytes 8i..8i+7 read big-endian, so bit k of the fingerprint is bit 63 - (k mod 64)
    // of word k / 64. A trailing part shorter than a word is not part of the view.
    static std::vector<uint64_t> wordView(std::span<const uint8_t> packed);
    static void appendWordView(std::span<const uint8_t> packed, std::vector<uint64_t> &out);

    static int numberOfSetBits(uint64_t word) { return std::popcount(word); }
    // Appends the number of set bits of every word, one byte each.
    static void appendWordCounts(std::span<const uint64_t> words, std::vector<uint8_t> &out);

    // Running population count of a XOR b, word by word from word 0, stopping as soon as the sum
    // exceeds `allowed` (tested after each word). Returns the sum where it stopped, so a caller
    // that gets a value above `allowed` holds the partial sum, not the full distance.
    static int64_t boundedDistance(const uint64_t *a, const uint64_t *b, size_t words, int64_t allowed);
};

// Compact sketches of the records' fingerprints that rule out most non-matching pairs without
// touching the fingerprints: the population count of each 64-bit word of every allowed variant.
// The Hamming distance of two fingerprints is at least the sum of the differences of their word
// counts, so a pair whose sum already exceeds the allowed distance cannot match. The sketches of a
// whole scan are small and stored back to back, so the first-fit walk streams through them.
// Pairs the counts leave are measured on the records' own words, read in place and given up as
// soon as the running distance passes the allowed one. Pictures without structure (noise) have
// word counts too alike to rule much out; when the first records show that, a copy of the first
// words of each variant, back to back, gives a partial distance that already exceeds the allowed
// one for almost every pair without reaching into the records. Photos with structure skip that
// copy, so their fingerprints are held once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "scan/PairScore.h"

class ImageFileInfo;

class FingerprintSketches
{
public:
    // The word counts are compared on the processor's vector registers: 16, 32 or 64 bytes at a
    // time. All kernels keep and rule out the same pairs; tests can ask for any that runs here.
    enum class Kernel { Sse2, Avx2, Avx512 };
    static Kernel fastest();
    static bool runs(Kernel kernel);

    // The record has no fingerprint: no pair with it can match.
    static constexpr int kNoFingerprint = -1;
    // The fingerprint has another length than the scan's: only the full comparison can tell.
    static constexpr int kIrregular = -2;

    explicit FingerprintSketches(const PairScoreOptions &options, Kernel kernel = fastest());

    // Room for the sketches of `records` records with every variant, so that the sketches of a
    // scan are allocated once instead of growing (and briefly held twice) record by record.
    void reserve(size_t records);
    // Sketches `record`'s allowed variants; returns its slot or one of the two codes above.
    int add(const ImageFileInfo &record);
    // True when no allowed variant of the member lies within `allowed` bits of the record's
    // variant 0, which makes the pair score fall below the grouping threshold. Only the variants
    // in `variants` are looked at (bit k: the k-th allowed one), when the others are known to lie
    // further.
    static constexpr std::uint8_t kAllVariants = 0xff;
    bool ruledOut(
        int recordSlot, int memberSlot, std::int64_t allowed, std::uint8_t variants = kAllVariants) const;

    // The word counts of a slot (>= 0): those of each allowed variant, the record's own first.
    std::span<const uint8_t> counts(int slot) const;
    size_t words() const { return m_words; }
    Kernel kernel() const { return m_kernel; }

private:
    // More variants than a record ever has are left to the full comparison.
    static constexpr int kMaxVariants = 8;

    // Kept small and inline: the parallel comparison walks every slot for every record.
    struct Slot {
        // The record's variants, back to back.
        const uint64_t *words;
        size_t offset;
        // kNoPrefix when the slot's first words were not copied.
        size_t prefixOffset;
        std::array<std::uint8_t, kMaxVariants> variants;
        std::uint8_t variantCount;
    };

    static constexpr size_t kNoPrefix = SIZE_MAX;
    // Slots sketched with their first words copied before the copy is kept or given up.
    static constexpr size_t kPrefixSample = 64;
    // One pair in this many of the sample left by the counts makes the copy pay.
    static constexpr size_t kPrefixShare = 8;

    // False when the record has more variants than a slot holds.
    bool allowedVariants(int count, Slot &slot) const;
    // True when the counts of the sampled slots leave many of their pairs.
    bool countsLeaveMany() const;
    void reservePrefixes(size_t records);

    PairScoreOptions m_options;
    Kernel m_kernel;
    size_t m_words;
    std::int64_t m_allowed;
    // Words of each variant kept in the prefix copy: enough that two unrelated fingerprints
    // (half their bits differ) almost surely pass the allowed distance within them.
    size_t m_prefixWords;
    bool m_copyPrefixes = true;
    size_t m_reserved = 0;
    std::vector<uint8_t> m_counts;
    std::vector<uint64_t> m_prefixes;
    std::vector<Slot> m_slots;
};

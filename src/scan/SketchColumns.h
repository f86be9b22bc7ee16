// The word counts of the records met in the parallel comparison, laid out so that one record is
// checked against eight of them in one register without folding any sums. A column is one
// variant of one record. Eight columns make an octet; an octet stores each group of eight word
// counts as eight 8-byte lanes, column j in lane j, so a single sum of absolute byte differences
// against the record's group (repeated in every lane) adds that group's differences to each
// column's own lane. The columns are appended in the order the records are met, so the positions
// found come out in that order.
// Folded columns hold the counts of neighbouring words added up: half the bytes to walk, and
// still a lower bound of the distance (the sum of two differences is at most the sum of their
// sizes), but a weaker one; the full counts then decide the pairs it lets through.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "scan/FingerprintSketches.h"

class SketchColumns
{
public:
    // `words` word counts per variant.
    explicit SketchColumns(size_t words, FingerprintSketches::Kernel kernel = FingerprintSketches::fastest(),
        bool folded = false);

    // True when folded columns let few pairs of these records through that the full counts rule
    // out. `records` holds each record's word counts, variant after variant, its own first: on
    // pictures whose neighbouring words balance each other the folded bound keeps almost every
    // pair.
    static bool foldingPays(
        std::span<const std::span<const uint8_t>> records, size_t words, std::int64_t allowed);
    // Records whose pairs `foldingPays` looks at: the first this many.
    static constexpr size_t kFoldingSample = 64;

    // Appends one column per variant of the record met as `position`: `counts` holds the word
    // counts of its variants one after another.
    void append(std::span<const uint8_t> counts, int position);
    size_t count() const { return m_positions.size(); }

    // A record some of whose columns came near, and which: bit k for its k-th column, the k-th of
    // the variants whose counts it was appended with.
    struct Near {
        int position;
        std::uint8_t columns;
        bool operator==(const Near &) const = default;
    };
    using NearList = std::vector<Near>;

    // A record's first `words` counts laid out as one column's lanes, made once for many ranges.
    using Probe = std::vector<uint64_t>;
    Probe probe(std::span<const uint8_t> record) const;

    // Appends to `near`, in order and once each, the records with columns in [begin, end) that lie
    // within `allowed` of the probed record, summing absolute differences.
    void appendNear(
        const Probe &record, size_t begin, size_t end, std::int64_t allowed, NearList &near) const;
    // The same for up to kTogether records over one range, each into its own list: the columns
    // are read once for all of them.
    static constexpr size_t kTogether = 4;
    void appendNear(std::span<const Probe *const> records, size_t begin, size_t end, std::int64_t allowed,
        std::span<NearList *const> near) const;

private:
    size_t m_words;
    bool m_folded;
    size_t m_groups;
    FingerprintSketches::Kernel m_kernel;
    // Octet after octet; within one, group after group of eight lanes.
    std::vector<uint64_t> m_lanes;
    std::vector<int> m_positions;
    // Each column's place among its record's columns.
    std::vector<std::uint8_t> m_places;
};

// The word-count check of every kernel the processor runs: each keeps exactly the members some
// allowed variant of which lies within the allowed sum of word-count differences, and never one
// that the pair-by-pair check rules out less than.
#include <algorithm>
#include <array>
#include <bit>
#include <random>

#include <gtest/gtest.h>

#include "model/ImageFileInfo.h"
#include "scan/FingerprintSketches.h"
#include "scan/SketchColumns.h"
#include "support/PictureLikeBits.h"

namespace
{

using Kernel = FingerprintSketches::Kernel;
using Variants = std::vector<std::vector<uint8_t>>;

// Photos like real ones; every second an altered copy of an earlier one (up to a quarter of its
// bits flipped, so that count differences fall on both sides of the limit), every fifth with one
// variant. `noise`: pictures without structure, every word half set.
std::vector<std::shared_ptr<ImageFileInfo>> makeRecords(int n, int count, bool noise = false)
{
    std::mt19937 random { std::uint32_t(n) };
    std::vector<Variants> made;
    std::vector<std::shared_ptr<ImageFileInfo>> records;
    for (int i = 0; i < count; ++i) {
        Variants variants;
        for (int v = 0; v < (i % 5 == 0 ? 1 : 8); ++v) {
            const Variants *source = i > 3 && i % 2 == 0 ? &made[random() % made.size()] : nullptr;
            variants.push_back(
                source ? (*source)[size_t(v) % source->size()] : PictureLikeBits::make(random, n, noise));
            for (int flip = 0, flips = int(random() % uint32_t(n * n / 4)); flip < flips; ++flip)
                variants.back()[random() % variants.back().size()] ^= uint8_t(1u << (random() % 8));
        }
        auto record = std::make_shared<ImageFileInfo>();
        for (const auto &v : variants)
            record->arrHashOfRotateFlipImages.append(v);
        made.push_back(std::move(variants));
        records.push_back(record);
    }
    return records;
}

// True when some allowed variant of `b` lies within `allowed` of `a`'s first, summing `distance`
// over their words.
template <typename Distance>
bool anyVariantWithin(const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &o,
    std::int64_t allowed, Distance distance)
{
    const auto first = a.arrHashOfRotateFlipImages.words(0);
    for (int k = 0; k < b.arrHashOfRotateFlipImages.count(); ++k) {
        const auto words = b.arrHashOfRotateFlipImages.words(k);
        std::int64_t sum = 0;
        for (size_t w = 0; w < words.size(); ++w)
            sum += distance(first[w], words[w]);
        if (PairScore::isVariantTried(k, o) && sum <= allowed)
            return true;
    }
    return false;
}

bool countsNear(
    const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &o, std::int64_t allowed)
{
    return anyVariantWithin(a, b, o, allowed,
        [](uint64_t x, uint64_t y) { return std::abs(std::popcount(x) - std::popcount(y)); });
}

bool withinHamming(
    const ImageFileInfo &a, const ImageFileInfo &b, const PairScoreOptions &o, std::int64_t allowed)
{
    return anyVariantWithin(a, b, o, allowed, [](uint64_t x, uint64_t y) { return std::popcount(x ^ y); });
}

// Folded, the differences of neighbouring words are added up before their sizes are.
std::int64_t columnDistance(std::span<const uint8_t> record, std::span<const uint8_t> column, bool folded)
{
    std::int64_t sum = 0;
    for (size_t w = 0; w < column.size(); w += folded ? 2 : 1) {
        int difference = int(record[w]) - int(column[w]);
        if (folded && w + 1 < column.size())
            difference += int(record[w + 1]) - int(column[w + 1]);
        sum += std::abs(difference);
    }
    return sum;
}

class SketchKernelTest : public ::testing::TestWithParam<std::tuple<Kernel, int, bool, bool>>
{
};

TEST_P(SketchKernelTest, KeepsExactlyTheMembersWithinTheAllowedCountDifference)
{
    const auto [kernel, n, turns, folded] = GetParam();
    if (!FingerprintSketches::runs(kernel))
        GTEST_SKIP() << "the processor lacks these registers";
    PairScoreOptions o;
    o.reSizeValue = n;
    o.sliderMinValue = 0.85f;
    o.compareRotateImages = turns;
    o.compareFlipImages = turns;
    const std::int64_t allowed = PairScore::allowedDistance(n, o.sliderMinValue);
    const auto records = makeRecords(n, 150);
    FingerprintSketches sketches(o, kernel);
    // The column spans below point into the sketches: they must not move.
    sketches.reserve(records.size());
    SketchColumns columns(sketches.words(), kernel, folded);
    std::vector<int> columnPositions;
    std::vector<uint8_t> columnPlaces;
    std::vector<std::span<const uint8_t>> columnCounts;
    // What a walk over [begin, end) must find for the record in `slot`, and which of its columns.
    const auto expectedNear = [&](int slot, size_t begin, size_t end) {
        SketchColumns::NearList expected;
        for (size_t c = begin; c < end; ++c) {
            if (columnDistance(sketches.counts(slot), columnCounts[c], folded) > allowed)
                continue;
            const auto bit = uint8_t(1u << columnPlaces[c]);
            if (!expected.empty() && expected.back().position == columnPositions[c])
                expected.back().columns |= bit;
            else
                expected.push_back({ columnPositions[c], bit });
        }
        return expected;
    };
    SketchColumns::NearList near;
    size_t kept = 0;
    for (int i = 0; i < int(records.size()); ++i) {
        const int slot = sketches.add(*records[size_t(i)]);
        ASSERT_GE(slot, 0);
        near.clear();
        columns.appendNear(columns.probe(sketches.counts(slot)), 0, columns.count(), allowed, near);
        ASSERT_EQ(near, expectedNear(slot, 0, columns.count())) << i;
        // Every record within the full counts' reach is met; any other is ruled out, looking only
        // at the columns that came near.
        for (int j = 0; j < i; ++j) {
            const auto met
                = std::find_if(near.begin(), near.end(), [j](const auto &n) { return n.position == j; });
            if (countsNear(*records[size_t(i)], *records[size_t(j)], o, allowed))
                EXPECT_NE(met, near.end()) << i << " " << j;
            else
                EXPECT_TRUE(sketches.ruledOut(
                    slot, j, allowed, met == near.end() ? FingerprintSketches::kAllVariants : met->columns))
                    << i << " " << j;
        }
        kept += near.size();
        // A range that starts and ends inside octets keeps the same columns of it.
        const size_t begin = columns.count() / 3 + 1;
        const size_t end = columns.count() - columns.count() / 5;
        near.clear();
        columns.appendNear(columns.probe(sketches.counts(slot)), begin, end, allowed, near);
        ASSERT_EQ(near, expectedNear(slot, begin, end)) << i;
        columns.append(sketches.counts(slot), i);
        for (size_t k = 0; k < sketches.counts(slot).size() / sketches.words(); ++k) {
            columnPositions.push_back(i);
            columnPlaces.push_back(uint8_t(k));
            columnCounts.push_back(sketches.counts(slot).subspan(k * sketches.words(), sketches.words()));
        }
    }
    EXPECT_GT(kept, 40u);
    EXPECT_LT(kept, records.size() * records.size() / (folded ? 2 : 4));
    // One to four records walked together each find what they find alone.
    const size_t begin = columns.count() / 4 + 3;
    const size_t end = columns.count() - 5;
    for (int first = 0; first + 4 <= int(records.size()); first += 7) {
        const size_t together = size_t(first % 4) + 1;
        std::vector<SketchColumns::Probe> probes;
        std::array<SketchColumns::NearList, SketchColumns::kTogether> found;
        std::array<const SketchColumns::Probe *, SketchColumns::kTogether> probeOf {};
        std::array<SketchColumns::NearList *, SketchColumns::kTogether> foundOf {};
        for (size_t r = 0; r < together; ++r)
            probes.push_back(columns.probe(sketches.counts(first + int(r))));
        for (size_t r = 0; r < together; ++r) {
            probeOf[r] = &probes[r];
            foundOf[r] = &found[r];
        }
        columns.appendNear(
            std::span(probeOf.data(), together), begin, end, allowed, std::span(foundOf.data(), together));
        for (size_t r = 0; r < together; ++r) {
            near.clear();
            columns.appendNear(probes[r], begin, end, allowed, near);
            ASSERT_EQ(found[r], near) << first << " " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, SketchKernelTest,
    ::testing::Combine(::testing::Values(Kernel::Sse2, Kernel::Avx2, Kernel::Avx512),
        ::testing::Values(48, 56, 64, 96), ::testing::Bool(), ::testing::Bool()));

class SketchRuleTest : public ::testing::TestWithParam<std::tuple<bool, bool>>
{
};

// Past the first records, which decide whether the first words are copied (pictures without
// structure) or read in place (photos), a pair is ruled out exactly when no allowed variant lies
// within the allowed distance.
TEST_P(SketchRuleTest, RulesOutExactlyThePairsBeyondTheAllowedDistance)
{
    const auto [noise, turns] = GetParam();
    PairScoreOptions o;
    o.reSizeValue = 64;
    o.sliderMinValue = 0.85f;
    o.compareRotateImages = turns;
    o.compareFlipImages = turns;
    const std::int64_t allowed = PairScore::allowedDistance(64, o.sliderMinValue);
    const auto records = makeRecords(64, 200, noise);
    FingerprintSketches sketches(o);
    sketches.reserve(records.size() / 2);
    size_t kept = 0;
    for (int i = 0; i < int(records.size()); ++i) {
        ASSERT_EQ(sketches.add(*records[size_t(i)]), i);
        for (int j = 0; j < i; ++j) {
            const bool within = withinHamming(*records[size_t(i)], *records[size_t(j)], o, allowed);
            ASSERT_EQ(sketches.ruledOut(i, j, allowed), !within) << i << " " << j;
            kept += within ? 1 : 0;
        }
    }
    EXPECT_GT(kept, 20u);
}

INSTANTIATE_TEST_SUITE_P(Pictures, SketchRuleTest, ::testing::Combine(::testing::Bool(), ::testing::Bool()));

// Folding pays on pictures whose neighbouring words differ on their own, and not where each
// word's count makes up for its neighbour's, which leaves the folded sums alike.
TEST(SketchFoldingTest, PaysOnlyWhereNeighbouringWordsDoNotBalance)
{
    for (const bool balanced : { false, true }) {
        std::mt19937 random(3);
        std::vector<std::vector<uint8_t>> counts(64);
        for (auto &c : counts) {
            for (size_t w = 0; w < 64; ++w)
                c.push_back(uint8_t(balanced && w % 2 == 1 ? 64 - c.back() : random() % 65));
        }
        const std::vector<std::span<const uint8_t>> records(counts.begin(), counts.end());
        EXPECT_EQ(SketchColumns::foldingPays(records, 64, PairScore::allowedDistance(64, 0.85f)), !balanced);
    }
}

} // namespace

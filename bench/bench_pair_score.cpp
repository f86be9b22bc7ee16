// Pair scores per second at N = 64 with all eight variants allowed: random fingerprints (the
// common case: no match, every variant stops after a few words) and near-identical ones (variant 0
// matches after a full walk). The argument is the number of record pairs cycled through: 64 pairs
// stay in the processor's caches, 4096 pairs (64 MB of fingerprints) do not, as in a large scan.
#include <memory>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/ImageFileInfo.h"
#include "scan/PairScore.h"

namespace
{

constexpr int kSide = 64;
constexpr int kBytes = kSide * kSide / 8;

std::shared_ptr<ImageFileInfo> makeRecord(const std::vector<std::vector<uint8_t>> &variants)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->resizeValue = kSide;
    for (const auto &variant : variants)
        record->arrHashOfRotateFlipImages.append(variant);
    return record;
}

std::vector<std::vector<uint8_t>> randomVariants(std::mt19937 &random)
{
    std::vector<std::vector<uint8_t>> variants(8, std::vector<uint8_t>(kBytes));
    for (auto &variant : variants)
        for (auto &byte : variant)
            byte = static_cast<uint8_t>(random());
    return variants;
}

PairScoreOptions allVariants()
{
    PairScoreOptions options;
    options.compareType = GlobalObjects::CompareType::ctHash;
    options.sliderMinValue = 0.85f;
    options.reSizeValue = kSide;
    options.captureTimeInterval = 86400;
    options.gpsDistanceLimit = 100;
    options.compareRotateImages = true;
    options.compareFlipImages = true;
    return options;
}

void runPairs(benchmark::State &state, const std::vector<std::shared_ptr<ImageFileInfo>> &as,
    const std::vector<std::shared_ptr<ImageFileInfo>> &bs)
{
    const PairScoreOptions options = allVariants();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PairScore::compareImages(*as[i], *bs[i], options));
        i = (i + 1) % as.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_PairScoreRandom(benchmark::State &state)
{
    std::mt19937 random(1);
    std::vector<std::shared_ptr<ImageFileInfo>> as, bs;
    for (int64_t i = 0; i < state.range(0); ++i) {
        as.push_back(makeRecord(randomVariants(random)));
        bs.push_back(makeRecord(randomVariants(random)));
    }
    runPairs(state, as, bs);
}
BENCHMARK(BM_PairScoreRandom)->Arg(64)->Arg(4096);

void BM_PairScoreNearIdentical(benchmark::State &state)
{
    std::mt19937 random(2);
    std::vector<std::shared_ptr<ImageFileInfo>> as, bs;
    for (int64_t i = 0; i < state.range(0); ++i) {
        std::vector<std::vector<uint8_t>> variants = randomVariants(random);
        as.push_back(makeRecord(variants));
        // About 200 differing bits in variant 0: within t = 614, so it matches after all 64 words.
        for (int flip = 0; flip < 200; ++flip) {
            const int bit = static_cast<int>(random() % (kBytes * 8));
            variants[0][bit / 8] ^= static_cast<uint8_t>(0x80u >> (bit % 8));
        }
        bs.push_back(makeRecord(variants));
    }
    runPairs(state, as, bs);
}
BENCHMARK(BM_PairScoreNearIdentical)->Arg(64)->Arg(4096);

} // namespace

BENCHMARK_MAIN();

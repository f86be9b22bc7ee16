// The date index of the comparison against the time test itself: a record the index narrows for
// meets every earlier record it can pass the test with.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "scan/DateWindowIndex.h"

namespace
{

struct Dated {
    RecordTimes times;
};

// Every kind of dates: valid, invalid or no capture date, with and without a creation date, within
// minutes of each other so that the limits below both keep and veto pairs.
std::vector<Dated> randomRecords(std::mt19937 &random, int count)
{
    std::uniform_int_distribution<int> state(0, 2), created(0, 3);
    std::uniform_int_distribution<std::int64_t> ms(0, 600000);
    std::vector<Dated> records(size_t(count), Dated {});
    for (size_t i = 0; i < records.size(); ++i) {
        Dated &r = records[i];
        r.times.capture = RecordTimes::State(state(random));
        r.times.captureMs = r.times.capture == RecordTimes::State::Valid ? ms(random) : 0;
        r.times.hasCreate = created(random) != 0;
        r.times.createMs = r.times.hasCreate ? ms(random) : 0;
    }
    return records;
}

} // namespace

class DateWindowIndexTest
    : public ::testing::TestWithParam<std::tuple<GlobalObjects::CompareType, ScanSource, double>>
{
};

TEST_P(DateWindowIndexTest, NarrowedRecordsMissOnlyRecordsTheTimeTestKeepsApart)
{
    const auto [mode, source, seconds] = GetParam();
    PairScoreOptions options;
    options.compareType = mode;
    options.scanType = source;
    options.captureTimeInterval = seconds;
    std::mt19937 random(std::uint32_t(int(source) * 7 + int(seconds)));
    const std::vector<Dated> records = randomRecords(random, 600);
    DateWindowIndex index(options);
    for (size_t i = 0; i < records.size(); ++i)
        index.add(records[i].times, int(i));
    index.settle();
    int narrowed = 0;
    for (int end = 0; end < int(records.size()); ++end) {
        const Dated &q = records[size_t(end)];
        if (!index.narrows(q.times))
            continue;
        ++narrowed;
        std::vector<int> met;
        index.gather(q.times, end, met);
        EXPECT_LE(met.size(), index.reach(q.times, end));
        std::sort(met.begin(), met.end());
        for (int x = 0; x < end; ++x) {
            const Dated &r = records[size_t(x)];
            if (!PairScore::isOutsideTimeLimit(q.times, r.times, options)) {
                EXPECT_TRUE(std::binary_search(met.begin(), met.end(), x)) << end << " misses " << x;
            }
        }
    }
    EXPECT_GT(narrowed, 100);
}

INSTANTIATE_TEST_SUITE_P(Modes, DateWindowIndexTest,
    ::testing::Combine(
        ::testing::Values(GlobalObjects::CompareType::ctHash, GlobalObjects::CompareType::ctMD5),
        ::testing::Values(ScanSource::thisComputer, ScanSource::googleDrive), ::testing::Values(0.0, 45.0)));

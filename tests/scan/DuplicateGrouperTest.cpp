// The comparison engine: first-fit grouping, and the prefiltered and parallel loops giving exactly
// the groups of the straight one on random inputs under every option combination.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <set>

#include <QFileInfo>
#include <QTemporaryDir>

#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "scan/DuplicateGrouper.h"
#include "support/PictureLikeBits.h"
#include "support/TestFiles.h"

namespace
{

using Bits = std::vector<uint8_t>;

struct Corpus {
    int n = 64;
    std::mt19937 random { 1 };

    Bits randomBits() { return PictureLikeBits::make(random, n); }
    Bits flipped(Bits bits, int flips)
    {
        std::uniform_int_distribution<int> bit(0, n * n - 1);
        for (int i = 0; i < flips; ++i) {
            const int k = bit(random);
            bits[size_t(k / 8)] ^= uint8_t(0x80 >> (k % 8));
        }
        return bits;
    }
};

// Records in clusters around a few bases: near the base, beyond the threshold, as a rotated or
// mirrored variant of the base, with vetoes (size, time, GPS, not comparable, no fingerprint) and
// videos with shared digests sprinkled in.
RecordList makeRecords(Corpus &c, int count, bool exact)
{
    std::vector<std::array<Bits, 8>> bases;
    for (int i = 0; i < 12; ++i) {
        std::array<Bits, 8> variants;
        for (Bits &v : variants)
            v = c.randomBits();
        bases.push_back(variants);
    }
    const int t = c.n * c.n * 15 / 100;
    std::uniform_int_distribution<int> pick(0, int(bases.size()) - 1), flips(0, t + t / 3), kind(0, 19);
    RecordList records;
    for (int i = 0; i < count; ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/r/%1.jpg").arg(i);
        record->fileSize = exact ? quint64(1000 + (i % 3)) : quint64(1000 + i);
        // Similar mode: files with the same bytes, which their file dates never keep apart.
        if (!exact && i % 10 == 3) {
            record->fileSize = 999;
            record->fileMd5 = QStringLiteral("same-bytes");
        }
        const int dates = kind(c.random);
        if (dates != 5)
            record->createDate = QDateTime::fromSecsSinceEpoch(1600000000 + (dates == 0 ? 200000 : i));
        // Capture dates: valid ones, some out of order, and invalid ones.
        if (dates >= 6 && dates <= 9) {
            record->exifInfo = std::make_shared<ExifInfo>();
            record->exifInfo->captureDate = dates == 6
                ? QDateTime()
                : QDateTime::fromSecsSinceEpoch(1500000000 + (dates == 7 ? 3 * (count - i) : 2 * i));
        }
        const int k = kind(c.random);
        if (k == 1) {
            record->isVideo = true;
            record->fileMd5 = QStringLiteral("md5-%1").arg(pick(c.random) % 3);
            records.append(record);
            continue;
        }
        record->blDoNotCompare = k == 2;
        // Exact mode: a few photos of a cluster differ in content although they look the same.
        if (exact)
            record->fileMd5 = QStringLiteral("photo-%1").arg(kind(c.random) == 0 ? 1 : 0);
        if (k != 3) {
            // Files with the same bytes have the same fingerprint as well.
            const bool copy = record->fileMd5 == QLatin1String("same-bytes");
            const std::array<Bits, 8> &base = bases[copy ? 0 : size_t(pick(c.random))];
            // Variant 0 of a "turned" copy is another variant of the base.
            const int turned = k == 4 ? 1 + int(c.random() % 7) : 0;
            for (int v = 0; v < 8; ++v)
                record->arrHashOfRotateFlipImages.append(
                    copy ? base[size_t(v)] : c.flipped(base[size_t((v + turned) % 8)], flips(c.random)));
        }
        records.append(record);
    }
    return records;
}

struct Outcome {
    std::vector<std::vector<QString>> groups;
    std::vector<std::pair<float, QString>> matches;
    quint64 dupSize = 0;
    int kept = 0;
    bool operator==(const Outcome &) const = default;
};

// Chunks of the parallel method small enough that many of them meet in every test.
constexpr qsizetype kChunk = 300;

Outcome group(
    const RecordList &records, const ScanOptions &options, DuplicateGrouper::Method method, int threads = 0)
{
    for (const auto &r : records) {
        r->match = 0;
        r->matchesWithNode.reset();
        r->parent.reset();
    }
    ScanSession session;
    session.options = options;
    session.arrImagesContent = records;
    session.report = [](ScanProgress::Stage, const QString &) {};
    DuplicateGrouper(session, method, threads, kChunk).startComparison();
    Outcome out;
    for (const auto &g : session.arrAllFilesGrouping) {
        std::vector<QString> members;
        for (const auto &r : g->children)
            members.push_back(r->filePath);
        out.groups.push_back(members);
    }
    for (const auto &r : records) {
        const auto best = r->matchesWithNode.lock();
        out.matches.emplace_back(r->match, best ? best->filePath : QString());
    }
    out.dupSize = session.dupSize;
    out.kept = session.identicalKeptAcrossDates;
    return out;
}

ScanOptions optionsFor(bool exact, bool rotate, bool mirror, int n, double seconds = 86400)
{
    ScanOptions o;
    o.globals.compareType = exact ? GlobalObjects::CompareType::ctMD5 : GlobalObjects::CompareType::ctHash;
    o.globals.reSizeValue = n;
    o.globals.matchThreshold = 0.92;
    o.globals.minimumMatchThreshold = 0.90;
    o.globals.captureTimeInterval = seconds;
    o.globals.gpsDistanceLimit = 100;
    o.globals.compareRotateImages = rotate;
    o.globals.compareFlipImages = mirror;
    return o;
}

// Many near copies of a few photos: long groups, and records that match some members of a group
// but not all, so that first fit has to pass over groups it nearly joins.
RecordList makeNearCopies(Corpus &c, int count)
{
    std::vector<Bits> bases;
    for (int i = 0; i < 4; ++i)
        bases.push_back(c.randomBits());
    const int t = c.n * c.n * 15 / 100;
    std::uniform_int_distribution<int> pick(0, int(bases.size()) - 1), flips(0, t / 2 + t / 4);
    RecordList records;
    for (int i = 0; i < count; ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/n/%1.jpg").arg(i);
        record->fileSize = quint64(1000 + i);
        const Bits bits = c.flipped(bases[size_t(pick(c.random))], flips(c.random));
        for (int v = 0; v < 8; ++v)
            record->arrHashOfRotateFlipImages.append(bits);
        records.append(record);
    }
    return records;
}

size_t groupedCount(const Outcome &out)
{
    size_t grouped = 0;
    for (const auto &g : out.groups)
        grouped += g.size() > 1 ? g.size() : 0;
    return grouped;
}

} // namespace

// The last parameter is the capture-time limit in seconds: a short one makes the parallel method
// meet dated records only within reach of their dates.
class GrouperEquivalenceTest : public ::testing::TestWithParam<std::tuple<bool, bool, bool, int, double>>
{
};

TEST_P(GrouperEquivalenceTest, PrefilteredAndParallelGroupsEqualStraightGroups)
{
    const auto [exact, rotate, mirror, n, seconds] = GetParam();
    Corpus corpus;
    corpus.n = n;
    corpus.random.seed(std::uint32_t(n * 8 + exact * 4 + rotate * 2 + mirror));
    const RecordList records = makeRecords(corpus, 1500, exact);
    const ScanOptions options = optionsFor(exact, rotate, mirror, n, seconds);

    const Outcome straight = group(records, options, DuplicateGrouper::Method::Straight);
    EXPECT_EQ(straight, group(records, options, DuplicateGrouper::Method::Prefiltered));
    EXPECT_EQ(straight, group(records, options, DuplicateGrouper::Method::Parallel, 4));
    // The inputs are meant to exercise real grouping, not only singletons.
    EXPECT_GT(groupedCount(straight), 100u);
}

INSTANTIATE_TEST_SUITE_P(AllOptions, GrouperEquivalenceTest,
    ::testing::Combine(::testing::Bool(), ::testing::Bool(), ::testing::Bool(), ::testing::Values(48, 64, 80),
        ::testing::Values(86400.0, 40.0)));

// Higher thresholds give the straight groups too; many near copies make long groups that records
// nearly join.
class GrouperNearCopiesTest : public ::testing::TestWithParam<double>
{
};

TEST_P(GrouperNearCopiesTest, ParallelGroupsEqualStraightGroups)
{
    Corpus corpus;
    corpus.random.seed(std::uint32_t(GetParam() * 1000));
    const RecordList records = makeNearCopies(corpus, 1500);
    ScanOptions options = optionsFor(false, true, true, 64);
    options.sliderMinValue = float(GetParam());

    const Outcome straight = group(records, options, DuplicateGrouper::Method::Straight);
    EXPECT_EQ(straight, group(records, options, DuplicateGrouper::Method::Parallel, 3));
    // One thread takes the same path without any concurrency.
    EXPECT_EQ(straight, group(records, options, DuplicateGrouper::Method::Parallel, 1));
    EXPECT_GT(groupedCount(straight), 300u);
    // Not one big group per base: some records start groups although they match earlier ones.
    EXPECT_GT(straight.groups.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, GrouperNearCopiesTest, ::testing::Values(0.85, 0.9, 0.95));

// A stop asked for while a chunk is placed ends the comparison after that chunk, whose records are
// grouped exactly as the straight loop groups them alone.
TEST(DuplicateGrouperTest, AStopEndsTheParallelComparisonAfterTheChunkBeingPlaced)
{
    Corpus corpus;
    const RecordList records = makeRecords(corpus, int(kChunk) * 3, false);
    const ScanOptions options = optionsFor(false, true, true, 64);
    ScanSession session;
    session.options = options;
    session.arrImagesContent = records;
    session.report = [&](ScanProgress::Stage, const QString &) { session.abortMe = true; };
    DuplicateGrouper(session, DuplicateGrouper::Method::Parallel, 0, kChunk).startComparison();
    EXPECT_EQ(session.countCompared, int(kChunk));

    size_t placed = 0;
    for (const auto &g : session.arrAllFilesGrouping)
        placed += size_t(g->children.size());
    const Outcome firstChunk = group(records.first(kChunk), options, DuplicateGrouper::Method::Straight);
    size_t expected = 0;
    for (const auto &g : firstChunk.groups)
        expected += g.size();
    EXPECT_EQ(placed, expected);
    EXPECT_EQ(session.arrAllFilesGrouping.size(), qsizetype(firstChunk.groups.size()));
}

TEST(DuplicateGrouperTest, ARecordJoinsTheEarlierOfTwoMatchingGroupsOnlyWhenEveryMemberMatches)
{
    Corpus c;
    const Bits base = c.randomBits();
    const auto make = [&](const QString &name, const Bits &bits) {
        auto r = std::make_shared<ImageFileInfo>();
        r->filePath = name;
        r->fileSize = 1;
        for (int v = 0; v < 8; ++v)
            r->arrHashOfRotateFlipImages.append(bits);
        return r;
    };
    // t = 614 for N = 64: "far" is 700 bits from the base, "mid" 350 from both.
    Bits far = base;
    for (int k = 0; k < 700; ++k)
        far[size_t(k / 8)] ^= uint8_t(0x80 >> (k % 8));
    Bits mid = base;
    for (int k = 0; k < 350; ++k)
        mid[size_t(k / 8)] ^= uint8_t(0x80 >> (k % 8));
    const RecordList records { make("a", base), make("b", far), make("c", mid), make("d", base) };
    const Outcome out
        = group(records, optionsFor(false, false, false, 64), DuplicateGrouper::Method::Straight);
    // c matches both a and b: it joins a's group, the earlier one. d matches a but not b... and c
    // is within 350 of d, so d joins the group of a and c.
    const std::vector<std::vector<QString>> expected { { "a", "c", "d" }, { "b" } };
    EXPECT_EQ(out.groups, expected);
    EXPECT_EQ(out.matches[3].second, QStringLiteral("a"));
    EXPECT_FLOAT_EQ(out.matches[3].first, 1.0f);
    // d can go, counted at the matching level the results open with (0.92); c joined below it.
    EXPECT_EQ(out.dupSize, 1u);
}

TEST(DuplicateGrouperTest, VideosOfAnExactScanGroupByDigestAndCountTheirSizes)
{
    RecordList records;
    for (int i = 0; i < 6; ++i) {
        auto r = std::make_shared<ImageFileInfo>();
        r->filePath = QStringLiteral("v%1").arg(i);
        r->isVideo = true;
        // Two empty ones with a provider's hash: empty files are never copies of each other.
        r->fileSize = i < 4 ? 10 : 0;
        r->fileMd5 = i == 3 ? QString() : QStringLiteral("same");
        records.append(r);
    }
    const Outcome out
        = group(records, optionsFor(true, false, false, 80), DuplicateGrouper::Method::Straight);
    const std::vector<std::vector<QString>> expected { { "v0", "v1", "v2" } };
    EXPECT_EQ(out.groups, expected);
    // Two of the three copies can go: the space to free leaves the first one out.
    EXPECT_EQ(out.dupSize, 20u);
}

// Thousands of copies of a few pictures, with creation and capture dates spread so that the time
// veto splits them, a few moved positions and a few copies one bit apart: reusing the scores of
// members alike gives exactly the straight loop's groups, best matches and sizes.
TEST(DuplicateGrouperTest, ManyCopiesGroupExactlyAsTheStraightLoopDoes)
{
    Corpus c;
    c.n = 64;
    c.random.seed(5);
    const Bits bases[] = { c.randomBits(), c.randomBits() };
    RecordList records;
    for (int i = 0; i < 1500; ++i) {
        auto r = std::make_shared<ImageFileInfo>();
        r->filePath = QStringLiteral("/copies/%1.jpg").arg(i);
        r->fileSize = 5000;
        r->createDate = QDateTime::fromSecsSinceEpoch(1600000000 + qint64(c.random() % 200000));
        if (i % 7 == 0) {
            r->exifInfo = std::make_shared<ExifInfo>();
            r->exifInfo->captureDate
                = QDateTime::fromSecsSinceEpoch(1500000000 + qint64(c.random() % 300000));
            r->exifInfo->gpsLatitude = i % 21 == 0 ? 48.0 : 47.0;
            r->exifInfo->gpsLongitude = 11.0;
        }
        const Bits &base = bases[i % 5 == 0 ? 1 : 0];
        for (int v = 0; v < 8; ++v)
            r->arrHashOfRotateFlipImages.append(i % 50 == 0 ? c.flipped(base, 1) : base);
        records.append(r);
    }
    const ScanOptions options = optionsFor(false, true, true, 64);
    const Outcome straight = group(records, options, DuplicateGrouper::Method::Straight);
    const Outcome reused = group(records, options, DuplicateGrouper::Method::Prefiltered);
    EXPECT_EQ(straight, reused);
    EXPECT_EQ(straight, group(records, options, DuplicateGrouper::Method::Parallel, 4));
    EXPECT_GT(straight.groups.size(), 4u);
    EXPECT_LT(straight.groups.size(), 300u);
}

// Similar mode, 30 s apart at most: a file is dated by all its byte copies, so a copy alone joins
// the group of its copies whatever its file date, and two groups holding copies of one picture join
// where every two of their members still match. Capture dates keep their veto.
struct AcrossDatesCase {
    const char *name;
    // Per record: its bytes ('P', 'Q', 'R', 'S' of one size and fingerprint, 'L' longer; 'A', 'B',
    // 'C' frames of a pan, B near A and C, A far from C), seconds from the first record's file date,
    // and its capture date in seconds from there, if any.
    std::vector<std::tuple<char, qint64, std::optional<qint64>>> records;
    std::vector<std::vector<QString>> groups;
    int kept;
};

void PrintTo(const AcrossDatesCase &c, std::ostream *os)
{
    *os << c.name;
}

class AcrossDatesTest : public ::testing::TestWithParam<AcrossDatesCase>
{
};

TEST_P(AcrossDatesTest, ByteCopiesAreShownWithTheirCopiesWhereEveryPairMatches)
{
    const AcrossDatesCase &c = GetParam();
    QTemporaryDir dir;
    const QString contents = QStringLiteral("PQLRSABC");
    Corpus corpus;
    const Bits bits = corpus.randomBits();
    const Bits near = corpus.flipped(bits, 400);
    const Bits frames[]
        = { bits, bits, bits, bits, bits, corpus.flipped(near, 400), near, corpus.flipped(near, 400) };
    RecordList records;
    for (size_t i = 0; i < c.records.size(); ++i) {
        const auto [content, seconds, capture] = c.records[i];
        const qsizetype k = contents.indexOf(QLatin1Char(content));
        const QByteArray data(content == 'L' ? 10000 : 9000, content == 'L' ? 'p' : char(content));
        auto r = std::make_shared<ImageFileInfo>();
        r->filePath = dir.filePath(QString::number(i));
        ASSERT_TRUE(TestFiles::write(r->filePath, data));
        r->fileSize = quint64(data.size());
        r->createDate = QDateTime::fromSecsSinceEpoch(1600000000 + seconds);
        if (capture) {
            r->exifInfo = std::make_shared<ExifInfo>();
            r->exifInfo->captureDate = QDateTime::fromSecsSinceEpoch(1600000000 + *capture);
        }
        for (int v = 0; v < 8; ++v)
            r->arrHashOfRotateFlipImages.append(frames[k]);
        records.append(r);
    }
    ScanOptions options = optionsFor(false, false, false, 64);
    options.globals.captureTimeInterval = 30;
    // The listed walk order gives the listed groups; every walk order gives the three methods the same
    // groups and shows every record whose byte copy is shown.
    std::vector<qsizetype> order(size_t(records.size()));
    std::iota(order.begin(), order.end(), 0);
    do {
        RecordList walk;
        for (const qsizetype i : order)
            walk.append(records[i]);
        const Outcome out = group(walk, options, DuplicateGrouper::Method::Straight);
        EXPECT_EQ(out, group(walk, options, DuplicateGrouper::Method::Prefiltered));
        EXPECT_EQ(out, group(walk, options, DuplicateGrouper::Method::Parallel));
        std::vector<std::vector<QString>> groups;
        std::map<char, int> shownCopies;
        for (const auto &g : out.groups) {
            groups.emplace_back();
            for (const QString &path : g) {
                groups.back().push_back(QFileInfo(path).fileName());
                shownCopies[std::get<0>(c.records[size_t(groups.back().back().toInt())])] += g.size() > 1;
            }
        }
        for (const auto &[content, shown] : shownCopies)
            EXPECT_TRUE(shown == 0
                || shown
                    == std::ranges::count(c.records, content, [](const auto &r) { return std::get<0>(r); }))
                << content << ", walk order " << testing::PrintToString(order);
        if (std::is_sorted(order.begin(), order.end())) {
            EXPECT_EQ(groups, c.groups);
            EXPECT_EQ(out.kept, c.kept);
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

constexpr qint64 kYear = 365 * 86400;

INSTANTIATE_TEST_SUITE_P(Cases, AcrossDatesTest,
    ::testing::Values(
        AcrossDatesCase { "CopyAYearOlder", { { 'P', 0, {} }, { 'P', -kYear, {} } }, { { "0", "1" } }, 1 },
        AcrossDatesCase {
            "SameSizeOtherBytes", { { 'P', 0, {} }, { 'Q', -kYear, {} } }, { { "0" }, { "1" } }, 0 },
        AcrossDatesCase { "OtherSize", { { 'P', 0, {} }, { 'L', kYear, {} } }, { { "0" }, { "1" } }, 0 },
        AcrossDatesCase {
            "CaptureDatesStillVeto", { { 'P', 0, 0 }, { 'P', kYear, kYear } }, { { "0" }, { "1" } }, 0 },
        AcrossDatesCase { "OneIdenticalMemberTakesTheCopyIn",
            { { 'P', 0, {} }, { 'Q', 10, {} }, { 'P', kYear, {} }, { 'P', kYear + 5, {} } },
            { { "0", "1", "2", "3" } }, 2 },
        // A photo, its smaller copy written with it, and its byte copy a year older after both.
        AcrossDatesCase { "CopyAfterPhotoAndSmall", { { 'P', 0, {} }, { 'L', 5, {} }, { 'P', -kYear, {} } },
            { { "0", "1", "2" } }, 1 },
        // The small copy, then the old byte copy: the copy passes the small one by the photo's date.
        AcrossDatesCase { "OldCopyBetweenSmallAndPhoto",
            { { 'L', 0, {} }, { 'P', -kYear, {} }, { 'P', 5, {} } }, { { "0", "1", "2" } }, 1 },
        // A photo and its smaller copy, and byte copies of both written months apart a year before:
        // each copy passes the other's copy by the dates of the originals.
        AcrossDatesCase { "CopiesOfAPhotoAndItsSmallCopyOnOtherDays",
            { { 'P', 0, {} }, { 'L', 0, {} }, { 'P', -kYear, {} }, { 'L', 90 * 86400 - kYear, {} } },
            { { "0", "1", "2", "3" } }, 2 },
        // Q is dated with one of P's copies, which stand together for P.
        AcrossDatesCase { "OneCopyDatedWithTheNewcomer",
            { { 'P', 0, {} }, { 'P', 10, {} }, { 'P', kYear, {} }, { 'Q', kYear + 5, {} } },
            { { "0", "1", "2", "3" } }, 1 },
        // Near copies dated with each copy of P, a year apart: the two near copies do not match.
        AcrossDatesCase { "NearCopiesOfEachCopyAYearApart",
            { { 'P', 0, {} }, { 'Q', 5, {} }, { 'P', -kYear, {} }, { 'R', 10 - kYear, {} } },
            { { "0", "1" }, { "2", "3" } }, 0 },
        // L is years from R's copies, and Q's copies from S: no two groups join.
        AcrossDatesCase { "CopiesJoinOnlyWhereEveryPairStillMatches",
            { { 'L', 0, {} }, { 'Q', 10, {} }, { 'Q', kYear, {} }, { 'R', kYear + 10, {} },
                { 'R', 2 * kYear, {} }, { 'S', 2 * kYear + 10, {} } },
            { { "0", "1" }, { "2", "3" }, { "4", "5" } }, 0 },
        // Q, R, S (told apart by their ends) score alike but for dates; P's copies reach Q and S, not R.
        AcrossDatesCase { "CopiesReachTheEndsOfAClassNotItsMiddle",
            { { 'Q', 0, {} }, { 'R', 10, {} }, { 'S', 20, {} }, { 'P', -30, {} }, { 'P', 50, {} } },
            { { "0", "1", "2" }, { "3", "4" } }, 1 },
        // C's copy dates C with A, but A and C are frames of a pan too far apart: B's copies do not
        // bring them into one group.
        AcrossDatesCase { "FramesThatDoNotMatchStayApart",
            { { 'A', 0, {} }, { 'B', 5, {} }, { 'B', kYear, {} }, { 'C', kYear + 5, {} }, { 'C', 10, {} } },
            { { "0", "1" }, { "2", "3", "4" } }, 1 },
        // Q and R, captured 40 s apart, stand beside P and its copy: the copy's file date keeps it
        // from S, and the capture dates keep the groups apart.
        AcrossDatesCase { "CaptureDatesOfTheJoinedMembersStillVeto",
            { { 'Q', 0, -20 }, { 'P', 0, 0 }, { 'S', 5, {} }, { 'P', kYear, 0 }, { 'R', 0, 20 } },
            { { "0", "1", "2" }, { "3", "4" } }, 0 }),
    [](const auto &info) { return std::string(info.param.name); });

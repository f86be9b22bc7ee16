// Whole scans of generated photo trees through the engine the main window drives.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QTransform>

#include "ScanTestSupport.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "model/SqliteDBOperations.h"
#include "platform/Dispatch.h"
#include "scan/ExactPass.h"
#include "scan/HashingStage.h"
#include "support/NaturalPhoto.h"
#include "support/TestFiles.h"

using namespace ScanTestSupport;

namespace
{

QString at(const QTemporaryDir &dir, const QString &relative)
{
    return dir.filePath(relative);
}

} // namespace

// Distinct photos all dated the same second: none of them pairs with another, at any bitmap size.
class DistinctPhotosTest : public ::testing::TestWithParam<int>
{
};

TEST_P(DistinctPhotosTest, NoTwoGroup)
{
    QTemporaryDir dir;
    for (int i = 0; i < 112; ++i) {
        QFile file(at(dir, QStringLiteral("p%1.jpg").arg(i)));
        ASSERT_TRUE(writeImage(NaturalPhoto::make(i, 160, 120), file.fileName())
            && file.open(QIODevice::ReadWrite)
            && file.setFileTime(
                QDateTime(QDate(2025, 6, 1), QTime(10, 0)), QFileDevice::FileModificationTime));
    }
    ScanOptions o = options(false, true, true);
    o.globals.reSizeValue = GetParam();
    const ScanResult result = runScan(o, { folderNode(dir.path()) });
    ASSERT_TRUE(result.finished && result.records.size() == 112);
    EXPECT_EQ(relativeGroups(result.groups, dir.path()), QList<QStringList>());
}

INSTANTIATE_TEST_SUITE_P(BitmapSizes, DistinctPhotosTest, ::testing::Values(48, 56, 64, 72, 80, 88, 96));

class ExactCopiesTest : public ::testing::TestWithParam<bool>
{
};

TEST_P(ExactCopiesTest, CopiesInTwoFoldersFormTheOnlyGroup)
{
    QTemporaryDir dir;
    const QImage photo = makePhoto(1);
    ASSERT_TRUE(writeImage(photo, at(dir, "a/one.jpg")));
    ASSERT_TRUE(QDir().mkpath(at(dir, "b/deeper")));
    ASSERT_TRUE(QFile::copy(at(dir, "a/one.jpg"), at(dir, "b/deeper/one-copy.jpg")));
    ASSERT_TRUE(writeImage(makePhoto(2), at(dir, "a/two.jpg")));
    ASSERT_TRUE(writeImage(makePhoto(3), at(dir, "b/three.png")));

    const ScanResult result
        = runScan(options(GetParam()), { folderNode(at(dir, "a")), folderNode(at(dir, "b")) });

    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::Results);
    EXPECT_EQ(result.records.size(), 4);
    const QList<QStringList> expected { { "a/one.jpg", "b/deeper/one-copy.jpg" } };
    EXPECT_EQ(relativeGroups(result.groups, dir.path()), expected);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ExactCopiesTest, ::testing::Values(true, false));

struct VariantCase {
    const char *name;
    int transform; // 0 resized and recompressed, 1 rotated, 2 mirrored
    bool rotate;
    bool mirror;
    bool groups;
};

class SimilarVariantTest : public ::testing::TestWithParam<VariantCase>
{
};

TEST_P(SimilarVariantTest, CopyGroupsOnlyWithTheRightOptions)
{
    const VariantCase &c = GetParam();
    QTemporaryDir dir;
    const QImage photo = makePhoto(7, 400, 400);
    QImage copy;
    int quality = 90;
    switch (c.transform) {
    case 0:
        copy = photo.scaled(200, 200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        quality = 60;
        break;
    case 1:
        copy = photo.transformed(QTransform().rotate(90));
        break;
    default:
        copy = photo.mirrored(true, false);
        break;
    }
    ASSERT_TRUE(writeImage(photo, at(dir, "original.jpg")));
    ASSERT_TRUE(writeImage(copy, at(dir, "variant.jpg"), quality));
    ASSERT_TRUE(writeImage(makePhoto(8, 400, 400), at(dir, "other.jpg")));

    const ScanResult result = runScan(options(false, c.rotate, c.mirror), { folderNode(dir.path()) });

    ASSERT_TRUE(result.finished);
    const QList<QStringList> expected
        = c.groups ? QList<QStringList> { { "original.jpg", "variant.jpg" } } : QList<QStringList> {};
    EXPECT_EQ(relativeGroups(result.groups, dir.path()), expected);
}

INSTANTIATE_TEST_SUITE_P(Variants, SimilarVariantTest,
    ::testing::Values(VariantCase { "Resized", 0, false, false, true },
        VariantCase { "RotatedWithout", 1, false, true, false },
        VariantCase { "RotatedWith", 1, true, false, true },
        VariantCase { "MirroredWithout", 2, true, false, false },
        VariantCase { "MirroredWith", 2, false, true, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ScanEngineTest, EqualVideosGroupAndEqualSizedDifferentOnesDoNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::write(at(dir, "v1.mov"), randomBytes(1, 40000)));
    ASSERT_TRUE(TestFiles::write(at(dir, "copy/v1.mov"), randomBytes(1, 40000)));
    ASSERT_TRUE(TestFiles::write(at(dir, "v2.mov"), randomBytes(2, 50000)));
    ASSERT_TRUE(TestFiles::write(at(dir, "v3.mov"), randomBytes(3, 50000)));
    ASSERT_TRUE(TestFiles::write(at(dir, "alone.mov"), randomBytes(4, 60000)));

    const ScanResult result = runScan(options(true), { folderNode(dir.path()) });

    const QList<QStringList> expected { { "copy/v1.mov", "v1.mov" } };
    EXPECT_EQ(relativeGroups(result.groups, dir.path()), expected);
    // Only videos that share a size and their ends are read whole.
    EXPECT_EQ(result.decoded, 2);

    // v3 rewritten with v2's bytes: both are read whole now, and the two group.
    ASSERT_TRUE(TestFiles::write(at(dir, "v3.mov"), randomBytes(2, 50000)));
    const ScanResult edited = runScan(options(true), { folderNode(dir.path()) });
    EXPECT_EQ(edited.decoded, 2);
    const QList<QStringList> regrouped { { "copy/v1.mov", "v1.mov" }, { "v2.mov", "v3.mov" } };
    EXPECT_EQ(relativeGroups(edited.groups, dir.path()), regrouped);
    EXPECT_EQ(runScan(options(true), { folderNode(dir.path()) }).decoded, 0);
}

// Exact mode reads bytes: pictures of any size group when identical, files of one size are read
// whole only when their ends agree, a photo and a video never pair, and a warm scan reads only a
// new file beside the cached ones.
TEST(ScanEngineTest, ExactScanGroupsIdenticalBytesOfAnyPicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeImage(makePhoto(1, 64, 48), at(dir, "narrow/a.jpg")));
    ASSERT_TRUE(writeImage(makePhoto(2, 79, 60), at(dir, "narrow/b.png")));
    ASSERT_TRUE(writeImage(makePhoto(3), at(dir, "one.jpg")));
    QByteArray middle = randomBytes(4, 40000);
    ASSERT_TRUE(TestFiles::write(at(dir, "ends/x.jpg"), middle));
    middle[20000] = char(middle[20000] ^ 1);
    ASSERT_TRUE(TestFiles::write(at(dir, "ends/y.jpg"), middle));
    ASSERT_TRUE(TestFiles::write(at(dir, "ends/z.jpg"), randomBytes(5, 40000)));
    ASSERT_TRUE(TestFiles::write(at(dir, "small/s.jpg"), randomBytes(6, 3000)));
    for (const char *from : { "narrow/a.jpg", "narrow/b.png", "one.jpg", "small/s.jpg" })
        ASSERT_TRUE(QFile::copy(at(dir, from), at(dir, QString::fromLatin1(from) + ".copy.jpg")));
    ASSERT_TRUE(QFile::copy(at(dir, "one.jpg"), at(dir, "one-as-video.mov")));
    // Empty files hold no picture: never read, never grouped.
    for (const char *empty : { "empty/e.jpg", "empty/f.jpg", "empty/e.mov", "empty/f.mov" })
        ASSERT_TRUE(TestFiles::write(at(dir, empty), {}));

    const auto sorted = [&dir](const ScanResult &result) {
        QList<QStringList> groups = relativeGroups(result.groups, dir.path());
        std::sort(groups.begin(), groups.end());
        return groups;
    };
    const ScanResult cold = runScan(options(true), { folderNode(dir.path()) });
    const QList<QStringList> expected { { "narrow/a.jpg", "narrow/a.jpg.copy.jpg" },
        { "narrow/b.png", "narrow/b.png.copy.jpg" }, { "one.jpg", "one.jpg.copy.jpg" },
        { "small/s.jpg", "small/s.jpg.copy.jpg" } };
    EXPECT_EQ(sorted(cold), expected);
    // The four pairs and x and y, whose ends agree; z's ends differ from theirs.
    EXPECT_EQ(cold.decoded, 10);

    const ScanResult warm = runScan(options(true), { folderNode(dir.path()) });
    EXPECT_EQ(warm.decoded, 0);
    EXPECT_EQ(warm.groups, cold.groups);
    ASSERT_TRUE(QFile::copy(at(dir, "one.jpg"), at(dir, "one-again.jpg")));
    const ScanResult added = runScan(options(true), { folderNode(dir.path()) });
    EXPECT_EQ(added.decoded, 1);
    EXPECT_EQ(sorted(added)[2], (QStringList { "one-again.jpg", "one.jpg", "one.jpg.copy.jpg" }));
}

// More files to sum than one cache batch holds: every batch is written before the groups come, so
// a second scan reads nothing.
TEST(ScanEngineTest, ExactScanWritesEveryBatchOfSums)
{
    QTemporaryDir dir;
    const int pairs = ExactPass::kBatchSize / 2 + 20;
    for (int i = 0; i < pairs; ++i) {
        const QByteArray bytes = randomBytes(1000 + i, 3000);
        ASSERT_TRUE(TestFiles::write(at(dir, QStringLiteral("a%1.jpg").arg(i)), bytes));
        ASSERT_TRUE(TestFiles::write(at(dir, QStringLiteral("b%1.jpg").arg(i)), bytes));
    }
    const ScanResult cold = runScan(options(true), { folderNode(dir.path()) });
    EXPECT_EQ(cold.groups.size(), pairs);
    EXPECT_EQ(cold.decoded, 2 * pairs);
    EXPECT_EQ(runScan(options(true), { folderNode(dir.path()) }).decoded, 0);
}

TEST(ScanEngineTest, SecondScanTakesFingerprintsFromTheCacheAndAnEditedFileIsHashedAgain)
{
    QTemporaryDir dir;
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(writeImage(makePhoto(100 + i), at(dir, QStringLiteral("p%1.jpg").arg(i))));
    ASSERT_TRUE(QFile::copy(at(dir, "p0.jpg"), at(dir, "p0-copy.jpg")));
    const ScanOptions similar = options(false);

    const ScanResult first = runScan(similar, { folderNode(dir.path()) });
    const ScanResult second = runScan(similar, { folderNode(dir.path()) });
    EXPECT_EQ(first.decoded, 7);
    EXPECT_EQ(second.decoded, 0);
    EXPECT_EQ(second.groups, first.groups);

    // p3 becomes a copy of p1's picture: it must be read again and now group with p1.
    ASSERT_TRUE(QFile::remove(at(dir, "p3.jpg")));
    ASSERT_TRUE(QFile::copy(at(dir, "p1.jpg"), at(dir, "p3.jpg")));
    const ScanResult third = runScan(similar, { folderNode(dir.path()) });
    EXPECT_EQ(third.decoded, 1);
    const QList<QStringList> expected { { "p0-copy.jpg", "p0.jpg" }, { "p1.jpg", "p3.jpg" } };
    EXPECT_EQ(relativeGroups(third.groups, dir.path()), expected);
    // The edited file's rows were replaced: the next scan reads nothing again.
    const ScanResult fourth = runScan(similar, { folderNode(dir.path()) });
    EXPECT_EQ(fourth.decoded, 0);
    EXPECT_EQ(fourth.groups, third.groups);
}

TEST(ScanEngineTest, StopWhileHashingLeavesACacheThatGivesTheSameGroups)
{
    QTemporaryDir dir;
    const int count = 600;
    const auto name
        = [](int i) { return QStringLiteral("f%1/p%2.jpg").arg(i / 100).arg(i, 3, 10, QLatin1Char('0')); };
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(writeImage(makePhoto(200 + i, 240, 180), at(dir, name(i))));
    for (int i = 0; i < count; i += 150)
        ASSERT_TRUE(QFile::copy(at(dir, name(i)), at(dir, QStringLiteral("copy%1.jpg").arg(i))));
    const ScanOptions similar = options(false);

    // The first report after the walk comes while the first batch is being hashed.
    const ScanResult stopped
        = runScan(similar, { folderNode(dir.path()) }, [](ScanEngine &engine, const ScanProgress &p) {
              if (p.stage != ScanProgress::Stage::Adding)
                  engine.stop();
          });
    ASSERT_TRUE(stopped.finished);
    EXPECT_EQ(stopped.outcome, ScanEngine::Outcome::Stopped);
    EXPECT_TRUE(stopped.groups.isEmpty());

    const ScanResult after = runScan(similar, { folderNode(dir.path()) });
    const ScanResult warm = runScan(similar, { folderNode(dir.path()) });
    EXPECT_EQ(after.outcome, ScanEngine::Outcome::Results);
    EXPECT_EQ(after.groups.size(), 4);
    EXPECT_GT(after.decoded, 0);
    EXPECT_EQ(warm.decoded, 0);
    EXPECT_EQ(warm.groups, after.groups);
}

// Each batch is written while the next one is hashed: every batch, the last one too, reaches the
// cache before the comparison, whichever finishes first.
TEST(ScanEngineTest, EveryBatchReachesTheCacheWhileTheNextIsHashed)
{
    QTemporaryDir dir;
    const int count = 3 * HashingStage::kBatchSize + 40;
    const auto name = [](int i) { return QStringLiteral("f%1/p%2.jpg").arg(i / 200).arg(i); };
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(writeImage(makePhoto(900 + i, 96, 72), at(dir, name(i))));
    for (int i = 0; i < count; i += 400)
        ASSERT_TRUE(QFile::copy(at(dir, name(i)), at(dir, QStringLiteral("copy%1.jpg").arg(i))));

    const ScanResult cold = runScan(options(false), { folderNode(dir.path()) });
    const ScanResult warm = runScan(options(false), { folderNode(dir.path()) });
    EXPECT_EQ(cold.outcome, ScanEngine::Outcome::Results);
    EXPECT_EQ(cold.decoded, count + 4);
    EXPECT_EQ(warm.decoded, 0);
    EXPECT_EQ(warm.groups, cold.groups);
}

struct OutcomeCase {
    const char *name;
    int photos;
    ScanEngine::Outcome outcome;
};

class EarlyOutcomeTest : public ::testing::TestWithParam<OutcomeCase>
{
};

TEST_P(EarlyOutcomeTest, NoOrOnePhotoEndsWithItsMessage)
{
    QTemporaryDir dir;
    for (int i = 0; i < GetParam().photos; ++i)
        ASSERT_TRUE(writeImage(makePhoto(300 + i), at(dir, QStringLiteral("p%1.jpg").arg(i))));
    ASSERT_TRUE(TestFiles::write(at(dir, "notes.txt"), "not a photo"));
    const ScanResult result = runScan(options(false), { folderNode(dir.path()) });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.outcome, GetParam().outcome);
    EXPECT_TRUE(result.groups.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Outcomes, EarlyOutcomeTest,
    ::testing::Values(OutcomeCase { "None", 0, ScanEngine::Outcome::NoPhotos },
        OutcomeCase { "One", 1, ScanEngine::Outcome::OnePhoto }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ScanEngineTest, StopWhileAddingEndsWithoutResults)
{
    QTemporaryDir dir;
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(TestFiles::write(at(dir, QStringLiteral("f%1/p.jpg").arg(i)), randomBytes(i, 100)));
    // Whatever stage the first report comes from, the scan ends stopped.
    const ScanResult result = runScan(options(false), { folderNode(dir.path()) },
        [](ScanEngine &engine, const ScanProgress &) { engine.stop(); });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::Stopped);
    EXPECT_TRUE(result.groups.isEmpty());
}

// The cache file is checked beside the listing: a damaged page that the scan never reads is still
// found, and the file replaced before the scan uses it.
TEST(ScanEngineTest, ACacheFileWithADamagedPageIsReplacedBeforeTheScanUsesIt)
{
    QTemporaryDir dir;
    for (int i = 0; i < 93; ++i)
        ASSERT_TRUE(writeImage(makePhoto(300 + i, 64, 48),
            at(dir, QStringLiteral("%1/p%2.jpg").arg(i < 90 ? "old" : "new").arg(i))));
    ASSERT_EQ(runScan(options(false), { folderNode(at(dir, "old")) }).decoded, 90);
    QFile cache(SqliteDBOperations::getDbPathInLibrary(
        SqliteDBOperations::cacheFileNameForScanType(ScanSource::thisComputer)));
    ASSERT_TRUE(cache.open(QIODevice::ReadWrite) && cache.size() > 16 * 16384 && cache.seek(10 * 16384));
    cache.write(QByteArray(16384, '\x5a'));
    cache.close();

    runScan(options(false), { folderNode(at(dir, "new")) });
    EXPECT_TRUE(QFileInfo::exists(cache.fileName() + QStringLiteral(".unusable")));
}

// Stop pressed while the sheet says the results are opening: the groups are shown at once, and
// the delayed hand-over that falls due later stays silent.
TEST(ScanEngineTest, StopDuringTheResultsDelayShowsTheResultsAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeImage(makePhoto(1), at(dir, "a.jpg")));
    ASSERT_TRUE(QFile::copy(at(dir, "a.jpg"), at(dir, "b.jpg")));
    QEventLoop loop;
    QList<ScanEngine::Outcome> outcomes;
    int groups = -1;
    ScanEngine *enginePtr = nullptr;
    ScanEngine engine({ {}, [&]() { enginePtr->stop(); },
        [&](ScanEngine::Outcome o, const QList<std::shared_ptr<DuplicatesGroup>> &g) {
            outcomes.append(o);
            groups = int(g.size());
            loop.quit();
        } });
    enginePtr = &engine;
    // The delayed hand-over falls due within the settling wait below.
    engine.setResultsDelay(0.5);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(engine.start(options(false), { folderNode(dir.path()) }));
    loop.exec();
    QEventLoop settle;
    QTimer::singleShot(800, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(outcomes, QList<ScanEngine::Outcome> { ScanEngine::Outcome::Results });
    EXPECT_EQ(groups, 1);
}

TEST(ScanEngineTest, FinalProgressOfTheAddingStageCountsEveryRecord)
{
    QTemporaryDir dir;
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(
            TestFiles::write(at(dir, QStringLiteral("d%1/p%2.jpg").arg(i % 4).arg(i)), randomBytes(i, 200)));
    ScanOptions o = options(false);
    std::optional<ScanProgress> lastAdding;
    runScan(o, { folderNode(dir.path()) }, [&](ScanEngine &, const ScanProgress &p) {
        if (p.stage == ScanProgress::Stage::Adding)
            lastAdding = p;
    });
    ASSERT_TRUE(lastAdding.has_value());
    EXPECT_EQ(lastAdding->recordCount, 30);
    EXPECT_DOUBLE_EQ(lastAdding->fraction, 0.02);
}

TEST(ScanEngineTest, RecordsListedElsewhereGoStraightToHashing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeImage(makePhoto(50), at(dir, "a.jpg")));
    ASSERT_TRUE(QFile::copy(at(dir, "a.jpg"), at(dir, "b.jpg")));
    ASSERT_TRUE(writeImage(makePhoto(51), at(dir, "c.jpg")));
    const ScanOptions o = options(false);
    const ScanResult result = runEngine([&](ScanEngine &engine) {
        RecordList records;
        for (const char *name : { "a.jpg", "b.jpg", "c.jpg" })
            records.append(ImageFileInfo::initWithPathForFile(at(dir, name), o.recordSettings()));
        return engine.startWithRecords(o, records, nullptr);
    });
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::Results);
    EXPECT_EQ(relativeGroups(result.groups, dir.path()), (QList<QStringList> { { "a.jpg", "b.jpg" } }));
}

// Photos left out by the date window are counted for the end of the scan to tell: with "captured
// in the last 30 days", photos without a capture date are all left out.
TEST(ScanEngineTest, PhotosOutsideTheDateWindowAreCounted)
{
    QTemporaryDir dir;
    for (const char *name : { "a.jpg", "b.jpg", "c.png" })
        ASSERT_TRUE(writeImage(makePhoto(7), at(dir, name)));
    ScanOptions o = options(false);
    o.period.enabled = true;
    o.period.filesFromDate = 0;
    o.period.photosFrom = 4;
    const ScanResult result = runScan(o, { folderNode(dir.path()) });
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::NoPhotos);
    EXPECT_EQ(result.walkReport.outsideScanPeriod, 3);
}

// The scan's stop flag reaches a cloud download that is still waiting for its file.
TEST(ScanEngineTest, StopReachesACloudDownloadThatWaits)
{
    const ScanOptions o = options(false);
    RecordList records;
    for (int i = 0; i < 2; ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->commonInit(RecordSettings { o.recordSettings().reSizeValue, 0, ScanSource::dropbox, 4 });
        record->filePath = QStringLiteral("Dropbox/%1.jpg").arg(i);
        records.append(record);
    }
    std::atomic<bool> stopAsked { false };
    std::atomic<bool> sawStop { false };
    const ScanResult stopped = runEngine([&](ScanEngine &engine) {
        return engine.startWithRecords(o, records, [&](ImageFileInfo &, const std::atomic<bool> &stop) {
            // Once: the scan cannot end before this request has been handled.
            if (!stopAsked.exchange(true))
                Dispatch::main([&engine] { engine.stop(); });
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!stop.load() && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::yield();
            sawStop = stop.load();
            return QString();
        });
    });
    EXPECT_EQ(stopped.outcome, ScanEngine::Outcome::Stopped);
    EXPECT_TRUE(sawStop.load());
}

TEST(ScanEngineTest, ALateJobOfAStoppedScanDoesNotEndTheNextScan)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeImage(makePhoto(60), at(dir, "a.jpg")));
    ASSERT_TRUE(QFile::copy(at(dir, "a.jpg"), at(dir, "b.jpg")));
    QList<ScanEngine::Outcome> outcomes;
    QEventLoop loop;
    ScanEngine *enginePtr = nullptr;
    bool stopFirst = true;
    ScanEngine engine({ {},
        [&]() {
            if (stopFirst)
                enginePtr->stop();
        },
        [&](ScanEngine::Outcome o, const QList<std::shared_ptr<DuplicatesGroup>> &) {
            outcomes.append(o);
            if (outcomes.size() == 1) {
                // The first scan's delayed hand-over falls due while the next scan waits for its own.
                stopFirst = false;
                enginePtr->setResultsDelay(1.5);
                EXPECT_TRUE(enginePtr->start(options(false), { folderNode(dir.path()) }));
                return;
            }
            loop.quit();
        } });
    enginePtr = &engine;
    engine.setResultsDelay(0.3);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(engine.start(options(false), { folderNode(dir.path()) }));
    loop.exec();
    QEventLoop settle;
    QTimer::singleShot(700, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(outcomes,
        (QList<ScanEngine::Outcome> { ScanEngine::Outcome::Results, ScanEngine::Outcome::Results }));
}

// Two scans in one process, each with its own bitmap size: every record is fingerprinted at the
// size of the scan that made it, whatever the other scan chose.
TEST(ScanEngineTest, TwoEnginesFingerprintWithTheirOwnBitmapSizes)
{
    QTemporaryDir dir;
    for (int seed = 0; seed < 6; ++seed)
        ASSERT_TRUE(writeImage(makePhoto(70 + seed), dir.filePath(QStringLiteral("p%1.jpg").arg(seed))));
    const int sides[2] = { 48, 96 };
    int finished = 0;
    QEventLoop loop;
    std::vector<std::unique_ptr<ScanEngine>> engines;
    for (int i = 0; i < 2; ++i) {
        engines.push_back(std::make_unique<ScanEngine>(ScanEngine::Callbacks {
            {}, {}, [&](ScanEngine::Outcome, const QList<std::shared_ptr<DuplicatesGroup>> &) {
                if (++finished == 2)
                    loop.quit();
            } }));
        engines.back()->setResultsDelay(0.0);
    }
    for (int i = 0; i < 2; ++i) {
        ScanOptions o = options(false);
        o.globals.reSizeValue = sides[i];
        ASSERT_TRUE(engines[size_t(i)]->start(o, { folderNode(dir.path()) }));
    }
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(finished, 2);
    for (int i = 0; i < 2; ++i) {
        const auto session = engines[size_t(i)]->session();
        ASSERT_EQ(session->arrImagesContent.size(), 6);
        const int variantBytes = (sides[i] * sides[i] + 7) / 8;
        for (const auto &record : session->arrImagesContent) {
            EXPECT_EQ(record->resizeValue, sides[i]);
            EXPECT_EQ(record->arrHashOfRotateFlipImages.storedForm().size(), 8 * variantBytes)
                << record->filePath.toStdString() << " at " << sides[i];
        }
    }
}

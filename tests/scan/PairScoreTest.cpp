// The pair score: its vetoes in order, the single-precision allowed distance, the variant walk
// and the GPS distance.
#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTransform>

#include "app/ScanGlobals.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/UserDefaults.h"
#include "scan/PairScore.h"

namespace
{

using CompareType = GlobalObjects::CompareType;

std::vector<uint8_t> zeros(int n)
{
    return std::vector<uint8_t>(n * n / 8, 0);
}

// A packed fingerprint whose first `count` bits are set.
std::vector<uint8_t> firstBitsSet(int n, int count)
{
    std::vector<uint8_t> bytes = zeros(n);
    for (int k = 0; k < count; ++k)
        bytes[k / 8] |= static_cast<uint8_t>(0x80u >> (k % 8));
    return bytes;
}

std::shared_ptr<ImageFileInfo> record(int n, const std::vector<std::vector<uint8_t>> &variants)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->resizeValue = n;
    r->fileSize = 1000;
    // The same content unless a test says otherwise: exact mode compares it.
    r->fileMd5 = QStringLiteral("0123456789abcdef0123456789abcdef");
    for (const auto &v : variants)
        r->arrHashOfRotateFlipImages.append(v);
    return r;
}

// Eight variants all far from zeros(n), except `identicalIndex` which equals it.
std::shared_ptr<ImageFileInfo> farExcept(int n, int identicalIndex)
{
    std::vector<std::vector<uint8_t>> variants(8, std::vector<uint8_t>(n * n / 8, 0xff));
    if (identicalIndex >= 0)
        variants[identicalIndex] = zeros(n);
    return record(n, variants);
}

PairScoreOptions similarOptions(int n = 64)
{
    PairScoreOptions o;
    o.compareType = CompareType::ctHash;
    o.sliderMinValue = 0.85f;
    o.reSizeValue = n;
    o.captureTimeInterval = 86400;
    o.gpsDistanceLimit = 100;
    return o;
}

void setCapture(ImageFileInfo &r, const QDateTime &when)
{
    if (!r.exifInfo)
        r.exifInfo = std::make_shared<ExifInfo>();
    r.exifInfo->captureDate = when;
}

void setPosition(ImageFileInfo &r, double latitude, double longitude)
{
    if (!r.exifInfo)
        r.exifInfo = std::make_shared<ExifInfo>();
    r.exifInfo->gpsLatitude = latitude;
    r.exifInfo->gpsLongitude = longitude;
}

const QDateTime kNoon = QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);

struct AllowedDistanceCase {
    int n;
    std::int64_t t;
};
class AllowedDistanceTest : public ::testing::TestWithParam<AllowedDistanceCase>
{
};

// Every bitmap size the options offer; N = 80 is where single precision (959) and double (960)
// part ways.
TEST_P(AllowedDistanceTest, IsTruncatedSinglePrecisionProduct)
{
    EXPECT_EQ(PairScore::allowedDistance(GetParam().n, 0.85f), GetParam().t);
}

// The word loop stops at the first word taking the distance past t: here a word of 64 bits after
// stop - 64. At N = 80, stopping at 960 bits of 6400 would give exactly m.
TEST_P(AllowedDistanceTest, AWalkStoppingPastTheLimitScoresBelowTheThreshold)
{
    const auto [n, t] = GetParam();
    const PairScoreOptions options = similarOptions(n);
    const auto a = record(n, { zeros(n) });
    for (std::int64_t stop = t + 1; stop <= t + 64; ++stop) {
        std::vector<uint8_t> bits = firstBitsSet(n, int(stop - 64));
        std::fill_n(bits.begin() + (stop - 64 + 63) / 64 * 8, 8, uint8_t(0xff));
        EXPECT_LT(PairScore::compareImages(*a, *record(n, { bits }), options), 0.85f)
            << "stopped at " << stop;
    }
}
INSTANTIATE_TEST_SUITE_P(BitmapSizes, AllowedDistanceTest,
    ::testing::Values(AllowedDistanceCase { 48, 345 }, AllowedDistanceCase { 56, 470 },
        AllowedDistanceCase { 64, 614 }, AllowedDistanceCase { 72, 777 }, AllowedDistanceCase { 80, 959 },
        AllowedDistanceCase { 88, 1161 }, AllowedDistanceCase { 96, 1382 }));

TEST(PairScoreDistance, LimitIsInclusiveAtN64)
{
    const auto a = record(64, { zeros(64) });
    const float at614
        = PairScore::compareImages(*a, *record(64, { firstBitsSet(64, 614) }), similarOptions());
    const float at615
        = PairScore::compareImages(*a, *record(64, { firstBitsSet(64, 615) }), similarOptions());
    EXPECT_EQ(at614, 3482.0f / 4096.0f);
    EXPECT_GE(at614, 0.85f);
    EXPECT_LT(at615, 0.85f);
}

TEST(PairScoreDistance, NonMatchScoreComesFromPartialSum)
{
    // All bits differ: the loop stops after 10 words (640 > 614), not at 4096.
    const auto a = record(64, { zeros(64) });
    const auto b = record(64, { std::vector<uint8_t>(512, 0xff) });
    EXPECT_EQ(PairScore::compareImages(*a, *b, similarOptions()), (4096.0f - 640.0f) / 4096.0f);
}

TEST(PairScoreDistance, FirstMatchingVariantWins)
{
    PairScoreOptions options = similarOptions();
    options.compareRotateImages = true;
    options.compareFlipImages = true;
    const auto a = record(64, { zeros(64) });
    const auto b = record(64, { firstBitsSet(64, 614), zeros(64), zeros(64), zeros(64) });
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), 3482.0f / 4096.0f);
    EXPECT_EQ(PairScore::compareImages(*a, *record(64, { zeros(64) }), options), 1.0f);
}

struct VariantCase {
    CompareType type;
    bool rotate;
    bool flip;
    std::vector<int> tried;
};
class VariantSetTest : public ::testing::TestWithParam<VariantCase>
{
};

// Each variant in turn is the only one identical to A; the pair matches exactly when that
// variant is among those the options let the walk try.
TEST_P(VariantSetTest, TriesOnlyAllowedVariants)
{
    PairScoreOptions options = similarOptions();
    options.compareType = GetParam().type;
    options.compareRotateImages = GetParam().rotate;
    options.compareFlipImages = GetParam().flip;
    const auto a = record(64, { zeros(64) });
    for (int i = 0; i < 8; ++i) {
        const bool tried
            = std::find(GetParam().tried.begin(), GetParam().tried.end(), i) != GetParam().tried.end();
        const float score = PairScore::compareImages(*a, *farExcept(64, i), options);
        EXPECT_EQ(score == 1.0f, tried) << "variant " << i;
    }
}
INSTANTIATE_TEST_SUITE_P(Options, VariantSetTest,
    ::testing::Values(VariantCase { CompareType::ctHash, false, false, { 0 } },
        VariantCase { CompareType::ctHash, true, false, { 0, 1, 2, 3 } },
        VariantCase { CompareType::ctHash, false, true, { 0, 4, 5, 6, 7 } },
        VariantCase { CompareType::ctHash, true, true, { 0, 1, 2, 3, 4, 5, 6, 7 } },
        VariantCase { CompareType::ctMD5, true, true, { 0 } }));

// The eight variants of a grey image, hashed as the record does it (4 x 4 grid).
std::shared_ptr<ImageFileInfo> hashedImage(const QImage &grey)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->resizeValue = grey.width();
    const QImage mirrored = grey.mirrored(true, false);
    QList<QImage> images;
    for (const QImage &base : { grey, mirrored }) {
        images.append(base);
        for (int quarter = 1; quarter <= 3; ++quarter)
            images.append(base.transformed(QTransform().rotate(90 * quarter)));
    }
    r->updateImageHashForRotateImages(images, 4, 4);
    return r;
}

QImage asymmetricGrey(int n)
{
    QImage image(n, n, QImage::Format_Grayscale8);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            image.scanLine(y)[x] = static_cast<uchar>((x * x * 7 + y * 13 + (x * y) % 29) % 256);
    return image;
}

TEST(PairScoreVariants, MirrorCopyMatchesOnlyWithMirroring)
{
    const QImage original = asymmetricGrey(64);
    const auto a = hashedImage(original);
    const auto b = hashedImage(original.mirrored(true, false));
    ASSERT_EQ(b->arrHashOfRotateFlipImages.count(), 8);
    PairScoreOptions options = similarOptions();
    options.compareRotateImages = true;
    EXPECT_LT(PairScore::compareImages(*a, *b, options), 0.85f);
    options.compareFlipImages = true;
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), 1.0f);
}

// A photo narrower than N gets no fingerprint from its file and is never compared, in either role.
TEST(PairScoreVetoes, ImageNarrowerThanBitmapIsNeverCompared)
{
    const RecordSettings settings { 64, 0, ScanSource::thisComputer, 4 };
    QTemporaryDir dir;
    const QImage picture = asymmetricGrey(200).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("wide.png"))));
    ASSERT_TRUE(picture.scaled(60, 200).save(dir.filePath(QStringLiteral("narrow.png"))));
    const auto wide = ImageFileInfo::initWithPathForFile(dir.filePath(QStringLiteral("wide.png")), settings);
    const auto narrow
        = ImageFileInfo::initWithPathForFile(dir.filePath(QStringLiteral("narrow.png")), settings);
    ASSERT_TRUE(wide && narrow);
    wide->computeFileHash();
    narrow->computeFileHash();
    ASSERT_EQ(wide->arrHashOfRotateFlipImages.count(), 8);
    EXPECT_TRUE(narrow->blDoNotCompare);
    EXPECT_EQ(PairScore::compareImages(*wide, *narrow, similarOptions()), PairScore::kNoMatch);
    EXPECT_EQ(PairScore::compareImages(*narrow, *wide, similarOptions()), PairScore::kNoMatch);
    EXPECT_EQ(PairScore::compareImages(*wide, *wide, similarOptions()), 1.0f);
}

TEST(PairScoreVetoes, ExactModeDifferentSizeIsNoMatchEvenWhenIdentical)
{
    PairScoreOptions options = similarOptions(80);
    options.compareType = CompareType::ctMD5;
    const auto a = record(80, { zeros(80) });
    const auto b = record(80, { zeros(80) });
    b->fileSize = a->fileSize + 1;
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), PairScore::kNoMatch);
    b->fileSize = a->fileSize;
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), 1.0f);
}

// Same size and the same fingerprint are not enough for an exact copy: a few changed pixels leave
// the fingerprint as it is but change the bytes. Without a sum nothing is proven identical.
TEST(PairScoreVetoes, ExactModeNeedsIdenticalContent)
{
    PairScoreOptions options = similarOptions(80);
    options.compareType = CompareType::ctMD5;
    const auto a = record(80, { zeros(80) });
    const auto b = record(80, { zeros(80) });
    b->fileMd5 = QStringLiteral("fedcba9876543210fedcba9876543210");
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), PairScore::kNoMatch);
    b->fileMd5.clear();
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), PairScore::kNoMatch);
    EXPECT_EQ(PairScore::compareImages(*b, *a, options), PairScore::kNoMatch);
    a->fileMd5.clear();
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), PairScore::kNoMatch);
    // A similar scan never looks at the sums.
    EXPECT_EQ(PairScore::compareImages(*a, *b, similarOptions(80)), 1.0f);
}

TEST(PairScoreVetoes, OnlyTheMembersComparabilityCounts)
{
    const auto a = record(64, { zeros(64) });
    const auto b = record(64, { zeros(64) });
    a->blDoNotCompare = true;
    EXPECT_EQ(PairScore::compareImages(*a, *b, similarOptions()), 1.0f);
    b->blDoNotCompare = true;
    EXPECT_EQ(PairScore::compareImages(*a, *b, similarOptions()), PairScore::kNoMatch);
}

TEST(PairScoreVetoes, EitherRecordWithoutVariantsIsNoMatch)
{
    const auto full = record(64, { zeros(64) });
    const auto empty = record(64, {});
    EXPECT_EQ(PairScore::compareImages(*full, *empty, similarOptions()), PairScore::kNoMatch);
    EXPECT_EQ(PairScore::compareImages(*empty, *full, similarOptions()), PairScore::kNoMatch);
}

struct TimeCase {
    const char *name;
    CompareType type;
    std::uint8_t scanType;
    bool captureDates; // else creation dates only
    qint64 differenceMs;
    double limit;
    bool vetoed;
};
class TimeVetoTest : public ::testing::TestWithParam<TimeCase>
{
};

TEST_P(TimeVetoTest, AppliesLimitToTheRightDates)
{
    const TimeCase &c = GetParam();
    PairScoreOptions options = similarOptions(80);
    options.compareType = c.type;
    options.scanType = static_cast<ScanSource>(c.scanType);
    options.captureTimeInterval = c.limit;
    const auto a = record(80, { zeros(80) });
    const auto b = record(80, { zeros(80) });
    if (c.captureDates) {
        setCapture(*a, kNoon);
        setCapture(*b, kNoon.addMSecs(c.differenceMs));
        // Creation dates far apart must not matter when capture dates exist.
        a->createDate = kNoon.addYears(-3);
        b->createDate = kNoon;
    } else {
        a->createDate = kNoon;
        b->createDate = kNoon.addMSecs(c.differenceMs);
    }
    const float score = PairScore::compareImages(*a, *b, options);
    EXPECT_EQ(score == PairScore::kNoMatch, c.vetoed) << c.name;
}
INSTANTIATE_TEST_SUITE_P(Dates, TimeVetoTest,
    ::testing::Values(TimeCase { "equal capture, zero limit", CompareType::ctHash, 0, true, 0, 0, false },
        TimeCase { "half second, zero limit", CompareType::ctHash, 0, true, 500, 0, true },
        TimeCase { "difference equals limit", CompareType::ctHash, 0, true, -60000, 60, false },
        TimeCase { "capture dates in exact mode", CompareType::ctMD5, 0, true, 61000, 60, true },
        TimeCase { "creation fall-back", CompareType::ctHash, 0, false, 61000, 60, true },
        TimeCase { "creation fall-back, Dropbox", CompareType::ctHash, 2, false, 61000, 60, true },
        TimeCase { "no fall-back on Google Drive", CompareType::ctHash, 1, false, 61000, 60, false },
        TimeCase { "no fall-back in exact mode", CompareType::ctMD5, 0, false, 61000, 60, false }));

TEST(PairScoreVetoes, OneCaptureDateFallsBackToCreationDates)
{
    PairScoreOptions options = similarOptions(80);
    options.captureTimeInterval = 60;
    const auto a = record(80, { zeros(80) });
    const auto b = record(80, { zeros(80) });
    setCapture(*a, kNoon);
    a->createDate = kNoon;
    b->createDate = kNoon.addSecs(3600);
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), PairScore::kNoMatch);
    b->createDate = QDateTime();
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), 1.0f);
}

TEST(PairScoreVetoes, GpsLimitAndMissingPositions)
{
    PairScoreOptions options = similarOptions(64);
    options.gpsDistanceLimit = 1;
    const auto a = record(64, { zeros(64) });
    const auto b = record(64, { zeros(64) });
    setPosition(*a, 48.0, 11.0);
    setPosition(*b, 48.0001, 11.0); // about 11 m north
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), PairScore::kNoMatch);
    options.gpsDistanceLimit = 20;
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), 1.0f);
    options.gpsDistanceLimit = 1;
    setPosition(*b, 0.0, 11.0); // on the equator: counts as no position
    EXPECT_EQ(PairScore::compareImages(*a, *b, options), 1.0f);
}

TEST(PairScoreGps, GreatCircleDistanceAndNoPosition)
{
    const auto a = record(64, {});
    const auto b = record(64, {});
    EXPECT_EQ(PairScore::gpsDistance(*a, *b), -1.0); // no EXIF at all
    setPosition(*a, 10.0, 20.0);
    setPosition(*b, 11.0, 20.0);
    // One degree along a meridian of the 6,371,008.8 m sphere.
    EXPECT_NEAR(PairScore::gpsDistance(*a, *b), 111195.0802, 0.001);
    for (int zero = 0; zero < 4; ++zero) {
        setPosition(*a, zero == 0 ? 0.0 : 1.0, zero == 1 ? 0.0 : 1.0);
        setPosition(*b, zero == 2 ? 0.0 : 2.0, zero == 3 ? 0.0 : 2.0);
        EXPECT_EQ(PairScore::gpsDistance(*a, *b), -1.0) << "zero coordinate " << zero;
    }
}

} // namespace

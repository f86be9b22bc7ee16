// ExifInfo from property dictionaries and from files whose EXIF was written with Exiv2, and the
// English texts of its coded values.
#include <gtest/gtest.h>

#include <functional>

#include <QTemporaryDir>

#include "model/ExifInfo.h"
#include "model/ExifValueTexts.h"
#include "platform/ImageSource.h"
#include "platform/ImageSourceFixtures.h"

using namespace ImageSourceFixtures;

namespace
{

QVariantMap section(const char *name, const QVariantMap &values)
{
    return QVariantMap { { QLatin1String(name), values } };
}

QVariantMap merged(QVariantMap a, const QVariantMap &b)
{
    a.insert(b);
    return a;
}

struct ParseCase {
    const char *name;
    QVariantMap properties;
    std::function<void(const ExifInfo &)> check;
};

class ExifInfoParseTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ExifInfoParseTest, FillsFieldsFromProperties)
{
    ExifInfo info;
    info.readExifProperties(GetParam().properties);
    GetParam().check(info);
}

const QVariantMap kBase { { QStringLiteral("ColorModel"), QStringLiteral("RGB") } };

INSTANTIATE_TEST_SUITE_P(Properties, ExifInfoParseTest,
    ::testing::Values(ParseCase { "pixelSize",
                          { { QStringLiteral("PixelWidth"), 4000 }, { QStringLiteral("PixelHeight"), 3000 } },
                          [](const ExifInfo &i) {
                              EXPECT_EQ(i.imageSize, QStringLiteral("4000 x 3000"));
                              EXPECT_EQ(i.pixelWidth, 4000);
                              EXPECT_EQ(i.pixelHeight, 3000);
                          } },
        ParseCase { "noPixelSize", kBase,
            [](const ExifInfo &i) {
                EXPECT_EQ(i.imageSize, QStringLiteral("0 x 0"));
                EXPECT_EQ(i.colorModel, QStringLiteral("RGB"));
            } },
        ParseCase { "dpiEqual",
            { { QStringLiteral("DPIWidth"), 72.0 }, { QStringLiteral("DPIHeight"), 72.0 } },
            [](const ExifInfo &i) { EXPECT_EQ(i.imageDPI, QStringLiteral("72.0 x 72.0")); } },
        ParseCase { "dpiOnlyOne", merged(kBase, { { QStringLiteral("DPIWidth"), 72.0 } }),
            [](const ExifInfo &i) {
                EXPECT_EQ(i.dpiWidth, 0.0);
                EXPECT_EQ(i.dpiHeight, 0.0);
                EXPECT_TRUE(i.imageDPI.isEmpty());
            } },
        // Width is the horizontal resolution and is printed first.
        ParseCase { "dpiDiffering",
            { { QStringLiteral("DPIWidth"), 300.0 }, { QStringLiteral("DPIHeight"), 72.0 } },
            [](const ExifInfo &i) {
                EXPECT_EQ(i.dpiWidth, 300.0);
                EXPECT_EQ(i.dpiHeight, 72.0);
                EXPECT_EQ(i.imageDPI, QStringLiteral("300.0 x 72.0"));
            } },
        ParseCase { "exposure",
            section("{Exif}",
                { { QStringLiteral("ExposureBiasValue"), -0.333 }, { QStringLiteral("FocalLength"), 50.0 },
                    { QStringLiteral("ISOSpeedRatings"), QVariantList { 200, 400 } },
                    { QStringLiteral("MeteringMode"), 5 },
                    { QStringLiteral("LightSource"), QStringLiteral("5") } }),
            [](const ExifInfo &i) {
                EXPECT_EQ(i.exposureBias, QStringLiteral("-0.33 EV"));
                EXPECT_EQ(i.folcalLength, QStringLiteral("50 mm"));
                EXPECT_EQ(i.isoSpeedRating, QStringLiteral("200"));
                EXPECT_EQ(i.meteringMode, QStringLiteral("5"));
                EXPECT_TRUE(i.lightSource.isEmpty()); // a text is not a number
            } },
        ParseCase { "fractionalFocalLengthAndEmptyIso",
            section("{Exif}",
                { { QStringLiteral("FocalLength"), 4.2 },
                    { QStringLiteral("ISOSpeedRatings"), QVariantList {} } }),
            [](const ExifInfo &i) {
                EXPECT_EQ(i.folcalLength, QStringLiteral("4.2 mm"));
                EXPECT_TRUE(i.isoSpeedRating.isEmpty());
            } },
        ParseCase { "flashDidNotFire", section("{Exif}", { { QStringLiteral("Flash"), 16 } }),
            [](const ExifInfo &i) { EXPECT_FALSE(i.flashFired); } },
        ParseCase { "flashAutoDidNotFire", section("{Exif}", { { QStringLiteral("Flash"), 24 } }),
            [](const ExifInfo &i) { EXPECT_FALSE(i.flashFired); } },
        ParseCase { "flashFired", section("{Exif}", { { QStringLiteral("Flash"), 1 } }),
            [](const ExifInfo &i) { EXPECT_TRUE(i.flashFired); } },
        ParseCase { "captureDate",
            section(
                "{Exif}", { { QStringLiteral("DateTimeOriginal"), QStringLiteral("2021:07:04 18:30:05") } }),
            [](const ExifInfo &i) {
                ASSERT_TRUE(i.captureDate.has_value());
                EXPECT_EQ(*i.captureDate, QDateTime(QDate(2021, 7, 4), QTime(18, 30, 5)));
            } },
        ParseCase { "captureDateUnparsable",
            section(
                "{Exif}", { { QStringLiteral("DateTimeOriginal"), QStringLiteral("2021-07-04 18:30:05") } }),
            [](const ExifInfo &i) { EXPECT_FALSE(i.captureDate.has_value()); } },
        ParseCase { "tiff",
            section("{TIFF}",
                { { QStringLiteral("Make"), QStringLiteral("Maker") },
                    { QStringLiteral("Model"), QStringLiteral("Model 1") },
                    { QStringLiteral("Orientation"), 6 }, { QStringLiteral("Software"), 7 } }),
            [](const ExifInfo &i) {
                EXPECT_EQ(i.cameraMaker, QStringLiteral("Maker"));
                EXPECT_EQ(i.cameraModel, QStringLiteral("Model 1"));
                EXPECT_EQ(i.orientation, 6);
                EXPECT_TRUE(i.editingSoftware.isEmpty());
            } },
        // The lens is read whether or not the file has IPTC data.
        ParseCase { "lensWithoutIptc",
            section("{ExifAux}", { { QStringLiteral("LensModel"), QStringLiteral("50mm f/1.8") } }),
            [](const ExifInfo &i) { EXPECT_EQ(i.cameraLensModel, QStringLiteral("50mm f/1.8")); } },
        ParseCase { "lensAfterKeywordsThatAreNotAList",
            merged(section("{IPTC}", { { QStringLiteral("Keywords"), QStringLiteral("beach") } }),
                section("{ExifAux}", { { QStringLiteral("LensModel"), QStringLiteral("Zoom") } })),
            [](const ExifInfo &i) {
                EXPECT_TRUE(i.keywords.isEmpty());
                EXPECT_EQ(i.cameraLensModel, QStringLiteral("Zoom"));
            } },
        ParseCase { "keywords",
            section("{IPTC}",
                { { QStringLiteral("Keywords"),
                    QVariantList { QStringLiteral("beach"), 3, QStringLiteral("sunset") } } }),
            [](const ExifInfo &i) { EXPECT_EQ(i.keywords, QStringLiteral("beach, sunset")); } },
        ParseCase { "sectionThatIsNotADictionary",
            { { QStringLiteral("{Exif}"), QStringLiteral("broken") }, { QStringLiteral("{ExifAux}"), 1 } },
            [](const ExifInfo &i) {
                EXPECT_FALSE(i.captureDate.has_value());
                EXPECT_TRUE(i.cameraLensModel.isEmpty());
            } }),
    [](const auto &info) { return std::string(info.param.name); });

struct Hemisphere {
    const char *name;
    const char *latitudeRef;
    const char *longitudeRef;
    double latitude;
    double longitude;
    int altitudeRef; // 1: below sea level
    double altitude;
};

class ExifInfoGpsTest : public ::testing::TestWithParam<Hemisphere>
{
};

// Positions are signed so that distances between photos on either side of a meridian come out right.
TEST_P(ExifInfoGpsTest, SignsPositionsByHemisphereInFiles)
{
    const Hemisphere &h = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gps.jpg"));
    ImageSource::initializeLibraries();
    ASSERT_TRUE(markedImage(QSize(64, 48)).save(file, "JPEG"));
    ASSERT_TRUE(editMetadata(file, [&](Exiv2::ExifData &exif) {
        exif["Exif.GPSInfo.GPSLatitude"] = std::string("48/1 51/1 36/1");
        exif["Exif.GPSInfo.GPSLatitudeRef"] = std::string(h.latitudeRef);
        exif["Exif.GPSInfo.GPSLongitude"] = std::string("2/1 21/1 0/1");
        exif["Exif.GPSInfo.GPSLongitudeRef"] = std::string(h.longitudeRef);
        exif["Exif.GPSInfo.GPSAltitude"] = Exiv2::URational(355, 10);
        exif["Exif.GPSInfo.GPSAltitudeRef"] = std::to_string(h.altitudeRef);
    }));

    ExifInfo info;
    info.initWithFileWithPath(file);
    EXPECT_NEAR(info.gpsLatitude, h.latitude, 1e-9);
    EXPECT_NEAR(info.gpsLongitude, h.longitude, 1e-9);
    EXPECT_EQ(info.gpsLatitudeRef, QString::fromLatin1(h.latitudeRef));
    EXPECT_EQ(info.gpsLongitudeRef, QString::fromLatin1(h.longitudeRef));
    ASSERT_TRUE(info.gpsAltitude.has_value());
    EXPECT_DOUBLE_EQ(*info.gpsAltitude, h.altitude);
}

INSTANTIATE_TEST_SUITE_P(Hemispheres, ExifInfoGpsTest,
    ::testing::Values(Hemisphere { "northEast", "N", "E", 48.86, 2.35, 0, 35.5 },
        Hemisphere { "northWest", "N", "W", 48.86, -2.35, 1, -35.5 },
        Hemisphere { "southEast", "S", "E", -48.86, 2.35, 0, 35.5 },
        Hemisphere { "southWest", "S", "W", -48.86, -2.35, 1, -35.5 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ExifInfoFileTest, ReadsWhatExiv2Wrote)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("full.jpg"));
    ImageSource::initializeLibraries();
    ASSERT_TRUE(markedImage(QSize(400, 300)).save(file, "JPEG"));
    ASSERT_TRUE(editMetadata(file, [](Exiv2::ExifData &exif) {
        exif["Exif.Image.Make"] = std::string("Maker");
        exif["Exif.Image.Model"] = std::string("Camera 2");
        exif["Exif.Image.Software"] = std::string("Editor 1.0");
        exif["Exif.Image.Orientation"] = uint16_t(8);
        exif["Exif.Image.XResolution"] = Exiv2::URational(300, 1);
        exif["Exif.Image.YResolution"] = Exiv2::URational(150, 1);
        exif["Exif.Image.ResolutionUnit"] = uint16_t(2);
        exif["Exif.Photo.DateTimeOriginal"] = std::string("2020:02:29 23:59:58");
        exif["Exif.Photo.Flash"] = uint16_t(16);
        exif["Exif.Photo.FocalLength"] = Exiv2::URational(35, 1);
        exif["Exif.Photo.ExposureBiasValue"] = Exiv2::Rational(-1, 3);
        exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(800);
        exif["Exif.Photo.ExposureProgram"] = uint16_t(3);
        exif["Exif.Photo.SceneCaptureType"] = uint16_t(2);
        exif["Exif.Photo.LensModel"] = std::string("Prime 35");
    }));

    ExifInfo info;
    info.initWithFileWithPath(file);
    EXPECT_EQ(info.pixelWidth, 400);
    EXPECT_EQ(info.pixelHeight, 300);
    EXPECT_EQ(info.imageSize, QStringLiteral("400 x 300"));
    EXPECT_EQ(info.cameraMaker, QStringLiteral("Maker"));
    EXPECT_EQ(info.cameraModel, QStringLiteral("Camera 2"));
    EXPECT_EQ(info.editingSoftware, QStringLiteral("Editor 1.0"));
    EXPECT_EQ(info.orientation, 8);
    EXPECT_EQ(info.imageDPI, QStringLiteral("300.0 x 150.0"));
    ASSERT_TRUE(info.captureDate.has_value());
    EXPECT_EQ(*info.captureDate, QDateTime(QDate(2020, 2, 29), QTime(23, 59, 58)));
    EXPECT_FALSE(info.flashFired);
    EXPECT_EQ(info.folcalLength, QStringLiteral("35 mm"));
    EXPECT_EQ(info.exposureBias, QStringLiteral("-0.33 EV"));
    EXPECT_EQ(info.isoSpeedRating, QStringLiteral("800"));
    EXPECT_EQ(info.exposureProgram, QStringLiteral("3"));
    EXPECT_EQ(info.sceneCaptureType, QStringLiteral("2"));
    EXPECT_EQ(info.cameraLensModel, QStringLiteral("Prime 35"));
    EXPECT_EQ(info.colorModel, QStringLiteral("RGB"));
}

TEST(ExifInfoFileTest, FlashThatFiredAndAFileWithoutMetadata)
{
    QTemporaryDir dir;
    const QString fired = dir.filePath(QStringLiteral("fired.jpg"));
    ImageSource::initializeLibraries();
    ASSERT_TRUE(markedImage(QSize(40, 30)).save(fired, "JPEG"));
    ASSERT_TRUE(editMetadata(fired, [](Exiv2::ExifData &exif) { exif["Exif.Photo.Flash"] = uint16_t(1); }));
    ExifInfo info;
    info.initWithFileWithPath(fired);
    EXPECT_TRUE(info.flashFired);

    const QString plain = dir.filePath(QStringLiteral("plain.png"));
    ASSERT_TRUE(markedImage(QSize(40, 30)).save(plain, "PNG"));
    ExifInfo bare;
    bare.initWithFileWithPath(plain);
    EXPECT_EQ(bare.imageSize, QStringLiteral("40 x 30"));
    // The density every PNG writer puts in its pHYs chunk.
    EXPECT_EQ(bare.imageDPI, QStringLiteral("96.0 x 96.0"));
    EXPECT_FALSE(bare.captureDate.has_value());

    ExifInfo unreadable;
    unreadable.initWithFileWithPath(dir.filePath(QStringLiteral("missing.jpg")));
    EXPECT_TRUE(unreadable.imageSize.isEmpty());
    EXPECT_EQ(unreadable.pixelWidth, 0);
}

// Without EXIF resolution the format's density (300 x 150) applies; the rating is EXIF's, else XMP's.
struct DensityCase {
    const char *suffix;
    bool exifResolution;
    int exifRating, xmpRating;
    const char *dpi, *rating;
};

class ExifInfoDensityTest : public ::testing::TestWithParam<DensityCase>
{
};

TEST_P(ExifInfoDensityTest, FillsResolutionAndRating)
{
    const DensityCase &k = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("picture.") + QLatin1String(k.suffix));
    ImageSource::initializeLibraries();
    QImage image = markedImage(QSize(40, 30));
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(5906);
    ASSERT_TRUE(image.save(file));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    auto edited = Exiv2::ImageFactory::open(std::string(QFile::encodeName(file).constData()));
#pragma GCC diagnostic pop
    edited->readMetadata();
    if (k.exifResolution) {
        edited->exifData()["Exif.Image.XResolution"] = Exiv2::URational(240, 1);
        edited->exifData()["Exif.Image.YResolution"] = Exiv2::URational(240, 1);
    }
    if (k.exifRating)
        edited->exifData()["Exif.Image.Rating"] = uint16_t(k.exifRating);
    if (k.xmpRating)
        edited->xmpData()["Xmp.xmp.Rating"] = std::to_string(k.xmpRating);
    edited->writeMetadata();
    ExifInfo info;
    info.initWithFileWithPath(file);
    EXPECT_EQ(info.imageDPI, QLatin1String(k.dpi));
    EXPECT_EQ(info.rating, QLatin1String(k.rating));
}

INSTANTIATE_TEST_SUITE_P(Files, ExifInfoDensityTest,
    ::testing::Values(DensityCase { "jpg", false, 0, 0, "300.0 x 150.0", "" },
        DensityCase { "png", false, 0, 0, "300.0 x 150.0", "" },
        DensityCase { "jpg", true, 0, 0, "240.0 x 240.0", "" }, DensityCase { "jpg", false, 0, 4, "300.0 x 150.0", "4" },
        DensityCase { "jpg", false, 3, 5, "300.0 x 150.0", "3" }));

struct TextCase {
    const char *name;
    std::function<QString()> text;
    const char *expected;
};

class ExifValueTextsTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ExifValueTextsTest, GivesTheStandardsWords)
{
    EXPECT_EQ(GetParam().text(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, ExifValueTextsTest,
    ::testing::Values(
        TextCase { "orientation6", [] { return exifOrientationText(6); }, "6 (Rotated 90° CCW)" },
        TextCase { "orientation3", [] { return exifOrientationText(3); }, "3 (Rotated 180° CW)" },
        TextCase { "orientation0", [] { return exifOrientationText(0); }, "--" },
        TextCase { "orientation9", [] { return exifOrientationText(9); }, "--" },
        TextCase { "metering255", [] { return exifMeteringModeText(QStringLiteral("255")); }, "other" },
        TextCase { "metering7", [] { return exifMeteringModeText(QStringLiteral("7")); }, "---" },
        TextCase { "meteringEmpty", [] { return exifMeteringModeText(QString()); }, "---" },
        TextCase { "meteringWords", [] { return exifMeteringModeText(QStringLiteral("Spot")); }, "---" },
        TextCase { "sensing6", [] { return exifSensingMethodText(QStringLiteral("6")); }, "---" },
        TextCase {
            "sensing7", [] { return exifSensingMethodText(QStringLiteral("7")); }, "Trilinear sensor" },
        TextCase { "light16", [] { return exifLightSourceText(QStringLiteral("16")); }, "---" },
        TextCase {
            "light255", [] { return exifLightSourceText(QStringLiteral("255")); }, "Other light source" },
        TextCase { "program8", [] { return exifExposureProgramText(QStringLiteral("8")); },
            "Landscape mode (for landscape photos with the background in focus)" },
        TextCase { "mode2", [] { return exifExposureModeText(QStringLiteral("2")); }, "Auto bracket" },
        TextCase { "scene3", [] { return exifSceneCaptureTypeText(QStringLiteral("3")); }, "Night scene" },
        TextCase { "sceneFraction", [] { return exifSceneCaptureTypeText(QStringLiteral("1.5")); }, "---" }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

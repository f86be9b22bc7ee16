// The image source on generated files: every Qt format, EXIF orientation, embedded thumbnails valid
// and stale, properties, and pictures too large for Qt's default allocation limit.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/DecodeBudget.h"
#include "platform/ImageSource.h"
#include "platform/ImageSourceFixtures.h"
#include "support/TestFiles.h"

using namespace ImageSourceFixtures;

namespace
{

class ImageSourceTest : public ImageFileTest
{
};

struct FormatCase {
    const char *format;
    const char *fileName;
};

class ImageSourceFormatTest : public ImageSourceTest, public ::testing::WithParamInterface<FormatCase>
{
};

TEST_P(ImageSourceFormatTest, ReadsSizeAndGivesAnUprightThumbnail)
{
    const QString file = path(QString::fromLatin1(GetParam().fileName));
    ASSERT_TRUE(markedImage(QSize(400, 300)).save(file, GetParam().format));

    const ImageSource source(file);
    ASSERT_TRUE(source.isValid());
    EXPECT_EQ(source.pixelSize(), QSize(400, 300));
    const QImage thumbnail = source.thumbnail(80);
    EXPECT_EQ(thumbnail.size(), QSize(80, 60));
    EXPECT_TRUE(isUprightMarked(thumbnail));
    EXPECT_EQ(source.properties().value(QStringLiteral("PixelWidth")).toInt(), 400);
    EXPECT_EQ(source.properties().value(QStringLiteral("PixelHeight")).toInt(), 300);
}

INSTANTIATE_TEST_SUITE_P(QtFormats, ImageSourceFormatTest,
    ::testing::Values(FormatCase { "JPEG", "a.jpg" }, FormatCase { "PNG", "a.png" },
        FormatCase { "TIFF", "a.tif" }, FormatCase { "WEBP", "a.webp" }, FormatCase { "BMP", "a.bmp" }),
    [](const auto &info) { return std::string(info.param.format); });

TEST_F(ImageSourceTest, ReadsGif)
{
    // Qt writes no GIF; a minimal one-pixel GIF89a is enough to prove the reader path.
    const QByteArray gif
        = QByteArray::fromBase64("R0lGODlhAQABAIAAAP8AAP///yH5BAAAAAAALAAAAAABAAEAAAICRAEAOw==");
    ASSERT_TRUE(TestFiles::write(path("a.gif"), gif));
    const ImageSource source(path("a.gif"));
    EXPECT_EQ(source.pixelSize(), QSize(1, 1));
    EXPECT_EQ(source.thumbnail(80).size(), QSize(1, 1));
}

class ImageSourceOrientationTest : public ImageSourceTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(ImageSourceOrientationTest, TurnsTheDecodedPictureUprightOnce)
{
    const int orientation = GetParam();
    const QImage stored = storedFor(markedImage(QSize(400, 300)), orientation);
    // Qt's TIFF and WebP readers know the orientation tag too; it must still be applied only once.
    for (const char *format : { "JPEG", "TIFF", "WEBP" }) {
        SCOPED_TRACE(format);
        const QString file = path(QStringLiteral("o.") + QString::fromLatin1(format).toLower());
        ASSERT_TRUE(stored.save(file, format, 92));
        ASSERT_TRUE(editMetadata(
            file, [&](Exiv2::ExifData &exif) { exif["Exif.Image.Orientation"] = uint16_t(orientation); }));

        const ImageSource source(file);
        EXPECT_EQ(source.pixelSize(), stored.size());
        EXPECT_EQ(source.orientation(), orientation);
        const QImage thumbnail = source.thumbnail(80);
        EXPECT_EQ(thumbnail.size(), QSize(80, 60));
        EXPECT_TRUE(isUprightMarked(thumbnail));
    }
}

TEST_P(ImageSourceOrientationTest, TurnsAnEmbeddedThumbnailUprightOnce)
{
    const int orientation = GetParam();
    const QImage stored = storedFor(markedImage(QSize(800, 600)), orientation);
    // The main picture is all blue, so only the embedded thumbnail carries the mark.
    ASSERT_TRUE(QImage(stored.size(), QImage::Format_RGB32).save(path("t.jpg"), "JPEG"));
    ASSERT_TRUE(editMetadata(path("t.jpg"), [&](Exiv2::ExifData &exif) {
        exif["Exif.Image.Orientation"] = uint16_t(orientation);
        setEmbeddedThumbnail(exif, stored.scaled(stored.size() / 5));
    }));

    const QImage thumbnail = ImageSource(path("t.jpg")).thumbnail(80);
    EXPECT_EQ(thumbnail.size(), QSize(80, 60));
    EXPECT_TRUE(isUprightMarked(thumbnail));
}

INSTANTIATE_TEST_SUITE_P(Orientations, ImageSourceOrientationTest, ::testing::Values(1, 3, 6, 8));

struct EmbeddedCase {
    const char *name;
    QSize thumbnailSize;
    int maxPixelSize;
    bool embeddedUsed;
};

class ImageSourceEmbeddedTest : public ImageSourceTest, public ::testing::WithParamInterface<EmbeddedCase>
{
};

TEST_P(ImageSourceEmbeddedTest, UsesOnlyAValidEmbeddedThumbnail)
{
    // Blue picture, green thumbnail: the colour of the result tells which one was used.
    const EmbeddedCase &c = GetParam();
    QImage picture(1600, 1200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(path("e.jpg"), "JPEG"));
    QImage embedded(c.thumbnailSize, QImage::Format_RGB32);
    embedded.fill(Qt::green);
    ASSERT_TRUE(
        editMetadata(path("e.jpg"), [&](Exiv2::ExifData &exif) { setEmbeddedThumbnail(exif, embedded); }));

    const QImage thumbnail = ImageSource(path("e.jpg")).thumbnail(c.maxPixelSize);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(std::max(thumbnail.width(), thumbnail.height()), c.maxPixelSize);
    EXPECT_EQ(isGreen(colorAt(thumbnail, 0.5, 0.5)), c.embeddedUsed);
    EXPECT_EQ(isBlue(colorAt(thumbnail, 0.5, 0.5)), !c.embeddedUsed);
}

INSTANTIATE_TEST_SUITE_P(Thumbnails, ImageSourceEmbeddedTest,
    ::testing::Values(EmbeddedCase { "valid", QSize(160, 120), 80, true },
        EmbeddedCase { "validAtItsOwnSize", QSize(160, 120), 160, true },
        EmbeddedCase { "withinOnePercent", QSize(160, 121), 80, true },
        EmbeddedCase { "staleAfterCrop", QSize(160, 160), 80, false },
        EmbeddedCase { "staleAfterTurn", QSize(120, 160), 80, false },
        EmbeddedCase { "tooSmall", QSize(160, 120), 200, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ImageSourceTest, WithoutMakeFromImageOnlyTheEmbeddedThumbnailIsGiven)
{
    ASSERT_TRUE(markedImage(QSize(400, 300)).save(path("n.jpg"), "JPEG"));
    ImageSource::ThumbnailOptions options;
    options.maxPixelSize = 80;
    options.createFromImageIfAbsent = false;
    EXPECT_TRUE(ImageSource(path("n.jpg")).thumbnail(options).isNull());
}

TEST_F(ImageSourceTest, PropertiesCarryTheSectionsExiv2Read)
{
    ASSERT_TRUE(markedImage(QSize(64, 48)).save(path("p.jpg"), "JPEG"));
    ASSERT_TRUE(editMetadata(
        path("p.jpg"),
        [](Exiv2::ExifData &exif) {
            exif["Exif.Image.Make"] = std::string("Maker");
            exif["Exif.Image.Orientation"] = uint16_t(3);
            exif["Exif.Image.XResolution"] = Exiv2::URational(300, 1);
            exif["Exif.Image.YResolution"] = Exiv2::URational(72, 1);
            exif["Exif.Image.ResolutionUnit"] = uint16_t(2);
            exif["Exif.Photo.FocalLength"] = Exiv2::URational(42, 10);
            exif["Exif.Photo.ISOSpeedRatings"] = std::string("200 400");
            exif["Exif.GPSInfo.GPSLatitude"] = std::string("51/1 30/1 36/1");
            exif["Exif.GPSInfo.GPSLatitudeRef"] = std::string("S");
        },
        [](Exiv2::IptcData &iptc) {
            iptc["Iptc.Application2.Keywords"] = std::string("beach");
            Exiv2::Iptcdatum second(Exiv2::IptcKey("Iptc.Application2.Keywords"));
            second.setValue("sunset");
            iptc.add(second);
        }));

    const QVariantMap properties = ImageSource(path("p.jpg")).properties();
    const QVariantMap tiff = properties.value(QStringLiteral("{TIFF}")).toMap();
    const QVariantMap exif = properties.value(QStringLiteral("{Exif}")).toMap();
    const QVariantMap gps = properties.value(QStringLiteral("{GPS}")).toMap();
    const QVariantMap iptc = properties.value(QStringLiteral("{IPTC}")).toMap();
    EXPECT_EQ(tiff.value(QStringLiteral("Make")).toString(), QStringLiteral("Maker"));
    EXPECT_EQ(tiff.value(QStringLiteral("Orientation")).toInt(), 3);
    EXPECT_DOUBLE_EQ(properties.value(QStringLiteral("DPIWidth")).toDouble(), 300.0);
    EXPECT_DOUBLE_EQ(properties.value(QStringLiteral("DPIHeight")).toDouble(), 72.0);
    EXPECT_DOUBLE_EQ(exif.value(QStringLiteral("FocalLength")).toDouble(), 4.2);
    EXPECT_EQ(exif.value(QStringLiteral("ISOSpeedRatings")).toList(), (QVariantList { 200, 400 }));
    EXPECT_NEAR(gps.value(QStringLiteral("Latitude")).toDouble(), 51.51, 1e-9);
    EXPECT_EQ(gps.value(QStringLiteral("LatitudeRef")).toString(), QStringLiteral("S"));
    EXPECT_EQ(iptc.value(QStringLiteral("Keywords")).toStringList(),
        (QStringList { QStringLiteral("beach"), QStringLiteral("sunset") }));
    EXPECT_EQ(properties.value(QStringLiteral("ColorModel")).toString(), QStringLiteral("RGB"));
}

// A resolution without a unit (EXIF unit 1, or a JFIF aspect ratio) is no density: no "1.0 x 1.0".
TEST_F(ImageSourceTest, AResolutionWithoutAUnitGivesNoDpi)
{
    for (const bool exif : { false, true }) {
        ASSERT_TRUE(markedImage(QSize(64, 48)).save(path("d.jpg"), "JPEG"));
        QFile file(path("d.jpg"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(13) && file.write("", 1) == 1); // JFIF units
        file.close();
        ASSERT_TRUE(!exif || editMetadata(path("d.jpg"), [](Exiv2::ExifData &data) {
            data["Exif.Image.XResolution"] = Exiv2::URational(1, 1);
            data["Exif.Image.YResolution"] = Exiv2::URational(1, 1);
            data["Exif.Image.ResolutionUnit"] = uint16_t(1);
        }));
        EXPECT_FALSE(ImageSource(path("d.jpg")).properties().contains(QStringLiteral("DPIWidth"))) << exif;
    }
}

TEST_F(ImageSourceTest, GreyPicturesAreReportedAsGray)
{
    QImage grey(32, 32, QImage::Format_Grayscale8);
    grey.fill(128);
    ASSERT_TRUE(grey.save(path("g.png"), "PNG"));
    EXPECT_EQ(ImageSource(path("g.png")).properties().value(QStringLiteral("ColorModel")).toString(),
        QStringLiteral("Gray"));
}

struct PanoramaCase {
    const char *format;
    const char *fileName;
};

class ImageSourcePanoramaTest : public ImageSourceTest, public ::testing::WithParamInterface<PanoramaCase>
{
};

// 12000 x 6000 decodes to 288 MB, above Qt's default 256 MiB limit: it must still give a thumbnail.
TEST_P(ImageSourcePanoramaTest, DecodesPicturesAboveQtsAllocationLimit)
{
    QImage panorama(12000, 6000, QImage::Format_Grayscale8);
    panorama.fill(200);
    const QString file = path(QString::fromLatin1(GetParam().fileName));
    ASSERT_TRUE(panorama.save(file, GetParam().format, 50));
    panorama = QImage();

    const QImage thumbnail = ImageSource(file).thumbnail(96);
    EXPECT_EQ(thumbnail.size(), QSize(96, 48));
}

INSTANTIATE_TEST_SUITE_P(Panoramas, ImageSourcePanoramaTest,
    ::testing::Values(PanoramaCase { "JPEG", "pano.jpg" }, PanoramaCase { "PNG", "pano.png" }),
    [](const auto &info) { return std::string(info.param.format); });

// A flat PNG of eight bits a channel is reduced by the reader row by row and holds little; one of
// sixteen bits a channel is decoded whole, at eight bytes a pixel.
TEST_F(ImageSourceTest, PngIsChargedForWhatItsDecodeHolds)
{
    constexpr qint64 kPixels = 2000 * 1500;
    const struct {
        QImage::Format format;
        qint64 least, most;
    } cases[] = { { QImage::Format_RGB32, 0, kPixels * 4 / 16 },
        { QImage::Format_RGBA64, kPixels * 8, kPixels * 16 } };
    for (const auto &c : cases) {
        QImage picture(2000, 1500, c.format);
        picture.fill(Qt::darkCyan);
        const QString file = path(QStringLiteral("flat%1.png").arg(int(c.format)));
        ASSERT_TRUE(picture.save(file, "PNG"));
        DecodeBudget::shared().takePeak();
        EXPECT_FALSE(ImageSource(file).thumbnail(64).isNull()) << c.format;
        const qint64 peak = DecodeBudget::shared().takePeak();
        EXPECT_GE(peak, c.least) << c.format;
        EXPECT_LT(peak, c.most) << c.format;
    }
}

} // namespace

// The image source on real HEIC files made with libheif's encoder and on real DNG files written
// here: size, upright thumbnails, embedded thumbnails, and the half-size raw fallback.
#include <gtest/gtest.h>

#include <libheif/heif.h>
#include <libheif/heif_cxx.h>

#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtEndian>

#include "platform/AppFolders.h"
#include "platform/DecodeBudget.h"
#include "platform/HeifDecoder.h"
#include "platform/ImageSource.h"
#include "platform/ImageSourceDngWriter.h"
#include "platform/ImageSourceFixtures.h"
#include "platform/ImageSourceGeometry.h"
#include "support/HeicFiles.h"
#include "support/NoisePicture.h"
#include "support/TestFiles.h"

using namespace ImageSourceFixtures;
using HeicFiles::HeifOptions;
using HeicFiles::writeHeic;

namespace
{

class ImageSourceHeifTest : public ImageFileTest
{
protected:
    void SetUp() override
    {
        if (!heif_have_encoder_for_format(heif_compression_HEVC))
            GTEST_SKIP() << "this libheif has no HEVC encoder, so no HEIC file can be made here";
    }
};

TEST_F(ImageSourceHeifTest, DecodesAndScales)
{
    ASSERT_TRUE(writeHeic(path("a.heic"), markedImage(QSize(320, 240)), {}));
    const ImageSource source(path("a.heic"));
    ASSERT_TRUE(source.isValid());
    EXPECT_EQ(source.pixelSize(), QSize(320, 240));
    const QImage thumbnail = source.thumbnail(80);
    EXPECT_EQ(thumbnail.size(), QSize(80, 60));
    EXPECT_TRUE(isUprightMarked(thumbnail));
}

// libheif turns the picture itself; the EXIF orientation beside it must not turn it a second time.
TEST_F(ImageSourceHeifTest, TurnsThePictureExactlyOnce)
{
    const QImage upright = markedImage(QSize(240, 320));
    HeifOptions options;
    options.orientation = 6;
    options.exifOrientation = 6;
    ASSERT_TRUE(writeHeic(path("turned.heic"), storedFor(upright, 6), options));
    const ImageSource source(path("turned.heic"));
    EXPECT_EQ(source.properties()
                  .value(QStringLiteral("{TIFF}"))
                  .toMap()
                  .value(QStringLiteral("Orientation"))
                  .toInt(),
        6);
    const QImage thumbnail = source.thumbnail(80);
    EXPECT_EQ(thumbnail.size(), QSize(60, 80));
    EXPECT_TRUE(isUprightMarked(thumbnail));
}

TEST_F(ImageSourceHeifTest, UsesTheEmbeddedThumbnailWhenLargeEnough)
{
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    HeifOptions options;
    // libheif scales the thumbnail picture into the box itself.
    options.thumbnail = QImage(picture.size(), QImage::Format_RGB32);
    options.thumbnail.fill(Qt::green);
    options.thumbnailBox = 160;
    ASSERT_TRUE(writeHeic(path("t.heic"), picture, options));
    const ImageSource source(path("t.heic"));
    EXPECT_TRUE(isGreen(colorAt(source.thumbnail(80), 0.5, 0.5)));
    EXPECT_TRUE(isBlue(colorAt(source.thumbnail(320), 0.5, 0.5)));
}

// Rewrites the `index`-th 'ispe' box of a file (the picture's first, then its thumbnail's) to state
// `stated` instead of the coded size.
bool restateSize(const QString &path, int index, const QSize &stated)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadWrite) ? file.readAll() : QByteArray();
    qsizetype at = -1;
    for (int i = 0; i <= index && (i == 0 || at >= 0); ++i)
        at = bytes.indexOf("ispe", at + 1);
    const quint32 fields[]
        = { qToBigEndian(quint32(stated.width())), qToBigEndian(quint32(stated.height())) };
    return at >= 0 && file.seek(at + 8) && file.write(reinterpret_cast<const char *>(fields), 8) == 8;
}

// Whatever the boxes state, the decode budget is charged for the picture the decoder really makes
// (at least the decoder's planes and its own working data), and the picture is still decoded.
TEST_F(ImageSourceHeifTest, BudgetIsChargedForTheCodedPictureWhateverItsBoxesState)
{
    const QSize coded(1280, 960);
    // Which 'ispe' box lies (0 the picture's, 1 its embedded thumbnail's, -1 none), and the picture
    // the decoder makes.
    const std::pair<int, QSize> cases[] = { { -1, coded }, { 0, coded }, { 1, QSize(1200, 900) } };
    for (const auto &[box, decoded] : cases) {
        const QString file = path(QStringLiteral("p%1.heic").arg(box));
        HeifOptions options;
        if (box == 1) {
            options.thumbnail = markedImage(coded);
            options.thumbnailBox = decoded.width();
        }
        ASSERT_TRUE(writeHeic(file, markedImage(coded), options));
        ASSERT_TRUE(box < 0 || restateSize(file, box, decoded / 10));
        DecodeBudget::shared().takePeak();
        EXPECT_TRUE(isUprightMarked(ImageSource(file).thumbnail(64))) << box;
        EXPECT_GE(DecodeBudget::shared().takePeak(), qint64(decoded.width()) * decoded.height() * 3) << box;
    }
}

// libheif's whole RGBA picture reduced, as the decode made it before it read the planes.
QImage reducedWhole(const QString &file, int maxPixelSize)
{
    heif::Context context;
    context.read_from_file(file.toStdString());
    const heif::Image rgba
        = context.get_primary_image_handle().decode_image(heif_colorspace_RGB, heif_chroma_interleaved_RGBA);
    int stride = 0;
    const uint8_t *plane = rgba.get_plane(heif_channel_interleaved, &stride);
    const QImage whole(plane, rgba.get_width(heif_channel_interleaved),
        rgba.get_height(heif_channel_interleaved), stride, QImage::Format_RGBA8888);
    return ImageSourceGeometry::scaledToFit(whole.convertToFormat(QImage::Format_RGB32), maxPixelSize)
        .convertToFormat(QImage::Format_RGB32);
}

// A picture without a colour profile of its own is reduced to the very pixels its whole RGBA
// picture reduces to (stored fingerprints stay valid), whatever colour its stream states, and never
// charged for that picture. Where libheif neither turns nor crops it and the stream's matrix is a
// weighted sum, it is reduced as it is converted and not charged for libheif's RGB planes either.
// One wrapped in a grid (sides the encoder cannot code exactly) may be converted another way: whole.
TEST_F(ImageSourceHeifTest, PicturesWithoutAProfileAreReducedToTheSamePixels)
{
    enum Made { Rows, Planes, Whole };
    const struct {
        QSize size;
        int maxPixelSize;
        Made made;
        int matrix = -1;
        bool fullRange = true;
        const char *chroma = "420";
        int orientation = 1;
    } cases[] = { { QSize(1000, 752), 256, Rows }, { QSize(336, 248), 400, Rows }, { QSize(333, 251), 100, Whole },
        { QSize(640, 480), 100, Rows, 1, false }, { QSize(640, 480), 100, Rows, 6, true, "444" },
        { QSize(640, 480), 100, Rows, 5, false, "422" }, { QSize(640, 480), 100, Rows, 9, true },
        { QSize(640, 480), 100, Planes, 0 }, { QSize(640, 480), 100, Planes, 8 },
        { QSize(640, 480), 100, Planes, -1, true, "420", 6 } };
    QStringList files;
    QList<QImage> alone;
    for (const auto &c : cases) {
        const QString file = path(QStringLiteral("n%1.heic").arg(files.size()));
        const int i = int(files.size());
        HeifOptions options;
        options.matrixCoefficients = c.matrix;
        options.fullRange = c.fullRange;
        options.chroma = c.chroma;
        options.orientation = c.orientation;
        ASSERT_TRUE(writeHeic(file, NoisePicture::make(c.size, 3), options));
        const qint64 pixels = qint64(c.size.width()) * c.size.height();
        const qint64 decoderPlanes = pixels * (c.chroma == QByteArray("444") ? 6 : 3);
        DecodeBudget::shared().takePeak();
        const QImage reduced = HeifDecoder(file).decodeScaled(c.maxPixelSize);
        const qint64 peak = DecodeBudget::shared().takePeak();
        EXPECT_EQ(peak >= pixels * 8, c.made == Whole) << i;
        EXPECT_EQ(peak >= pixels * 3 + decoderPlanes, c.made != Rows) << i;
        EXPECT_EQ(reduced, reducedWhole(file, c.maxPixelSize)) << i;
        files << file;
        alone << reduced;
    }
    // Each decode keeps to its own thread's request: many at once give what one at a time gave.
    QStringList many;
    for (int round = 0; round < 4; ++round)
        many << files;
    const QList<QImage> together = QtConcurrent::blockingMapped(many, [&](const QString &file) {
        return HeifDecoder(file).decodeScaled(cases[files.indexOf(file)].maxPixelSize);
    });
    for (qsizetype i = 0; i < together.size(); ++i)
        EXPECT_EQ(together[i], alone[i % files.size()]) << i;
}

// How many times the log said that `file` was refused for the memory it needed.
int refusalsLogged(const QString &file)
{
    QFile log(AppFolders::logFilePath());
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count(("needed): " + file + '\n').toUtf8())) : 0;
}

// libheif wraps a picture whose sides its encoder cannot code exactly in a grid of one tile; the
// grid's canvas is restated as `canvas`, and with `honest` its 'ispe' box too.
bool writeGrid(const QString &path, const QSize &canvas, bool honest)
{
    const QSize tile(500, 375);
    QFile file(path);
    if (!writeHeic(path, markedImage(tile), {}) || !file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = file.readAll();
    const auto be16 = [](int v) { return QByteArray(1, char(v >> 8)) + char(v & 255); };
    const auto be32 = [&](int v) { return be16(v >> 16) + be16(v & 0xffff); };
    const qsizetype grid = bytes.indexOf(QByteArray(4, 0) + be16(tile.width()) + be16(tile.height()));
    const qsizetype ispe
        = bytes.indexOf("ispe" + QByteArray(4, 0) + be32(tile.width()) + be32(tile.height()));
    return grid > 0 && ispe > 0 && file.seek(grid + 4)
        && file.write(be16(canvas.width()) + be16(canvas.height())) == 4
        && (!honest
            || (file.seek(ispe + 8) && file.write(be32(canvas.width()) + be32(canvas.height())) == 8));
}

// A grid is charged for the canvas it states before libheif makes it, whatever its 'ispe' box
// says: a canvas the budget holds is decoded, charged at least for the canvas and the RGBA picture
// made of it; a larger one is refused before anything is held, with one log line.
// A twin whose 'ispe' box states the canvas honestly fares the same.
TEST_F(ImageSourceHeifTest, GridIsChargedForTheCanvasItStates)
{
    const std::pair<QSize, bool> cases[] = { { QSize(200, 150), true }, { QSize(500, 375), true },
        { QSize(1000, 750), true }, { QSize(2000, 1500), true }, { QSize(4000, 3000), true },
        { QSize(4096, 4096), true }, { QSize(6000, 4000), true }, { QSize(10000, 1000), true },
        { QSize(30000, 500), true }, { QSize(7000, 7000), false }, { QSize(8192, 8192), false },
        { QSize(12000, 9000), false }, { QSize(30000, 30000), false }, { QSize(32767, 32767), false },
        { QSize(40000, 40000), false }, { QSize(65535, 65535), false } };
    for (const auto &[canvas, fits] : cases) {
        qint64 peaks[2] = {};
        for (const bool honest : { false, true }) {
            const QString file
                = path(QStringLiteral("g%1x%2-%3.heic").arg(canvas.width()).arg(canvas.height()).arg(honest));
            ASSERT_TRUE(writeGrid(file, canvas, honest)) << file.toStdString();
            DecodeBudget::shared().takePeak();
            EXPECT_EQ(ImageSource(file).thumbnail(64).isNull(), !fits) << file.toStdString();
            peaks[honest] = DecodeBudget::shared().takePeak();
            EXPECT_GE(peaks[honest], fits ? qint64(canvas.width()) * canvas.height() * 7 : 0)
                << file.toStdString();
            // libheif itself refuses to read a picture stating a side of 32768 or more.
            EXPECT_EQ(refusalsLogged(file), fits || (honest && canvas.width() >= 32768) ? 0 : 1)
                << file.toStdString();
        }
        EXPECT_EQ(peaks[0], peaks[1]) << canvas.width();
    }
}

class ImageSourceRawTest : public ImageFileTest, public ::testing::WithParamInterface<int>
{
};

// The mark is white on dark grey: neutral tones survive any camera colour handling.
QImage neutralMarked(const QSize &size)
{
    return markedImage(size, QColor(40, 40, 40), QColor(230, 230, 230));
}

bool isUprightNeutralMarked(const QImage &image)
{
    const auto light = [&](double x, double y) { return qGray(colorAt(image, x, y).rgb()); };
    return light(0.05, 0.05) > 150 && light(0.95, 0.05) < 110 && light(0.05, 0.95) < 110
        && light(0.95, 0.95) < 110;
}

// A DNG of a sensor of `size` whose data are all holes: zeros read back, nothing stored.
bool writeSparseDng(const QString &path, const QSize &size, const QSize &previewSize)
{
    const qint64 data
        = qint64(size.width()) * size.height() * 2 + qint64(previewSize.width()) * previewSize.height() * 3;
    const auto [head, tables] = ImageSourceDng::headerAndTables(size, 1, previewSize, uint32_t(8 + data));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(head) == 8 && file.seek(8 + data)
        && file.write(tables) == tables.size();
}

// A full-size uncompressed preview is charged from the size the file states before LibRaw reads it:
// within the budget it is read and charged at least for LibRaw's copy and the picture made of it;
// beyond it, it is refused with one log line, and the picture comes from the raw data exactly as
// for a twin without a preview.
TEST_F(ImageFileTest, FullSizePreviewIsChargedBeforeItIsRead)
{
    const std::pair<QSize, bool> cases[] = { { QSize(640, 480), true }, { QSize(1600, 1200), true },
        { QSize(3000, 2000), true }, { QSize(4000, 3000), true }, { QSize(5000, 4000), true },
        { QSize(6000, 5000), true }, { QSize(8000, 6000), false }, { QSize(9000, 6000), false } };
    for (const auto &[size, fits] : cases) {
        qint64 peaks[2] = {};
        for (const bool withPreview : { true, false }) {
            const QString file = path(QStringLiteral("r%1-%2.dng").arg(size.width()).arg(withPreview));
            ASSERT_TRUE(writeSparseDng(file, size, withPreview ? size : QSize()));
            DecodeBudget::shared().takePeak();
            EXPECT_FALSE(ImageSource(file).thumbnail(64).isNull()) << file.toStdString();
            peaks[withPreview] = DecodeBudget::shared().takePeak();
            EXPECT_EQ(refusalsLogged(file), withPreview && !fits ? 1 : 0) << file.toStdString();
        }
        EXPECT_TRUE(fits ? peaks[1] >= qint64(size.width()) * size.height() * 7 : peaks[1] == peaks[0])
            << size.width() << ": " << peaks[1] << " against " << peaks[0];
    }
}

TEST_P(ImageSourceRawTest, HalfSizeDecodeWithoutPreviewIsUpright)
{
    const int orientation = GetParam();
    const QImage stored = storedFor(neutralMarked(QSize(320, 240)), orientation);
    ASSERT_TRUE(TestFiles::write(path("a.dng"), ImageSourceDng::dng(stored, orientation)));
    const ImageSource source(path("a.dng"));
    ASSERT_TRUE(source.isValid()) << "LibRaw did not read the generated DNG";
    EXPECT_EQ(source.pixelSize(), stored.size());
    const QImage thumbnail = source.thumbnail(80);
    EXPECT_EQ(thumbnail.size(), QSize(80, 60));
    EXPECT_TRUE(isUprightNeutralMarked(thumbnail));
    EXPECT_EQ(
        source.properties().value(QStringLiteral("{TIFF}")).toMap().value(QStringLiteral("Model")).toString(),
        QStringLiteral("Test Camera"));
}

TEST_P(ImageSourceRawTest, EmbeddedPreviewIsUsedAndTurned)
{
    const int orientation = GetParam();
    const QImage stored = storedFor(neutralMarked(QSize(320, 240)), orientation);
    // The sensor data is uniform; only the preview carries the mark.
    QImage plain(stored.size(), QImage::Format_RGB32);
    plain.fill(QColor(40, 40, 40));
    ASSERT_TRUE(TestFiles::write(
        path("p.dng"), ImageSourceDng::dng(plain, orientation, stored.scaled(stored.size() / 2))));
    const QImage thumbnail = ImageSource(path("p.dng")).thumbnail(80);
    EXPECT_EQ(thumbnail.size(), QSize(80, 60));
    EXPECT_TRUE(isUprightNeutralMarked(thumbnail));
}

// A bitmap preview is made into the thread's kept memory: each comes out as it was stored, the
// second not the first, in its own colours.
TEST_F(ImageFileTest, BitmapPreviewsComeOutAsStoredOneAfterAnother)
{
    QImage plain(320, 240, QImage::Format_RGB32);
    plain.fill(QColor(40, 40, 40));
    for (const QColor &mark : { QColor(Qt::red), QColor(Qt::green) }) {
        const QImage preview = markedImage(QSize(200, 150), QColor(10, 20, 240), mark);
        ASSERT_TRUE(TestFiles::write(path("m.dng"), ImageSourceDng::dng(plain, 1, preview)));
        EXPECT_EQ(ImageSource(path("m.dng")).thumbnail(200), preview) << mark.name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Orientations, ImageSourceRawTest, ::testing::Values(1, 3, 6, 8));

} // namespace

// Damaged, truncated and foreign files go through the whole image source without a crash, an
// exception or an unbounded allocation, and answer "no image" where nothing can be decoded.
#include <gtest/gtest.h>

#include <random>

#include <QTemporaryDir>

#include "platform/ImageSource.h"
#include "platform/ImageSourceDngWriter.h"
#include "platform/ImageSourceFixtures.h"
#include "support/TestFiles.h"

using namespace ImageSourceFixtures;

namespace
{

struct Seed {
    QString extension;
    QByteArray bytes;
};

QByteArray jpegWithMetadata(const QString &scratch)
{
    markedImage(QSize(300, 200)).save(scratch, "JPEG");
    editMetadata(
        scratch,
        [](Exiv2::ExifData &exif) {
            exif["Exif.Image.Orientation"] = uint16_t(6);
            exif["Exif.Photo.DateTimeOriginal"] = std::string("2021:07:04 18:30:05");
            exif["Exif.GPSInfo.GPSLatitude"] = std::string("51/1 30/1 0/1");
            setEmbeddedThumbnail(exif, markedImage(QSize(150, 100)));
        },
        [](Exiv2::IptcData &iptc) { iptc["Iptc.Application2.Keywords"] = std::string("fuzz"); });
    QFile file(scratch);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

std::vector<Seed> seeds(const QString &scratch)
{
    const QImage picture = markedImage(QSize(120, 90));
    return {
        { QStringLiteral("jpg"), jpegWithMetadata(scratch) },
        { QStringLiteral("png"), encoded(picture, "PNG") },
        { QStringLiteral("tif"), encoded(picture, "TIFF") },
        { QStringLiteral("webp"), encoded(picture, "WEBP") },
        { QStringLiteral("bmp"), encoded(picture, "BMP") },
        { QStringLiteral("dng"), ImageSourceDng::dng(picture, 6, picture.scaled(60, 45)) },
        { QStringLiteral("heic"),
            QByteArray("\0\0\0\x18"
                       "ftypheic\0\0\0\0mif1heic",
                24)
                + QByteArray(64, '\x01') },
    };
}

// Every reader entry point; the result does not matter, surviving does.
void readEverything(const QString &path)
{
    const ImageSource source(path);
    (void)source.isValid();
    (void)source.pixelSize();
    (void)source.properties();
    const QImage thumbnail = source.thumbnail(64);
    if (!thumbnail.isNull()) {
        EXPECT_LE(std::max(thumbnail.width(), thumbnail.height()), 64);
    }
}

class ImageSourceFuzzTest : public ImageFileTest
{
};

TEST_F(ImageSourceFuzzTest, TruncatedFilesAreSurvived)
{
    for (const Seed &seed : seeds(path("scratch.jpg"))) {
        const QString file = path(QStringLiteral("cut.") + seed.extension);
        for (int length = 0; length < seed.bytes.size(); length = length * 3 / 2 + 1) {
            SCOPED_TRACE((seed.extension + QStringLiteral(" cut at %1").arg(length)).toStdString());
            ASSERT_TRUE(TestFiles::write(file, seed.bytes.left(length)));
            readEverything(file);
        }
        // Half a picture still has its header: the size is known, the thumbnail may or may not be.
        ASSERT_TRUE(TestFiles::write(file, seed.bytes.left(seed.bytes.size() / 2)));
        readEverything(file);
    }
}

TEST_F(ImageSourceFuzzTest, CorruptedBytesAreSurvived)
{
    std::mt19937 random(20261207);
    for (const Seed &seed : seeds(path("scratch.jpg"))) {
        const QString file = path(QStringLiteral("bad.") + seed.extension);
        for (int round = 0; round < 40; ++round) {
            QByteArray bytes = seed.bytes;
            for (int flip = 0; flip < 6; ++flip)
                bytes[int(random() % uint32_t(bytes.size()))] = char(random() & 0xff);
            SCOPED_TRACE((seed.extension + QStringLiteral(" round %1").arg(round)).toStdString());
            ASSERT_TRUE(TestFiles::write(file, bytes));
            readEverything(file);
        }
    }
}

TEST_F(ImageSourceFuzzTest, ForeignFilesGiveNoImageAndNoProperties)
{
    std::mt19937 random(7);
    QByteArray noise(4096, '\0');
    for (char &byte : noise)
        byte = char(random() & 0xff);
    const std::pair<QString, QByteArray> cases[] = {
        { QStringLiteral("empty.jpg"), QByteArray() },
        { QStringLiteral("text.jpg"), QByteArray("this is not a picture\n") },
        { QStringLiteral("text.heic"), QByteArray("this is not a picture either\n") },
        { QStringLiteral("text.cr3"), QByteArray("nor is this\n") },
        { QStringLiteral("noise.png"), noise },
        { QStringLiteral("noise.dng"), noise },
        { QStringLiteral("noise.nef"), noise },
    };
    for (const auto &[name, bytes] : cases) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(TestFiles::write(path(name), bytes));
        const ImageSource source(path(name));
        EXPECT_FALSE(source.isValid());
        EXPECT_TRUE(source.properties().isEmpty());
        EXPECT_TRUE(source.thumbnail(64).isNull());
    }
    EXPECT_FALSE(ImageSource(path("missing.jpg")).isValid());
}

uint32_t crc32(const QByteArray &bytes)
{
    uint32_t crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A header that declares a gigantic picture must not make anyone allocate it.
TEST_F(ImageSourceFuzzTest, HugeDeclaredSizeGivesNoImage)
{
    QByteArray png = encoded(QImage(1, 1, QImage::Format_RGB32), "PNG");
    // IHDR width and height (big-endian) sit at bytes 16..23; 100000 x 100000 would need 37 GiB.
    const char huge[] = { 0, 1, char(0x86), char(0xa0) };
    png.replace(16, 4, QByteArray(huge, 4));
    png.replace(20, 4, QByteArray(huge, 4));
    const uint32_t crc = qToBigEndian(crc32(png.mid(12, 17)));
    png.replace(29, 4, QByteArray(reinterpret_cast<const char *>(&crc), 4));
    ASSERT_TRUE(TestFiles::write(path("huge.png"), png));
    const ImageSource source(path("huge.png"));
    EXPECT_EQ(source.pixelSize(), QSize(100000, 100000));
    EXPECT_TRUE(source.thumbnail(64).isNull());
}

} // namespace

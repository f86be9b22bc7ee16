// Area-averaged reductions: the mean of the covered area, whatever the factor, and the same pixels
// for a mirrored or turned picture as for the picture itself.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QTransform>

#include "platform/AreaAverage.h"
#include "support/NoisePicture.h"

namespace
{

struct ReductionCase {
    QSize from;
    QSize to;
};
class AreaAverageTest : public ::testing::TestWithParam<ReductionCase>
{
};

TEST_P(AreaAverageTest, MirroredAndTurnedPicturesReduceToTheMirroredAndTurnedReduction)
{
    const QImage picture = NoisePicture::make(GetParam().from, 7);
    const QImage reduced = AreaAverage::reduced(picture, GetParam().to);
    ASSERT_EQ(reduced.size(), GetParam().to);
    EXPECT_EQ(
        AreaAverage::reduced(picture.mirrored(true, false), GetParam().to), reduced.mirrored(true, false));
    EXPECT_EQ(
        AreaAverage::reduced(picture.mirrored(false, true), GetParam().to), reduced.mirrored(false, true));
    const QTransform quarter = QTransform().rotate(90);
    EXPECT_EQ(AreaAverage::reduced(picture.transformed(quarter), GetParam().to.transposed()),
        reduced.transformed(quarter));
}

TEST_P(AreaAverageTest, EveryPixelIsTheMeanOfTheAreaItCovers)
{
    // Two halves of different colours: the overall mean survives any reduction.
    QImage picture(GetParam().from, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 0));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width() / 2; ++x)
            picture.setPixel(x, y, qRgb(0, 100, 200));
    const QImage reduced = AreaAverage::reduced(picture, GetParam().to);
    double red = 0;
    for (int y = 0; y < reduced.height(); ++y)
        for (int x = 0; x < reduced.width(); ++x) {
            red += qRed(reduced.pixel(x, y));
            EXPECT_EQ(qGreen(reduced.pixel(x, y)), 100);
            EXPECT_EQ(qRed(reduced.pixel(x, y)) + qBlue(reduced.pixel(x, y)), 200);
        }
    const double expected = 200.0 * (picture.width() - picture.width() / 2) / picture.width();
    EXPECT_NEAR(red / (reduced.width() * reduced.height()), expected, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Factors, AreaAverageTest,
    ::testing::Values(ReductionCase { QSize(400, 300), QSize(64, 48) },
        ReductionCase { QSize(401, 299), QSize(64, 48) }, ReductionCase { QSize(97, 61), QSize(96, 60) },
        ReductionCase { QSize(64, 48), QSize(64, 48) }, ReductionCase { QSize(1000, 10), QSize(3, 1) }));

TEST(AreaAverageEdgeTest, TransparencyIsKeptAndEnlargingIsRefused)
{
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            picture.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QImage reduced = AreaAverage::reduced(picture, QSize(1, 1));
    ASSERT_TRUE(reduced.hasAlphaChannel());
    EXPECT_NEAR(qAlpha(reduced.pixel(0, 0)), 128, 1);
    // White, half covered.
    EXPECT_EQ(qRed(reduced.convertToFormat(QImage::Format_ARGB32).pixel(0, 0)), 255);
    EXPECT_TRUE(AreaAverage::reduced(picture, QSize(41, 40)).isNull());
    EXPECT_TRUE(AreaAverage::reduced(QImage(), QSize(1, 1)).isNull());
    EXPECT_TRUE(AreaAverage::reduced(picture, QSize()).isNull());
}

} // namespace

// Thumbnails in users' caches were reduced with these exact samples: a faster reduction must give
// the same bytes, for opaque, transparent and grey pictures alike.
TEST(AreaAverageStableTest, SamplesStayBitForBit)
{
    const struct {
        QImage::Format format;
        QSize from;
        QSize to;
        const char *md5;
    } cases[] = {
        { QImage::Format_RGB32, QSize(500, 375), QSize(256, 192), "4a649a9dfcde0298b0d54b3e5bf3c743" },
        { QImage::Format_RGB32, QSize(401, 299), QSize(64, 48), "756e464f7b338646d4db5299787232f5" },
        { QImage::Format_RGB32, QSize(97, 61), QSize(96, 60), "cab886b59ca2e5e451dcd1afd70652ce" },
        { QImage::Format_RGB32, QSize(1000, 10), QSize(3, 1), "b63ad2fc4d1316fb3928938c9bc632f6" },
        { QImage::Format_ARGB32, QSize(301, 203), QSize(256, 173), "a9bbee9b511e5d83ed289aa61a8b959e" },
        { QImage::Format_Grayscale8, QSize(700, 525), QSize(256, 192), "2035245f26b2bf18d2837ab034c6f58b" },
        { QImage::Format_RGB888, QSize(333, 500), QSize(171, 256), "ea220f13c8b5de901e4e87d95dde4ac9" },
    };
    for (const auto &c : cases) {
        QImage picture = NoisePicture::make(c.from, 5).convertToFormat(c.format);
        if (c.format == QImage::Format_ARGB32) {
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    picture.setPixel(
                        x, y, (picture.pixel(x, y) & 0xffffff) | (uint((x * 7 + y * 3) % 256) << 24));
        }
        const QImage reduced = AreaAverage::reduced(picture, c.to);
        const QByteArray bytes(reinterpret_cast<const char *>(reduced.constBits()), reduced.sizeInBytes());
        EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toStdString(), c.md5)
            << c.format << " " << c.from.width() << "x" << c.from.height();
    }
}

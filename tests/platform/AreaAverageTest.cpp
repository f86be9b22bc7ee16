// Area-averaged reductions: the mean of the covered area, whatever the factor, and the same pixels
// for a mirrored or turned picture as for the picture itself.
#include <gtest/gtest.h>

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

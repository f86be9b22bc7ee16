// The windowed-sinc resampling of fingerprint thumbnails: a turned or mirrored picture resamples to
// the turned or mirrored result, flat areas stay flat, transparency comes out dark.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QTransform>

#include "model/ThumbnailResampler.h"
#include "support/NoisePicture.h"

namespace
{

class ThumbnailResamplerTest : public ::testing::TestWithParam<std::pair<QSize, QSize>>
{
};

TEST_P(ThumbnailResamplerTest, TurnsAndMirrorsCommuteWithResampling)
{
    const auto [from, to] = GetParam();
    const QImage picture = NoisePicture::make(from, 3);
    const QImage resampled = ThumbnailResampler::resampled(picture, to);
    ASSERT_EQ(resampled.size(), to);
    EXPECT_EQ(
        ThumbnailResampler::resampled(picture.mirrored(true, false), to), resampled.mirrored(true, false));
    for (int degrees : { 90, 180, 270 }) {
        const QTransform turn = QTransform().rotate(degrees);
        const QSize turnedSize = degrees == 180 ? to : to.transposed();
        EXPECT_EQ(
            ThumbnailResampler::resampled(picture.transformed(turn), turnedSize), resampled.transformed(turn))
            << degrees;
    }
}

TEST_P(ThumbnailResamplerTest, FlatPictureStaysFlat)
{
    const auto [from, to] = GetParam();
    QImage picture(from, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 250));
    const QImage resampled = ThumbnailResampler::resampled(picture, to);
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x)
            ASSERT_EQ(resampled.pixel(x, y), qRgb(10, 120, 250)) << x << "," << y;
}

// Reductions by four and by a little, the N x N stretch of a landscape thumbnail, and no change.
INSTANTIATE_TEST_SUITE_P(Sizes, ThumbnailResamplerTest,
    ::testing::Values(std::pair(QSize(256, 192), QSize(64, 48)), std::pair(QSize(250, 188), QSize(64, 48)),
        std::pair(QSize(64, 48), QSize(64, 64)), std::pair(QSize(80, 80), QSize(80, 80))));

TEST(ThumbnailResamplerEdgeTest, TransparentPartsComeOutDarkAndNothingGivesNothing)
{
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    const QImage resampled = ThumbnailResampler::resampled(picture, QSize(4, 4));
    EXPECT_EQ(resampled.format(), QImage::Format_RGB32);
    EXPECT_EQ(resampled.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_TRUE(ThumbnailResampler::resampled(QImage(), QSize(4, 4)).isNull());
    EXPECT_TRUE(ThumbnailResampler::resampled(picture, QSize(0, 4)).isNull());
}

} // namespace

// Fingerprints in users' caches were made from these exact samples: a faster resampler must give
// the same bytes, not merely similar ones.
TEST(ThumbnailResamplerStableTest, SamplesStayBitForBit)
{
    const struct {
        QSize from;
        QSize to;
        const char *md5;
    } cases[] = {
        { QSize(256, 192), QSize(64, 48), "99c6bed56b72220c034cd406bc539907" },
        { QSize(250, 188), QSize(64, 48), "a2d570c201d0866b5a0ea0348d4cc45d" },
        { QSize(64, 48), QSize(64, 64), "8bc2cda38e6a2c2b68ac7414b802e014" },
        { QSize(37, 211), QSize(32, 32), "5c1ed7fc15b8364ab9a3386f7cb97244" },
    };
    for (const auto &c : cases) {
        const QImage resampled = ThumbnailResampler::resampled(NoisePicture::make(c.from, 11), c.to);
        const QByteArray bytes(reinterpret_cast<const char *>(resampled.constBits()), resampled.sizeInBytes());
        EXPECT_EQ(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()),
            QString::fromLatin1(c.md5))
            << c.from.width() << "x" << c.from.height();
    }
}

// Greyscale pictures from 6000 to 16000 pixels a side are decoded to thumbnails (the larger ones
// at one byte a pixel), and the thumbnail shows the picture's bands.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "GreyPngWriter.h"
#include "platform/ImageSource.h"
#include "platform/QtImageDecoder.h"

class LargeGreyImageTest : public ::testing::TestWithParam<int>
{
};

TEST_P(LargeGreyImageTest, IsDecodedToAThumbnailOfItsBands)
{
    QTemporaryDir dir;
    const int side = GetParam();
    const QString path = dir.filePath(QStringLiteral("grey.png"));
    ASSERT_TRUE(GreyPngWriter::write(path, side, side));
    const QtImageDecoder::Header header = QtImageDecoder::readHeader(path);
    ASSERT_EQ(header.size, QSize(side, side));
    EXPECT_TRUE(header.isGrey);

    const QImage thumbnail = ImageSource(path).thumbnail(256);
    ASSERT_FALSE(thumbnail.isNull()) << side;
    EXPECT_EQ(thumbnail.size(), QSize(256, 256));
    // The middle of each band keeps its grey value.
    for (int band = 0; band < 8; ++band) {
        const int y = (2 * band + 1) * 256 / 16;
        const int expected = GreyPngWriter::bandValue((2 * band + 1) * side / 16, side);
        EXPECT_NEAR(qGray(thumbnail.pixel(128, y)), expected, 2) << side << " band " << band;
    }
}

INSTANTIATE_TEST_SUITE_P(Sides, LargeGreyImageTest, ::testing::Values(6000, 8000, 16000));

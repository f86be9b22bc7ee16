// Thumbnails, grey copies, quarter turns, mirroring and the preview canvas of ImageProcessing.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "model/ImageProcessing.h"
#include "platform/ImageSource.h"
#include "platform/ImageSourceFixtures.h"

using namespace ImageSourceFixtures;

namespace
{

class ImageProcessingTest : public ImageFileTest
{
};

TEST_F(ImageProcessingTest, ThumbnailKeepsProportionsButIsLabelledSquare)
{
    ASSERT_TRUE(markedImage(QSize(4000, 3000)).save(path("big.jpg"), "JPEG", 80));
    const ImageProcessing::LabelledImage thumbnail
        = ImageProcessing::resizeImageWithFilePath(path("big.jpg"), 80);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(thumbnail.image.size(), QSize(80, 60));
    EXPECT_EQ(thumbnail.size, QSize(80, 80));

    // The grey copy is stretched vertically: the mark (a quarter of the height) covers 20 of 80 rows.
    const QImage grey = ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(thumbnail);
    EXPECT_EQ(grey.size(), QSize(80, 80));
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    const auto levelOf = [](const QColor &color) {
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(color);
        return qGray(ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(pixel).pixel(0, 0));
    };
    const int markLevel = levelOf(Qt::red);
    const int baseLevel = levelOf(Qt::blue);
    EXPECT_NEAR(qGray(grey.pixel(5, 17)), markLevel, 12);
    EXPECT_NEAR(qGray(grey.pixel(5, 23)), baseLevel, 12);
}

TEST_F(ImageProcessingTest, ThumbnailOfATurnedPhotoIsUpright)
{
    ASSERT_TRUE(storedFor(markedImage(QSize(400, 300)), 6).save(path("turned.jpg"), "JPEG"));
    ASSERT_TRUE(editMetadata(
        path("turned.jpg"), [](Exiv2::ExifData &exif) { exif["Exif.Image.Orientation"] = uint16_t(6); }));
    const auto thumbnail = ImageProcessing::resizeImageWithFilePath(path("turned.jpg"), 80);
    EXPECT_EQ(thumbnail.image.size(), QSize(80, 60));
    EXPECT_TRUE(isUprightMarked(thumbnail.image));
}

TEST_F(ImageProcessingTest, FailuresGiveNothing)
{
    EXPECT_TRUE(ImageProcessing::resizeImageWithFilePath(path("missing.jpg"), 80).isNull());
    EXPECT_TRUE(ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(QImage()).isNull());
    EXPECT_TRUE(ImageProcessing::getOrientatedImage(QImage(), -90).isNull());
    EXPECT_TRUE(ImageProcessing::getOrientatedFlipImage(QImage(), 0).isNull());
    EXPECT_TRUE(ImageProcessing::getImageFromFile(path("missing.jpg"), 248, 244).isNull());
}

struct TurnCase {
    double degree;
    bool mirror;
    QPointF markAt; // where the top-left mark ends up, in fractions of the side
};

class ImageProcessingTurnTest : public ::testing::TestWithParam<TurnCase>
{
};

TEST_P(ImageProcessingTurnTest, MovesTheMarkAndKeepsTheSize)
{
    const QImage grey
        = ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(markedImage(QSize(80, 80)));
    const QImage turned = GetParam().mirror ? ImageProcessing::getOrientatedFlipImage(grey, GetParam().degree)
                                            : ImageProcessing::getOrientatedImage(grey, GetParam().degree);
    EXPECT_EQ(turned.size(), QSize(80, 80));
    EXPECT_EQ(turned.format(), QImage::Format_Grayscale8);
    const int mark = qGray(grey.pixel(2, 2));
    const QPointF at = GetParam().markAt;
    EXPECT_EQ(qGray(turned.pixel(int(at.x() * 79), int(at.y() * 79))), mark);
    // A quarter turn moves pixels exactly: four of them give the picture back unchanged.
    if (!GetParam().mirror) {
        QImage round = turned;
        for (int i = 0; i < 3; ++i)
            round = ImageProcessing::getOrientatedImage(round, GetParam().degree);
        EXPECT_EQ(round, grey);
    }
}

INSTANTIATE_TEST_SUITE_P(Turns, ImageProcessingTurnTest,
    ::testing::Values(TurnCase { -90, false, { 0.97, 0.03 } }, // clockwise
        TurnCase { -180, false, { 0.97, 0.97 } }, TurnCase { -270, false, { 0.03, 0.97 } },
        TurnCase { 90, false, { 0.03, 0.97 } }, TurnCase { 0, true, { 0.97, 0.03 } },
        TurnCase { -90, true, { 0.97, 0.03 } })); // the angle is ignored

TEST(ImageProcessingTurnOddTest, NonSquareTurnsKeepTheCanvasSize)
{
    const QImage picture = markedImage(QSize(120, 60));
    EXPECT_EQ(ImageProcessing::getOrientatedImage(picture, -90).size(), QSize(120, 60));
    EXPECT_EQ(ImageProcessing::getOrientatedImage(picture, 30).size(), QSize(120, 60));
}

struct PreviewCase {
    const char *name;
    QSize picture;
    QRectF drawn; // top-left coordinates on the 248 x 244 canvas
};

class ImageProcessingPreviewTest : public ::testing::TestWithParam<PreviewCase>
{
};

// 1000 x 500 is drawn 248 x 124 at (0, 120) measured from the bottom-left, which is the top edge.
TEST_P(ImageProcessingPreviewTest, PlacesThePictureCentredAtTheTop)
{
    const QRectF rect = ImageProcessing::previewRect(QSizeF(GetParam().picture), QSizeF(248, 244));
    EXPECT_NEAR(rect.x(), GetParam().drawn.x(), 1e-3);
    EXPECT_NEAR(rect.y(), GetParam().drawn.y(), 1e-3);
    EXPECT_NEAR(rect.width(), GetParam().drawn.width(), 1e-3);
    EXPECT_NEAR(rect.height(), GetParam().drawn.height(), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Placements, ImageProcessingPreviewTest,
    ::testing::Values(PreviewCase { "landscape", QSize(1000, 500), QRectF(0, 0, 248, 124) },
        PreviewCase { "portrait", QSize(500, 1000), QRectF(63, 0, 122, 244) },
        PreviewCase { "square", QSize(700, 700), QRectF(2, 0, 244, 244) },
        // Nearly square landscape overhangs the bottom edge.
        PreviewCase { "nearlySquare", QSize(1000, 990), QRectF(0, 0, 248, 245.52f) }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ImageProcessingTest, PreviewIsDrawnUprightOnTheCanvas)
{
    // Stored portrait with orientation 8: shown as a 1000 x 500 landscape.
    ASSERT_TRUE(storedFor(markedImage(QSize(1000, 500)), 8).save(path("p.jpg"), "JPEG"));
    ASSERT_TRUE(editMetadata(
        path("p.jpg"), [](Exiv2::ExifData &exif) { exif["Exif.Image.Orientation"] = uint16_t(8); }));
    const QImage preview = ImageProcessing::getImageFromFile(path("p.jpg"), 248, 244);
    ASSERT_EQ(preview.size(), QSize(248, 244));
    EXPECT_TRUE(isRed(preview.pixelColor(10, 10)));
    EXPECT_TRUE(isBlue(preview.pixelColor(240, 115)));
    EXPECT_EQ(qAlpha(preview.pixel(124, 130)), 0);
    EXPECT_EQ(ImageProcessing::getImageThumbnailFromFilePath(path("p.jpg"), 248, 244), preview);
}

} // namespace

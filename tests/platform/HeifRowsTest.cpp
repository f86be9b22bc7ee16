// HEIC pictures reduced as their rows are converted: the conversion against libheif's own, and which
// items are left to libheif because it turns or mirrors them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <libheif/heif_cxx.h>

#include "platform/HeifCanvas.h"
#include "platform/HeifYCbCrRows.h"
#include "platform/ImageSourceFixtures.h"
#include "support/HeicFiles.h"
#include "support/NoisePicture.h"

namespace
{

class HeifRowsTest : public ImageSourceFixtures::ImageFileTest
{
protected:
    void SetUp() override
    {
        if (!HeicFiles::canWrite())
            GTEST_SKIP() << "this libheif has no HEVC encoder, so no HEIC file can be made here";
    }
};

// A plane of samples that sweep every value, so that each sum clips somewhere on both sides.
std::vector<std::uint8_t> sweep(const QSize &size, int seed)
{
    std::vector<std::uint8_t> plane(std::size_t(size.width()) * size.height());
    for (std::size_t i = 0; i < plane.size(); ++i)
        plane[i] = std::uint8_t((i % size.width() * 37 + i / size.width() * 101 + seed * 53) % 256);
    return plane;
}

// Stores the planes losslessly, stating `matrix` and `fullRange` in the stream, and reads them back
// as libheif's red, green and blue planes, in ARGB.
std::vector<QRgb> throughLibheif(const QString &file, const QSize sizes[3], heif_chroma chroma,
    const std::vector<std::uint8_t> planes[3], int matrix, bool fullRange)
{
    heif::Image image;
    image.create(sizes[0].width(), sizes[0].height(), heif_colorspace_YCbCr, chroma);
    const heif_channel channels[] = { heif_channel_Y, heif_channel_Cb, heif_channel_Cr };
    for (int c = 0; c < 3; ++c) {
        image.add_plane(channels[c], sizes[c].width(), sizes[c].height(), 8);
        int stride = 0;
        std::uint8_t *plane = image.get_plane(channels[c], &stride);
        for (int y = 0; y < sizes[c].height(); ++y)
            std::memcpy(plane + y * stride, &planes[c][std::size_t(y) * sizes[c].width()], sizes[c].width());
    }
    heif::ColorProfile_nclx nclx;
    nclx.set_matrix_coefficients(heif_matrix_coefficients(matrix));
    nclx.set_full_range_flag(fullRange);
    image.set_nclx_color_profile(nclx);
    heif::Encoder encoder(heif_compression_HEVC);
    encoder.set_lossless(true);
    encoder.set_string_parameter("chroma",
        chroma == heif_chroma_420       ? "420"
            : chroma == heif_chroma_422 ? "422"
                                        : "444");
    heif::Context written;
    written.encode_image(image, encoder);
    written.write_to_file(file.toStdString());
    heif::Context read;
    read.read_from_file(file.toStdString());
    const heif::Image rgb
        = read.get_primary_image_handle().decode_image(heif_colorspace_RGB, heif_chroma_444);
    int strides[3] = {};
    const std::uint8_t *r = rgb.get_plane(heif_channel_R, &strides[0]);
    const std::uint8_t *g = rgb.get_plane(heif_channel_G, &strides[1]);
    const std::uint8_t *b = rgb.get_plane(heif_channel_B, &strides[2]);
    std::vector<QRgb> pixels;
    for (int y = 0; y < sizes[0].height(); ++y)
        for (int x = 0; x < sizes[0].width(); ++x)
            pixels.push_back(qRgb(r[y * strides[0] + x], g[y * strides[1] + x], b[y * strides[2] + x]));
    return pixels;
}

} // namespace

// Samples stored losslessly with the colour their stream states come out of libheif as RGB planes;
// the rows made of the same samples are those planes to the byte, clipped values included.
TEST_F(HeifRowsTest, RowsAreLibheifsOwnConversion)
{
    const struct {
        heif_chroma chroma;
        int matrix;
        bool fullRange;
    } cases[] = { { heif_chroma_420, 6, true }, { heif_chroma_420, 1, false }, { heif_chroma_422, 5, false },
        { heif_chroma_444, 9, true }, { heif_chroma_420, 2, false }, { heif_chroma_420, 10, true },
        { heif_chroma_422, 4, true }, { heif_chroma_444, 7, false }, { heif_chroma_420, 11, true } };
    const QSize size(64, 48);
    int i = 0;
    for (const auto &c : cases) {
        const int shiftX = c.chroma == heif_chroma_444 ? 0 : 1, shiftY = c.chroma == heif_chroma_420 ? 1 : 0;
        const QSize chroma(size.width() >> shiftX, size.height() >> shiftY);
        const QSize sizes[3] = { size, chroma, chroma };
        const std::vector<std::uint8_t> planes[3] = { sweep(size, 0), sweep(chroma, 1), sweep(chroma, 2) };
        const std::vector<QRgb> expected = throughLibheif(
            path(QStringLiteral("l%1.heic").arg(i++)), sizes, c.chroma, planes, c.matrix, c.fullRange);
        std::optional<HeifYCbCrRows> rows
            = HeifYCbCrRows::of({ size, planes[0].data(), planes[1].data(), planes[2].data(), size.width(),
                                    chroma.width(), chroma.width(), shiftX, shiftY },
                { c.matrix, 2, c.fullRange });
        ASSERT_TRUE(rows) << i;
        std::vector<QRgb> made;
        for (int y = 0; y < size.height(); ++y)
            made.insert(made.end(), rows->row(y), rows->row(y) + size.width());
        EXPECT_EQ(made, expected) << i;
    }
    // Matrices libheif converts other than as a weighted sum are declined.
    for (const int matrix : { 0, 8, 12, 13 })
        EXPECT_FALSE(
            HeifYCbCrRows::of({ size, nullptr, nullptr, nullptr, 0, 0, 0, 1, 1 }, { matrix, 2, true }));
}

// Every orientation but the first is stored as a turn or a mirror, which libheif applies itself.
TEST_F(HeifRowsTest, TurnedOrMirroredItemsAreFound)
{
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString file = path(QStringLiteral("o%1.heic").arg(orientation));
        HeicFiles::HeifOptions options;
        options.orientation = orientation;
        ASSERT_TRUE(HeicFiles::writeHeic(file, NoisePicture::make(QSize(64, 48), orientation), options));
        heif::Context context;
        context.read_from_file(file.toStdString());
        EXPECT_EQ(
            HeifCanvas::of(file, context.get_primary_image_ID()).value_or(HeifCanvas::Item {}).transformed,
            std::optional<bool>(orientation != 1))
            << orientation;
    }
    EXPECT_EQ(HeifCanvas::of(path("none.heic"), 1), std::nullopt);
}

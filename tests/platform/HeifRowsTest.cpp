// HEIC pictures reduced as their rows are converted: the conversion against libheif's own, which
// items are left to libheif because it turns or mirrors them, and decodes on many threads at once.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <libheif/heif.h>

#include <QTemporaryDir>
#include <QtConcurrent>

#include "platform/HeifCanvas.h"
#include "platform/HeifDecoder.h"
#include "platform/HeifYCbCrRows.h"
#include "support/HeicFiles.h"
#include "support/NoisePicture.h"

namespace
{

class HeifRowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!HeicFiles::canWrite())
            GTEST_SKIP() << "this libheif has no HEVC encoder, so no HEIC file can be made here";
        ASSERT_TRUE(m_dir.isValid());
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

struct Sampled {
    heif_chroma chroma;
    const char *encoderChroma;
    int shiftX;
    int shiftY;
};

// Planes of samples that sweep every value, so that each sum clips somewhere on both sides.
std::vector<std::uint8_t> sweep(int width, int height, int seed)
{
    std::vector<std::uint8_t> plane(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            plane[std::size_t(y) * width + x] = std::uint8_t((x * 37 + y * 101 + seed * 53) % 256);
    return plane;
}

// Stores the planes losslessly, stating `matrix` and `fullRange` in the stream.
bool writeLossless(const QString &file, const QSize &size, const Sampled &sampled,
    const std::vector<std::uint8_t> planes[3], int matrix, bool fullRange)
{
    heif_image *image = nullptr;
    heif_image_create(size.width(), size.height(), heif_colorspace_YCbCr, sampled.chroma, &image);
    const heif_channel channels[] = { heif_channel_Y, heif_channel_Cb, heif_channel_Cr };
    for (int c = 0; c < 3; ++c) {
        const int width = c == 0 ? size.width() : size.width() >> sampled.shiftX;
        const int height = c == 0 ? size.height() : size.height() >> sampled.shiftY;
        heif_image_add_plane(image, channels[c], width, height, 8);
        int stride = 0;
        std::uint8_t *plane = heif_image_get_plane(image, channels[c], &stride);
        for (int y = 0; y < height; ++y)
            std::memcpy(plane + qsizetype(y) * stride, planes[c].data() + std::size_t(y) * width, std::size_t(width));
    }
    heif_color_profile_nclx *nclx = heif_nclx_color_profile_alloc();
    nclx->matrix_coefficients = heif_matrix_coefficients(matrix);
    nclx->full_range_flag = fullRange;
    heif_image_set_nclx_color_profile(image, nclx);
    heif_nclx_color_profile_free(nclx);
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossless(encoder, 1);
    heif_encoder_set_parameter_string(encoder, "chroma", sampled.encoderChroma);
    const bool ok = heif_context_encode_image(context, image, encoder, nullptr, nullptr).code == heif_error_Ok
        && heif_context_write_to_file(context, QFile::encodeName(file).constData()).code == heif_error_Ok;
    heif_encoder_release(encoder);
    heif_context_free(context);
    heif_image_release(image);
    return ok;
}

// libheif's red, green and blue planes of the file, as ARGB rows.
std::vector<QRgb> libheifPixels(const QString &file, const QSize &size)
{
    heif_context *context = heif_context_alloc();
    heif_image_handle *handle = nullptr;
    heif_image *image = nullptr;
    heif_context_read_from_file(context, QFile::encodeName(file).constData(), nullptr);
    heif_context_get_primary_image_handle(context, &handle);
    heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_444, nullptr);
    std::vector<QRgb> pixels;
    int strides[3] = {};
    const std::uint8_t *r = image ? heif_image_get_plane_readonly(image, heif_channel_R, &strides[0]) : nullptr;
    const std::uint8_t *g = image ? heif_image_get_plane_readonly(image, heif_channel_G, &strides[1]) : nullptr;
    const std::uint8_t *b = image ? heif_image_get_plane_readonly(image, heif_channel_B, &strides[2]) : nullptr;
    for (int y = 0; r && g && b && y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            pixels.push_back(qRgb(r[y * strides[0] + x], g[y * strides[1] + x], b[y * strides[2] + x]));
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
    return pixels;
}

} // namespace

// Samples stored losslessly with the colour their stream states come out of libheif as RGB planes;
// the rows made of the same samples are those planes to the byte, clipped values included.
TEST_F(HeifRowsTest, RowsAreLibheifsOwnConversion)
{
    const Sampled s420 { heif_chroma_420, "420", 1, 1 }, s422 { heif_chroma_422, "422", 1, 0 },
        s444 { heif_chroma_444, "444", 0, 0 };
    const struct {
        Sampled sampled;
        int matrix;
        bool fullRange;
    } cases[] = { { s420, 6, true }, { s420, 1, false }, { s422, 5, false }, { s444, 9, true },
        { s420, 2, false }, { s420, 10, true }, { s422, 4, true }, { s444, 7, false }, { s420, 11, true } };
    const QSize size(64, 48);
    int i = 0;
    for (const auto &c : cases) {
        const QString file = path(QStringLiteral("l%1.heic").arg(i++));
        const std::vector<std::uint8_t> planes[3] = { sweep(size.width(), size.height(), 0),
            sweep(size.width() >> c.sampled.shiftX, size.height() >> c.sampled.shiftY, 1),
            sweep(size.width() >> c.sampled.shiftX, size.height() >> c.sampled.shiftY, 2) };
        ASSERT_TRUE(writeLossless(file, size, c.sampled, planes, c.matrix, c.fullRange)) << i;
        const std::vector<QRgb> expected = libheifPixels(file, size);
        ASSERT_EQ(expected.size(), std::size_t(size.width() * size.height())) << i;
        const int chromaWidth = size.width() >> c.sampled.shiftX;
        std::optional<HeifYCbCrRows> rows = HeifYCbCrRows::of({ size, planes[0].data(), planes[1].data(),
                                                                  planes[2].data(), size.width(), chromaWidth,
                                                                  chromaWidth, c.sampled.shiftX, c.sampled.shiftY },
            { c.matrix, 2, c.fullRange });
        ASSERT_TRUE(rows) << i;
        for (int y = 0; y < size.height(); ++y)
            ASSERT_EQ(std::vector<QRgb>(rows->row(y), rows->row(y) + size.width()),
                std::vector<QRgb>(expected.begin() + y * size.width(), expected.begin() + (y + 1) * size.width()))
                << i << " row " << y;
    }
    // Matrices libheif converts other than as a weighted sum are declined.
    for (const int matrix : { 0, 8, 12, 13 })
        EXPECT_FALSE(HeifYCbCrRows::of({ size, nullptr, nullptr, nullptr, 0, 0, 0, 1, 1 }, { matrix, 2, true }));
}

// Every orientation but the first is stored as a turn or a mirror, which libheif applies itself.
TEST_F(HeifRowsTest, TurnedOrMirroredItemsAreFound)
{
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString file = path(QStringLiteral("o%1.heic").arg(orientation));
        HeicFiles::HeifOptions options;
        options.orientation = orientation;
        ASSERT_TRUE(HeicFiles::writeHeic(file, NoisePicture::make(QSize(64, 48), orientation), options));
        heif_context *context = heif_context_alloc();
        heif_item_id primary = 0;
        heif_context_read_from_file(context, QFile::encodeName(file).constData(), nullptr);
        heif_context_get_primary_image_ID(context, &primary);
        heif_context_free(context);
        EXPECT_EQ(HeifCanvas::isTransformed(file, primary), std::optional<bool>(orientation != 1)) << orientation;
    }
    EXPECT_EQ(HeifCanvas::isTransformed(path("none.heic"), 1), std::nullopt);
}

// Each decode finds its own request on its own thread: many at once give what one at a time gives.
TEST_F(HeifRowsTest, DecodesOnManyThreadsAtOnceAsOneAtATime)
{
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        files << path(QStringLiteral("t%1.heic").arg(i));
        HeicFiles::HeifOptions options;
        options.matrixCoefficients = i % 2 ? 1 : 6;
        options.fullRange = i < 2;
        ASSERT_TRUE(HeicFiles::writeHeic(files.back(), NoisePicture::make(QSize(320 + 32 * i, 240), i), options));
    }
    QList<QImage> alone;
    for (const QString &file : files)
        alone << HeifDecoder(file).decodeScaled(40 + 8 * int(alone.size()));
    QStringList many;
    for (int round = 0; round < 8; ++round)
        many << files;
    const QList<QImage> together = QtConcurrent::blockingMapped(many, [&](const QString &file) {
        return HeifDecoder(file).decodeScaled(40 + 8 * int(files.indexOf(file)));
    });
    for (qsizetype i = 0; i < together.size(); ++i) {
        ASSERT_FALSE(alone[i % files.size()].isNull());
        EXPECT_EQ(together[i], alone[i % files.size()]) << i;
    }
}

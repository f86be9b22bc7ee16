#include "support/HeicFiles.h"

#include <cstring>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <QFile>

namespace HeicFiles
{

namespace
{

    heif_image *heifImageOf(const QImage &picture)
    {
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
        heif_image *image = nullptr;
        heif_image_create(
            rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgb.height(); ++y)
            memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
        return image;
    }

    QByteArray exifBlockWithOrientation(int orientation)
    {
        Exiv2::ExifData exif;
        exif["Exif.Image.Orientation"] = uint16_t(orientation);
        Exiv2::Blob blob;
        Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
        return QByteArray(reinterpret_cast<const char *>(blob.data()), int(blob.size()));
    }

} // namespace

bool canWrite()
{
    return heif_have_encoder_for_format(heif_compression_HEVC);
}

bool writeHeic(const QString &path, const QImage &stored, const HeifOptions &options)
{
    if (!canWrite())
        return false;
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_encoder_set_parameter_string(encoder, "chroma", options.chroma);
    heif_encoding_options *encoding = heif_encoding_options_alloc();
    encoding->image_orientation = heif_orientation(options.orientation);
    heif_image *image = heifImageOf(stored);
    if (options.matrixCoefficients >= 0) {
        heif_color_profile_nclx *nclx = heif_nclx_color_profile_alloc();
        nclx->matrix_coefficients = heif_matrix_coefficients(options.matrixCoefficients);
        nclx->full_range_flag = options.fullRange;
        heif_image_set_nclx_color_profile(image, nclx);
        heif_nclx_color_profile_free(nclx);
    }
    heif_image_handle *handle = nullptr;
    bool ok = heif_context_encode_image(context, image, encoder, encoding, &handle).code == heif_error_Ok;
    if (ok && !options.thumbnail.isNull()) {
        heif_image *thumbnailImage = heifImageOf(options.thumbnail);
        heif_image_handle *thumbnail = nullptr;
        ok = heif_context_encode_thumbnail(
                 context, thumbnailImage, handle, encoder, encoding, options.thumbnailBox, &thumbnail)
                 .code
            == heif_error_Ok;
        heif_image_handle_release(thumbnail);
        heif_image_release(thumbnailImage);
    }
    if (ok && options.exifOrientation) {
        const QByteArray exif = exifBlockWithOrientation(options.exifOrientation);
        ok = heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size())).code
            == heif_error_Ok;
    }
    ok = ok && heif_context_write_to_file(context, QFile::encodeName(path).constData()).code == heif_error_Ok;
    heif_image_handle_release(handle);
    heif_image_release(image);
    heif_encoding_options_free(encoding);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return ok;
}

} // namespace HeicFiles

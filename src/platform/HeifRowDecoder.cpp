// The decoder takes the stream as libheif's libde265 decoder does (NAL units of four-byte
// lengths), decodes it the same way, and describes the picture's colour the same way (the
// stream's, through libheif's own checks), so the conversion sees what libheif's would have.
#include "platform/HeifRowDecoder.h"

#include <memory>

#include <libde265/de265.h>
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include "platform/AreaAverage.h"
#include "platform/HeifYCbCrRows.h"

namespace
{

constexpr const char *kId = "quennary-rows";

thread_local HeifRowDecoder::Request *t_request = nullptr;

struct Stream {
    de265_decoder_context *context = nullptr;
};

heif_error result(heif_error_code code, heif_suberror_code subcode = heif_suberror_Unspecified)
{
    return { code, subcode, "" };
}

heif_error pushData(void *decoder, const void *data, std::size_t size)
{
    de265_decoder_context *context = static_cast<Stream *>(decoder)->context;
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    std::size_t at = 0;
    while (at < size) {
        if (size - at < 4)
            return result(heif_error_Decoder_plugin_error, heif_suberror_End_of_data);
        const std::uint32_t nalSize = (std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16)
            | (std::uint32_t(bytes[at + 2]) << 8) | std::uint32_t(bytes[at + 3]);
        at += 4;
        if (nalSize > size - at)
            return result(heif_error_Decoder_plugin_error, heif_suberror_End_of_data);
        de265_push_NAL(context, bytes + at, int(nalSize), 0, nullptr);
        at += nalSize;
    }
    return result(heif_error_Ok);
}

// The picture's colour as libheif describes a picture of this decoder: the stream's values where
// libheif knows them, "unspecified" where not.
HeifYCbCrRows::Colour colourOf(const de265_image *picture)
{
    heif_color_profile_nclx *nclx = heif_nclx_color_profile_alloc();
    if (!nclx)
        return {};
    heif_nclx_color_profile_set_color_primaries(
        nclx, std::uint16_t(de265_get_image_colour_primaries(picture)));
    heif_nclx_color_profile_set_matrix_coefficients(
        nclx, std::uint16_t(de265_get_image_matrix_coefficients(picture)));
    const HeifYCbCrRows::Colour colour { int(nclx->matrix_coefficients), int(nclx->color_primaries),
        de265_get_image_full_range_flag(picture) != 0 };
    heif_nclx_color_profile_free(nclx);
    return colour;
}

std::optional<HeifYCbCrRows> rowsOf(const de265_image *picture)
{
    const de265_chroma chroma = de265_get_chroma_format(picture);
    if (chroma == de265_chroma_mono)
        return std::nullopt;
    HeifYCbCrRows::Planes planes;
    planes.size = QSize(de265_get_image_width(picture, 0), de265_get_image_height(picture, 0));
    planes.chromaShiftX = chroma == de265_chroma_444 ? 0 : 1;
    planes.chromaShiftY = chroma == de265_chroma_420 ? 1 : 0;
    for (int channel = 0; channel < 3; ++channel) {
        const int shiftX = channel == 0 ? 0 : planes.chromaShiftX;
        const int shiftY = channel == 0 ? 0 : planes.chromaShiftY;
        // Every pixel's sample must lie in its plane.
        if (de265_get_bits_per_pixel(picture, channel) != 8
            || de265_get_image_width(picture, channel) < (planes.size.width() + shiftX) >> shiftX
            || de265_get_image_height(picture, channel) < (planes.size.height() + shiftY) >> shiftY)
            return std::nullopt;
    }
    planes.luma = de265_get_image_plane(picture, 0, &planes.lumaStride);
    planes.cb = de265_get_image_plane(picture, 1, &planes.cbStride);
    planes.cr = de265_get_image_plane(picture, 2, &planes.crStride);
    return HeifYCbCrRows::of(planes, colourOf(picture));
}

// The picture reduced to fit the request, as opaque RGB; null when declined.
QImage reducedOf(const de265_image *picture, int maxPixelSize)
{
    std::optional<HeifYCbCrRows> rows = rowsOf(picture);
    if (!rows)
        return {};
    const QSize size(de265_get_image_width(picture, 0), de265_get_image_height(picture, 0));
    return AreaAverage::fittedOpaque(size, maxPixelSize, [&rows](int y) { return rows->row(y); });
}

// The reduced picture as libheif's planar RGB, which it passes on unconverted.
heif_image *heifImageOf(const QImage &reduced)
{
    heif_image *image = nullptr;
    const int width = reduced.width(), height = reduced.height();
    if (heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_444, &image).code != heif_error_Ok)
        return nullptr;
    const heif_channel channels[] = { heif_channel_R, heif_channel_G, heif_channel_B };
    std::uint8_t *planes[3] = {};
    int strides[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (heif_image_add_plane(image, channels[i], width, height, 8).code != heif_error_Ok) {
            heif_image_release(image);
            return nullptr;
        }
        planes[i] = heif_image_get_plane(image, channels[i], &strides[i]);
    }
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(reduced.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            planes[0][qsizetype(y) * strides[0] + x] = std::uint8_t(qRed(line[x]));
            planes[1][qsizetype(y) * strides[1] + x] = std::uint8_t(qGreen(line[x]));
            planes[2][qsizetype(y) * strides[2] + x] = std::uint8_t(qBlue(line[x]));
        }
    }
    return image;
}

// As libheif's decoder: every picture the stream yields is taken, the last one kept.
heif_error decodeImage(void *decoder, heif_image **out)
{
    *out = nullptr;
    HeifRowDecoder::Request *request = HeifRowDecoder::current();
    if (!request)
        return result(heif_error_Decoder_plugin_error);
    de265_decoder_context *context = static_cast<Stream *>(decoder)->context;
    de265_flush_data(context);
    QImage reduced;
    bool declined = false;
    int more = 0;
    do {
        more = 0;
        if (de265_decode(context, &more) != DE265_OK)
            break;
        if (const de265_image *picture = de265_get_next_picture(context)) {
            reduced = reducedOf(picture, request->maxPixelSize());
            declined = reduced.isNull();
            de265_release_next_picture(context);
        }
    } while (more && !declined);
    if (declined) {
        request->setOutcome(HeifRowDecoder::Request::Outcome::Declined);
        return result(heif_error_Decoder_plugin_error, heif_suberror_Unsupported_color_conversion);
    }
    *out = reduced.isNull() ? nullptr : heifImageOf(reduced);
    if (!*out)
        return result(heif_error_Decoder_plugin_error);
    request->setOutcome(HeifRowDecoder::Request::Outcome::Made);
    return result(heif_error_Ok);
}

heif_decoder_plugin rowPlugin()
{
    heif_decoder_plugin p {};
    p.plugin_api_version = 3;
    p.get_plugin_name = [] { return "reducing HEVC decoder"; };
    p.init_plugin = [] {};
    p.deinit_plugin = [] {};
    // Lowest of priorities: chosen only by its id.
    p.does_support_format
        = [](heif_compression_format format) { return format == heif_compression_HEVC ? 1 : 0; };
    p.new_decoder = [](void **decoder) {
        auto stream = std::make_unique<Stream>();
        stream->context = de265_new_decoder();
        if (!stream->context)
            return result(heif_error_Memory_allocation_error);
        de265_start_worker_threads(stream->context, 1);
        *decoder = stream.release();
        return result(heif_error_Ok);
    };
    p.free_decoder = [](void *decoder) {
        auto *stream = static_cast<Stream *>(decoder);
        de265_free_decoder(stream->context);
        delete stream;
    };
    p.push_data = pushData;
    p.decode_image = decodeImage;
    p.set_strict_decoding = [](void *, int) {};
    p.id_name = kId;
    return p;
}

} // namespace

HeifRowDecoder::Request::Request(int maxPixelSize)
    : m_maxPixelSize(maxPixelSize)
    , m_outer(t_request)
{
    t_request = this;
}

HeifRowDecoder::Request::~Request()
{
    t_request = m_outer;
}

const char *HeifRowDecoder::id()
{
    static const heif_decoder_plugin plugin = rowPlugin();
    static const bool registered = heif_register_decoder_plugin(&plugin).code == heif_error_Ok;
    return registered ? kId : nullptr;
}

HeifRowDecoder::Request *HeifRowDecoder::current()
{
    return t_request;
}

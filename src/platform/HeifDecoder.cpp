// HEIC/HEIF decoding through libheif.
#include "platform/HeifDecoder.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <libheif/heif.h>

#include <QFile>

#include "platform/AreaAverage.h"
#include "platform/HeifCanvas.h"
#include "platform/HeifRowDecoder.h"
#include "platform/ImageSourceGeometry.h"
#include "platform/Log.h"

namespace
{

// No budget holds a picture of this many pixels; counting no further keeps its charge in range.
constexpr qint64 kUnaffordablePixels = qint64(1) << 40;

struct HandleRelease {
    void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image *image) const { heif_image_release(image); }
};

QSize handleSize(const heif_image_handle *handle)
{
    return { heif_image_handle_get_width(handle), heif_image_handle_get_height(handle) };
}

qint64 pixelsOf(const QSize &size)
{
    return qint64(std::max(0, size.width())) * std::max(0, size.height());
}

bool hasNclxProfile(const heif_image *image)
{
    heif_color_profile_nclx *profile = nullptr;
    const bool has = heif_image_get_nclx_color_profile(image, &profile).code == heif_error_Ok;
    heif_nclx_color_profile_free(profile);
    return has;
}

// The red, green and blue planes of an opaque 8-bit picture, read one row of pixels at a time.
class RgbPlanes
{
public:
    explicit RgbPlanes(const heif_image *image)
    {
        const heif_channel channels[] = { heif_channel_R, heif_channel_G, heif_channel_B };
        for (int i = 0; i < 3; ++i) {
            m_planes[i] = heif_image_get_plane_readonly(image, channels[i], &m_strides[i]);
            m_valid = m_valid && m_planes[i] && heif_image_get_bits_per_pixel_range(image, channels[i]) == 8
                && heif_image_get_width(image, channels[i]) == heif_image_get_width(image, heif_channel_R)
                && heif_image_get_height(image, channels[i]) == heif_image_get_height(image, heif_channel_R);
        }
        m_size = QSize(
            heif_image_get_width(image, heif_channel_R), heif_image_get_height(image, heif_channel_R));
        m_valid = m_valid && !m_size.isEmpty() && heif_image_get_colorspace(image) == heif_colorspace_RGB
            && heif_image_get_chroma_format(image) == heif_chroma_444
            && !heif_image_has_channel(image, heif_channel_Alpha) && !hasNclxProfile(image);
        if (m_valid)
            m_row.resize(size_t(m_size.width()));
    }

    bool isValid() const { return m_valid; }
    QSize size() const { return m_size; }

    // The planes as they are, or reduced to fit `maxPixelSize`.
    QImage picture(int maxPixelSize = 0)
    {
        return AreaAverage::fittedOpaque(m_size, maxPixelSize, [this](int y) { return row(y); });
    }

    const QRgb *row(int y)
    {
        const uint8_t *r = m_planes[0] + qsizetype(y) * m_strides[0];
        const uint8_t *g = m_planes[1] + qsizetype(y) * m_strides[1];
        const uint8_t *b = m_planes[2] + qsizetype(y) * m_strides[2];
        for (int x = 0; x < m_size.width(); ++x)
            m_row[size_t(x)] = qRgb(r[x], g[x], b[x]);
        return m_row.data();
    }

private:
    const uint8_t *m_planes[3] = {};
    int m_strides[3] = {};
    QSize m_size;
    bool m_valid = true;
    std::vector<QRgb> m_row;
};

} // namespace

bool HeifDecoder::isHeifHeader(const QByteArray &head)
{
    if (head.size() < 12 || head.mid(4, 4) != "ftyp")
        return false;
    return heif_check_filetype(reinterpret_cast<const uint8_t *>(head.constData()), int(head.size()))
        == heif_filetype_yes_supported;
}

HeifDecoder::HeifDecoder(const QString &path, const QString &readPath)
    : path_(path)
    , readPath_(readPath.isEmpty() ? path : readPath)
{
    // Registered before this thread decodes anything, so libheif's list of decoders never changes
    // under a decode running elsewhere.
    HeifRowDecoder::id();
    context_ = heif_context_alloc();
    if (!context_)
        return;
    heif_error error
        = heif_context_read_from_file(context_, QFile::encodeName(readPath_).constData(), nullptr);
    if (error.code == heif_error_Ok)
        error = heif_context_get_primary_image_handle(context_, &primary_);
    if (error.code != heif_error_Ok) {
        Log::line(QStringLiteral("HEIF file could not be read (") + QString::fromUtf8(error.message)
            + QStringLiteral("): ") + path);
        primary_ = nullptr;
        return;
    }
    size_ = handleSize(primary_);
}

HeifDecoder::~HeifDecoder()
{
    if (primary_)
        heif_image_handle_release(primary_);
    if (context_)
        heif_context_free(context_);
}

QImage HeifDecoder::embeddedThumbnail(int minPixelSize, int maxPixelSize) const
{
    if (!primary_)
        return {};
    const int count = heif_image_handle_get_number_of_thumbnails(primary_);
    if (count <= 0)
        return {};
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    heif_image_handle_get_list_of_thumbnail_IDs(primary_, ids.data(), count);
    std::vector<std::pair<heif_item_id, std::unique_ptr<heif_image_handle, HandleRelease>>> usable;
    for (heif_item_id id : ids) {
        heif_image_handle *thumbnail = nullptr;
        if (heif_image_handle_get_thumbnail(primary_, id, &thumbnail).code != heif_error_Ok)
            continue;
        std::unique_ptr<heif_image_handle, HandleRelease> owned(thumbnail);
        if (ImageSourceGeometry::isUsableEmbedded(handleSize(thumbnail), size_, minPixelSize))
            usable.emplace_back(id, std::move(owned));
    }
    if (usable.empty())
        return {};
    const auto smallest = std::min_element(usable.begin(), usable.end(), [](const auto &a, const auto &b) {
        const QSize sa = handleSize(a.second.get());
        const QSize sb = handleSize(b.second.get());
        return qint64(sa.width()) * sa.height() < qint64(sb.width()) * sb.height();
    });
    return decodeWithinBudget(smallest->second.get(), smallest->first, maxPixelSize);
}

QImage HeifDecoder::decodeScaled(int maxPixelSize) const
{
    if (!primary_)
        return {};
    return decodeWithinBudget(primary_, 0, maxPixelSize);
}

// Charged by the largest picture the file may make: the size its boxes state, the canvas a grid or
// overlay states and the picture the stream codes. The first two are held while the stream is read
// (a grid's canvas is made meanwhile), all three once the coded one is known. Each way of decoding
// that turns out not to apply gives way to the next, which holds more: rows, planes, whole.
QImage HeifDecoder::decodeWithinBudget(
    const heif_image_handle *handle, std::uint32_t thumbnailId, int maxPixelSize) const
{
    heif_item_id itemId = thumbnailId;
    if (itemId == 0 && heif_context_get_primary_image_ID(context_, &itemId).code != heif_error_Ok)
        return {};
    const std::optional<HeifCanvas::Item> item = HeifCanvas::of(readPath_, itemId);
    if (!item) {
        Log::line(QStringLiteral("HEIF picture's items could not be read: ") + path_);
        return {};
    }
    const QSize &canvas = item->canvas;
    HeifCodedSize::Coded charged;
    // A canvas is made in full colour, whatever the tiles' chroma.
    if (!canvas.isEmpty())
        charged.chromaSamplesPerPixel = 8;
    const qint64 statedPixels = std::max(pixelsOf(handleSize(handle)), pixelsOf(canvas));
    Made made = Made::Whole;
    if (decodesToPlanes(handle, !canvas.isEmpty()))
        made = item->transformed == false ? Made::Rows : Made::Planes;
    std::optional<DecodeBudget::Reservation> reserved;
    reserved.emplace(reserve(statedPixels, charged, made));
    if (!reserved->isValid())
        return {};
    const HeifCodedSize::Coded coded = HeifCodedSize::of(readPath_, thumbnailId);
    const qint64 pixels = std::max(pixelsOf(coded.size), statedPixels);
    const auto madeAs = [&](Made way) {
        made = way;
        reserved.reset();
        reserved.emplace(reserve(pixels, charged, made));
        return reserved->isValid();
    };
    if (pixelsOf(coded.size) > statedPixels || coded.bytesPerSample > 1
        || coded.chromaSamplesPerPixel > charged.chromaSamplesPerPixel) {
        charged.chromaSamplesPerPixel = std::max(charged.chromaSamplesPerPixel, coded.chromaSamplesPerPixel);
        charged.bytesPerSample = coded.bytesPerSample;
        if (!madeAs(coded.bytesPerSample == 1 ? made : Made::Whole))
            return {};
    }
    std::optional<QImage> reduced = made == Made::Rows ? decodeRows(handle, maxPixelSize) : std::nullopt;
    // Declined by the rows' decoder, or planes of another kind: the next way, charged for as such.
    if (!reduced && made == Made::Rows && !madeAs(Made::Planes))
        return {};
    if (!reduced && made == Made::Planes) {
        reduced = decodePlanes(handle, maxPixelSize);
        if (!reduced && !madeAs(Made::Whole))
            return {};
    }
    if (!reduced)
        reduced = decodeHandle(handle, maxPixelSize);
    const QImage image = *reduced;
    if (image.isNull())
        Log::line(QStringLiteral("HEIF picture could not be decoded: ") + path_);
    return image;
}

// The decoder's planes and its own working data about as large again, and the picture made of
// them: none beyond a row when reduced row by row, its red, green and blue planes, and when whole,
// the RGBA picture made of those and a copy of it (made only when it has an alpha channel).
// Refused, with the size it needed, beyond the shared budget.
DecodeBudget::Reservation HeifDecoder::reserve(
    qint64 pixels, const HeifCodedSize::Coded &coded, Made made) const
{
    const qint64 counted = std::min(pixels, kUnaffordablePixels);
    const qint64 planes = counted * (4 + coded.chromaSamplesPerPixel) * coded.bytesPerSample / 4;
    const qint64 picture = made == Made::Whole ? counted * 4 * 2 : made == Made::Planes ? counted * 3 : 0;
    return DecodeBudget::shared().reserve(picture + planes * 2, path_);
}

// libheif 1.15 makes an opaque picture without a colour profile of its own through its red, green
// and blue planes, interleaved byte for byte into the RGBA picture; a derived picture, one with an
// alpha channel or such a profile, or another version of libheif may take another way there, with
// other pixels, and the fingerprints stored from them would no longer match.
bool HeifDecoder::decodesToPlanes(const heif_image_handle *handle, bool derived)
{
    static const bool planesAreThePicture
        = heif_get_version_number_major() == 1 && heif_get_version_number_minor() == 15;
    if (!planesAreThePicture || derived || heif_image_handle_has_alpha_channel(handle))
        return false;
    heif_color_profile_nclx *profile = nullptr;
    const bool profiled = heif_image_handle_get_nclx_color_profile(handle, &profile).code == heif_error_Ok;
    heif_nclx_color_profile_free(profile);
    return !profiled;
}

// The planes are reduced row by row, as the RGBA picture would be, so the whole picture (four
// bytes a pixel, the largest block of the decode) is never made.
std::optional<QImage> HeifDecoder::decodePlanes(const heif_image_handle *handle, int maxPixelSize)
{
    heif_image *decoded = nullptr;
    const heif_error error
        = heif_decode_image(handle, &decoded, heif_colorspace_RGB, heif_chroma_444, nullptr);
    if (error.code != heif_error_Ok || !decoded)
        return QImage();
    std::unique_ptr<heif_image, ImageRelease> owned(decoded);
    RgbPlanes planes(decoded);
    if (!planes.isValid())
        return std::nullopt;
    return planes.picture(maxPixelSize);
}

// libheif hands over what the rows' decoder made (see HeifRowDecoder): the picture already reduced,
// as its red, green and blue planes. Nothing when that decoder declined the picture.
std::optional<QImage> HeifDecoder::decodeRows(const heif_image_handle *handle, int maxPixelSize)
{
    const char *decoder = HeifRowDecoder::id();
    heif_decoding_options *options = decoder ? heif_decoding_options_alloc() : nullptr;
    if (!options)
        return std::nullopt;
    options->decoder_id = decoder;
    HeifRowDecoder::Request request(maxPixelSize);
    heif_image *decoded = nullptr;
    const heif_error error
        = heif_decode_image(handle, &decoded, heif_colorspace_RGB, heif_chroma_444, options);
    heif_decoding_options_free(options);
    std::unique_ptr<heif_image, ImageRelease> owned(decoded);
    if (request.outcome() == HeifRowDecoder::Request::Outcome::Declined)
        return std::nullopt;
    if (error.code != heif_error_Ok || !decoded
        || request.outcome() != HeifRowDecoder::Request::Outcome::Made)
        return QImage();
    RgbPlanes planes(decoded);
    return planes.isValid() ? planes.picture() : QImage();
}

// libheif's RGBA picture is reduced where it lies, read as ARGB32 with red and blue exchanged: the
// reduction treats every channel alike, so only its small result has them put back, and no
// full-size copy is made. Every alpha byte of an opaque picture is 255, so it reads as
// premultiplied and the reduction does not convert it either.
QImage HeifDecoder::decodeHandle(const heif_image_handle *handle, int maxPixelSize)
{
    heif_image *decoded = nullptr;
    const heif_error error
        = heif_decode_image(handle, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
    if (error.code != heif_error_Ok || !decoded)
        return {};
    std::unique_ptr<heif_image, ImageRelease> owned(decoded);
    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!plane || width <= 0 || height <= 0)
        return {};
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const QImage exchanged(
        plane, width, height, stride, alpha ? QImage::Format_ARGB32 : QImage::Format_ARGB32_Premultiplied);
    // rgbSwapped() makes a picture of its own before libheif releases the plane; the reduction's
    // own picture is swapped and relabelled where it lies.
    QImage reduced = ImageSourceGeometry::scaledToFit(exchanged, maxPixelSize).rgbSwapped();
    return alpha ? reduced : std::move(reduced).convertToFormat(QImage::Format_RGB32);
}

// HEIC/HEIF decoding through libheif.
#include "platform/HeifDecoder.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <libheif/heif.h>

#include <QFile>

#include "platform/ImageSourceGeometry.h"
#include "platform/Log.h"

namespace
{

// A decoded picture above this many bytes is refused rather than allocated: libheif cannot decode
// scaled.
constexpr qint64 kMaxDecodedBytes = qint64(1024) * 1024 * 1024;

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
    return ImageSourceGeometry::scaledToFit(
        decodeWithinBudget(smallest->second.get(), smallest->first), maxPixelSize);
}

QImage HeifDecoder::decodeScaled(int maxPixelSize) const
{
    if (!primary_)
        return {};
    const QImage image = decodeWithinBudget(primary_, 0);
    if (image.isNull())
        Log::line(QStringLiteral("HEIF picture could not be decoded: ") + path_);
    return ImageSourceGeometry::scaledToFit(image, maxPixelSize);
}

// Charged by the picture the stream codes, whatever the file's boxes say. The stated size is held
// while the stream is read (a grid's canvas is made meanwhile), the coded one once it is known.
QImage HeifDecoder::decodeWithinBudget(const heif_image_handle *handle, std::uint32_t thumbnailId) const
{
    const QSize stated = handleSize(handle);
    const qint64 statedPixels = qint64(stated.width()) * stated.height();
    std::optional<DecodeBudget::Reservation> reserved;
    reserved.emplace(reserve(statedPixels, {}));
    if (!reserved->isValid())
        return {};
    const HeifCodedSize::Coded coded = HeifCodedSize::of(readPath_, thumbnailId);
    const qint64 codedPixels = qint64(coded.size.width()) * coded.size.height();
    if (codedPixels > statedPixels || coded.bytesPerSample > 1) {
        reserved.reset();
        reserved.emplace(reserve(std::max(codedPixels, statedPixels), coded));
        if (!reserved->isValid())
            return {};
    }
    return decodeHandle(handle);
}

// The decoder's planes and its own working data about as large again, the picture made of them
// and its copy into a QImage.
DecodeBudget::Reservation HeifDecoder::reserve(qint64 pixels, const HeifCodedSize::Coded &coded) const
{
    if (pixels * 4 > kMaxDecodedBytes) {
        Log::line(QStringLiteral("HEIF picture too large to decode: ") + path_);
        return {};
    }
    const qint64 planes = pixels * (4 + coded.chromaSamplesPerPixel) * coded.bytesPerSample / 4;
    return DecodeBudget::shared().reserve(pixels * 4 * 2 + planes * 2, path_);
}

QImage HeifDecoder::decodeHandle(const heif_image_handle *handle)
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
    // The wrapper does not own the plane; copy() detaches before libheif releases it.
    return QImage(plane, width, height, stride, QImage::Format_RGBA8888).copy();
}

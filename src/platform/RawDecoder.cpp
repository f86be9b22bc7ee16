// Camera raw decoding through LibRaw.
#include "platform/RawDecoder.h"

#include <algorithm>
#include <optional>

#include <libraw/libraw.h>

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "platform/DecodeBudget.h"
#include "platform/ImageSourceGeometry.h"
#include "platform/Log.h"
#include "platform/PictureBuffers.h"
#include "platform/QtImageDecoder.h"

// LibRaw with the cost of reading its preview known beforehand and the preview given back after use.
class RawLibrary : public LibRaw
{
public:
    RawLibrary()
        : LibRaw(0)
    {
    }
    // What LibRaw allocates to read the preview, from what the file states before it is read: a
    // JPEG as long as it is stored; a bitmap as long as its stated length or picture, converted
    // through up to two more buffers when stored in 16 bits, in planes or in a camera's own layout.
    qint64 previewReadBytes()
    {
        const libraw_thumbnail_t &stated = imgdata.thumbnail;
        if (is_jpeg_thumb())
            return stated.tlength;
        return 3 * std::max<qint64>(stated.tlength, qint64(stated.twidth) * stated.theight * 3);
    }
    // LibRaw keeps the preview until the file is closed; the raw decode that may follow must not.
    void releasePreview()
    {
        free(imgdata.thumbnail.thumb);
        imgdata.thumbnail.thumb = nullptr;
    }
};

namespace
{

struct ProcessedImageRelease {
    void operator()(libraw_processed_image_t *image) const { LibRaw::dcraw_clear_mem(image); }
};

// LibRaw's flip code as an EXIF orientation.
int orientationOfFlip(int flip)
{
    switch (flip) {
    case 3:
        return 3;
    case 5:
        return 8;
    case 6:
        return 6;
    default:
        return 1;
    }
}

// As RGB32, the form the reduction to a thumbnail reads, so it makes no second copy; in the
// thread's kept memory, since a camera's pictures all come to the same size.
QImage imageOfRgb(const unsigned char *data, int width, int height)
{
    if (!data || width <= 0 || height <= 0)
        return {};
    QImage image = PictureBuffers::image(QSize(width, height), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const unsigned char *from = data + size_t(y) * size_t(width) * 3;
        auto *to = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x, from += 3)
            to[x] = qRgb(from[0], from[1], from[2]);
    }
    return image;
}

} // namespace

bool RawDecoder::isRawExtension(const QString &path)
{
    static const QSet<QString> &extensions = *new QSet<QString> {
        QStringLiteral("dng"),
        QStringLiteral("cr2"),
        QStringLiteral("cr3"),
        QStringLiteral("crw"),
        QStringLiteral("nef"),
        QStringLiteral("nrw"),
        QStringLiteral("arw"),
        QStringLiteral("srf"),
        QStringLiteral("sr2"),
        QStringLiteral("orf"),
        QStringLiteral("raf"),
        QStringLiteral("rw2"),
        QStringLiteral("rwl"),
        QStringLiteral("pef"),
        QStringLiteral("srw"),
        QStringLiteral("x3f"),
        QStringLiteral("3fr"),
        QStringLiteral("erf"),
        QStringLiteral("kdc"),
        QStringLiteral("dcr"),
        QStringLiteral("mrw"),
        QStringLiteral("mos"),
        QStringLiteral("iiq"),
        QStringLiteral("raw"),
    };
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

RawDecoder::RawDecoder(const QString &path, const QString &readPath)
    : path_(path)
    , raw_(std::make_unique<RawLibrary>())
{
    // LibRaw prints damaged-data messages to standard error by default; a failed open or decode is
    // logged once below instead.
    raw_->set_dataerror_handler([](void *, const char *, int) {}, nullptr);
    if (raw_->open_file(QFile::encodeName(readPath.isEmpty() ? path : readPath).constData())
        != LIBRAW_SUCCESS)
        return;
    const libraw_image_sizes_t &sizes = raw_->imgdata.sizes;
    size_ = QSize(sizes.width, sizes.height);
    orientation_ = orientationOfFlip(sizes.flip);
}

RawDecoder::~RawDecoder() = default;

QImage RawDecoder::embeddedThumbnail(int minPixelSize, int maxPixelSize)
{
    if (!isValid())
        return {};
    const QImage image = previewOf(minPixelSize, maxPixelSize);
    raw_->releasePreview();
    return image;
}

QImage RawDecoder::previewOf(int minPixelSize, int maxPixelSize)
{
    const libraw_thumbnail_t &thumbnail = raw_->imgdata.thumbnail;
    const qint64 statedPixels = qint64(thumbnail.twidth) * thumbnail.theight;
    // A bitmap is made into a picture of its own size; a JPEG is charged for its decode once its
    // header is read.
    std::optional<DecodeBudget::Reservation> reserved;
    reserved.emplace(DecodeBudget::shared().reserve(
        raw_->previewReadBytes() + (raw_->is_jpeg_thumb() ? 0 : statedPixels * 4), path_));
    if (!reserved->isValid() || raw_->unpack_thumb() != LIBRAW_SUCCESS || !thumbnail.thumb
        || thumbnail.tlength == 0)
        return {};
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG) {
        // LibRaw's own bytes, not a copy: they stay until the next unpack.
        const QByteArray data = QByteArray::fromRawData(thumbnail.thumb, qsizetype(thumbnail.tlength));
        const QSize actual = QtImageDecoder::readHeader(data).size;
        if (!ImageSourceGeometry::isUsableEmbedded(actual, size_, minPixelSize))
            return {};
        // Charged again together with its decode: no reservation is held while another is waited for.
        reserved.reset();
        return QtImageDecoder::decodeScaled(data, maxPixelSize, path_, data.size());
    }
    const qint64 pixels = qint64(thumbnail.twidth) * thumbnail.theight;
    if (thumbnail.tformat != LIBRAW_THUMBNAIL_BITMAP || thumbnail.tcolors != 3 || pixels > statedPixels
        || pixels * 3 > qint64(thumbnail.tlength)
        || !ImageSourceGeometry::isUsableEmbedded(
            QSize(thumbnail.twidth, thumbnail.theight), size_, minPixelSize))
        return {};
    return ImageSourceGeometry::scaledToFit(
        imageOfRgb(
            reinterpret_cast<const unsigned char *>(thumbnail.thumb), thumbnail.twidth, thumbnail.theight),
        maxPixelSize);
}

QImage RawDecoder::decodeScaled(int maxPixelSize)
{
    if (!isValid())
        return {};
    // Half size: the unpacked sensor data (two bytes a pixel), four 16-bit channels of a quarter
    // of the pixels, and the 8-bit picture made of them with its RGB32 copy.
    const qint64 pixels = qint64(size_.width()) * size_.height();
    const DecodeBudget::Reservation reserved
        = DecodeBudget::shared().reserve(pixels * 2 + pixels * 2 + pixels * 2, path_);
    if (!reserved.isValid())
        return {};
    raw_->imgdata.params.half_size = 1;
    // The picture is turned by the caller from orientation(), exactly once.
    raw_->imgdata.params.user_flip = 0;
    if (raw_->unpack() != LIBRAW_SUCCESS || raw_->dcraw_process() != LIBRAW_SUCCESS) {
        Log::line(QStringLiteral("Raw file could not be decoded: ") + path_);
        return {};
    }
    int error = 0;
    std::unique_ptr<libraw_processed_image_t, ProcessedImageRelease> processed(
        raw_->dcraw_make_mem_image(&error));
    if (!processed || processed->type != LIBRAW_IMAGE_BITMAP || processed->colors != 3
        || processed->bits != 8)
        return {};
    return ImageSourceGeometry::scaledToFit(
        imageOfRgb(processed->data, processed->width, processed->height), maxPixelSize);
}

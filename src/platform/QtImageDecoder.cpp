// Header and scaled decoding through QImageReader.
#include "platform/QtImageDecoder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "platform/DecodeBudget.h"
#include "platform/ImageSourceGeometry.h"
#include "platform/Log.h"
#include "platform/PictureBuffers.h"
#include "platform/RegularFile.h"

namespace
{

// Qt refuses images whose decoded form, counted at four bytes a pixel whatever the format, exceeds
// its allocation limit, so the limit is always set to what the decode reserved of the shared
// budget. Formats that cannot decode scaled need the full picture in memory first.
// Greyscale pictures larger than this at four bytes a pixel are decoded at one byte a pixel.
constexpr int kLargeGreyMiB = 64;
// A JPEG decoded at its scale, 1/8 at the smallest, above this would declare over two gigapixels:
// no camera or stitched panorama file, but a crafted header can claim it in a few kilobytes.
constexpr qint64 kLargestScaledJpeg = qint64(128) * 1024 * 1024;

qint64 mebibytes(qint64 bytes)
{
    return bytes / (1024 * 1024) + 1;
}

bool decodesScaledNatively(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg";
}

// What the decoder allocates: JPEG decodes at 1/1, 1/2, 1/4 or 1/8 of the stored size (the
// smallest that still covers the target) before the final smooth scaling; others at full size.
// `bytesPerPixel`: a picture of 16 bits a channel is decoded at eight.
// Bytes of a picture of `size`, held to kMostBytes: a file may declare any size (a forged header,
// 2147483647 pixels a side), and the product must never wrap into a small or negative charge.
// Far beyond any budget, so such a picture is refused, and small enough to add to.
constexpr qint64 kMostBytes = qint64(1) << 53;

qint64 pictureBytes(const QSize &size, int bytesPerPixel)
{
    const qint64 pixels = qint64(std::max(0, size.width())) * std::max(0, size.height());
    return pixels > kMostBytes / bytesPerPixel ? kMostBytes : pixels * bytesPerPixel;
}

qint64 decodedBytes(const QByteArray &format, const QSize &stored, const QSize &target, int bytesPerPixel = 4)
{
    QSize decoded = stored;
    for (int denominator = 8; decodesScaledNatively(format) && denominator > 1; denominator /= 2) {
        const QSize scaled((stored.width() + denominator - 1) / denominator,
            (stored.height() + denominator - 1) / denominator);
        if (scaled.width() >= target.width() && scaled.height() >= target.height()) {
            decoded = scaled;
            break;
        }
    }
    return pictureBytes(decoded, bytesPerPixel);
}

qint64 decodedMiB(const QByteArray &format, const QSize &stored, const QSize &target)
{
    return mebibytes(decodedBytes(format, stored, target));
}

// The size asked of the reader for `target`. A JPEG is asked for a size its decoder makes by DCT
// scaling alone (M/8 of the stored size, the smallest M that still covers the target; rounded down,
// since the reader picks M by rounding up), so the reader adds no resampling of its own and the
// reduction to the target is left to the area averaging. Other formats are asked for the target
// itself: the PNG reader reduces while it decodes and never holds the whole picture.
QSize readerSize(const QByteArray &format, const QSize &stored, const QSize &target)
{
    if (!decodesScaledNatively(format))
        return target;
    for (int eighths = 1; eighths < 8; ++eighths) {
        const QSize scaled(
            std::max(1, stored.width() * eighths / 8), std::max(1, stored.height() * eighths / 8));
        if (scaled.width() + 1 >= target.width() && scaled.height() + 1 >= target.height())
            return scaled;
    }
    return stored;
}

// The picture the JPEG reader makes when asked for `asked`: libjpeg decodes at M/8 of the stored size,
// M the smallest eighth whose picture covers the size asked, each side rounded up. Should the reader
// differ, it makes a picture of its own and nothing is lost but the reuse.
QSize jpegDecodedSize(const QSize &stored, const QSize &asked)
{
    int eighths = 8;
    const double factor = std::min(
        double(stored.width()) / double(asked.width()), double(stored.height()) / double(asked.height()));
    if (asked != stored && factor > 1)
        eighths = std::clamp(int(std::ceil(8 / factor)), 1, 8);
    return { (stored.width() * eighths + 7) / 8, (stored.height() * eighths + 7) / 8 };
}

// The PNG reader reduces an 8-bit RGB or RGBA picture that is not interlaced row by row while it
// decodes it, holding a few rows and the picture of the size asked, never the whole picture;
// others it decodes whole first. Read from the header's IHDR chunk.
bool reducesWhileDecoding(const QByteArray &format, const QByteArray &head)
{
    constexpr int kDepth = 24, kColourType = 25, kInterlace = 28;
    if (format != "png" || head.size() <= kInterlace || head.mid(12, 4) != "IHDR")
        return false;
    const int colourType = uchar(head[kColourType]);
    return uchar(head[kDepth]) == 8 && (colourType == 2 || colourType == 6) && head[kInterlace] == 0;
}

// What the reader holds while it reduces a picture of `stored` width to `asked`: a row of the
// picture in bytes, one of sums in 32-bit words, and the reduced picture.
qint64 reducingBytes(const QSize &stored, const QSize &asked)
{
    return qint64(stored.width()) * 4 * 5 + qint64(asked.width()) * asked.height() * 4;
}

// A box average over factor x factor blocks: a large greyscale picture comes down to a few times
// the target in its own one byte a pixel, where smooth scaling would first widen it to four.
QImage boxReduced(const QImage &grey, int factor)
{
    const int width = grey.width() / factor;
    const int height = grey.height() / factor;
    QImage reduced(width, height, QImage::Format_Grayscale8);
    if (reduced.isNull())
        return {};
    std::vector<quint32> sums(static_cast<size_t>(width), 0u);
    const quint32 area = quint32(factor) * quint32(factor);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int row = 0; row < factor; ++row) {
            const uchar *line = grey.constScanLine(y * factor + row);
            for (int x = 0; x < width; ++x) {
                const uchar *block = line + x * factor;
                for (int i = 0; i < factor; ++i)
                    sums[size_t(x)] += block[i];
            }
        }
        uchar *out = reduced.scanLine(y);
        for (int x = 0; x < width; ++x)
            out[x] = uchar((sums[size_t(x)] + area / 2) / area);
    }
    return reduced;
}

} // namespace

QtImageDecoder::Header QtImageDecoder::readHeader(const QString &path)
{
    QFile file;
    if (!RegularFile::openQFile(file, path))
        return {};
    return readHeader(&file);
}

QtImageDecoder::Header QtImageDecoder::readHeader(const QByteArray &data)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    return readHeader(&buffer);
}

QtImageDecoder::Header QtImageDecoder::readHeader(QIODevice *device)
{
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    Header header;
    if (!reader.canRead())
        return header;
    header.format = reader.format();
    header.size = reader.size();
    const QImage::Format format = reader.imageFormat();
    header.isGrey = format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16;
    return header;
}

QImage QtImageDecoder::decodeScaled(const QString &path, int maxPixelSize, const QString &readPath)
{
    QFile file;
    if (!RegularFile::openQFile(file, readPath.isEmpty() ? path : readPath))
        return {};
    return decodeScaled(&file, path, maxPixelSize);
}

QImage QtImageDecoder::decodeScaled(
    const QByteArray &data, int maxPixelSize, const QString &name, qint64 heldBytes)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    return decodeScaled(&buffer, name, maxPixelSize, heldBytes);
}

QImage QtImageDecoder::decodeScaled(
    QIODevice *device, const QString &name, int maxPixelSize, qint64 heldBytes)
{
    const QByteArray head = device->peek(32);
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    const QSize target = ImageSourceGeometry::fittedSize(stored, maxPixelSize);
    if (target.isEmpty())
        return {};
    if (reader.imageFormat() == QImage::Format_Grayscale8 && !decodesScaledNatively(reader.format())
        && decodedMiB(reader.format(), stored, target) > kLargeGreyMiB)
        return decodeLargeGrey(reader, name, maxPixelSize, heldBytes);
    const QSize asked = readerSize(reader.format(), stored, target);
    if (asked != stored)
        reader.setScaledSize(asked);

    // The reader may scale the decoder's picture to the size asked: a second picture of that size.
    const int bytesPerPixel = std::max(4, QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel() / 8);
    const qint64 decoded = decodedBytes(reader.format(), stored, target, bytesPerPixel);
    const bool jpeg = decodesScaledNatively(reader.format());
    // A picture reduced while it is decoded is charged for what the reader holds, yet refused as
    // the whole picture would be.
    const bool reducing = asked != stored && reducesWhileDecoding(reader.format(), head);
    if (reducing && !DecodeBudget::shared().affords(decoded + heldBytes, name))
        return {};
    const qint64 held = reducing ? reducingBytes(stored, asked) : (jpeg ? 2 * decoded : decoded);
    const DecodeBudget::Reservation reserved = DecodeBudget::shared().reserve(
        held + heldBytes, name, jpeg ? 2 * kLargestScaledJpeg + heldBytes : -1);
    if (!reserved.isValid())
        return {};
    reader.setAllocationLimit(int(mebibytes(decoded)) + 1);
    // The reader fills a picture of the size and format it makes instead of allocating one.
    QImage image
        = jpeg ? PictureBuffers::image(jpegDecodedSize(stored, asked), reader.imageFormat()) : QImage();
    if (!reader.read(&image))
        image = QImage();
    if (image.isNull())
        Log::line(QStringLiteral("Image could not be decoded (") + reader.errorString()
            + QStringLiteral("): ") + name);
    return ImageSourceGeometry::scaledToFit(image, maxPixelSize);
}

// Decoded at one byte a pixel, then box-averaged to about twice the target before the smooth
// scaling, so the memory is the picture's own size, within the large limit.
QImage QtImageDecoder::decodeLargeGrey(
    QImageReader &reader, const QString &name, int maxPixelSize, qint64 heldBytes)
{
    const QSize stored = reader.size();
    const qint64 pixels = pictureBytes(stored, 1);
    const DecodeBudget::Reservation reserved = DecodeBudget::shared().reserve(pixels + heldBytes, name);
    if (!reserved.isValid())
        return {};
    // Qt checks the limit at four bytes a pixel although it fills one.
    reader.setAllocationLimit(int(std::min<qint64>(mebibytes(pictureBytes(stored, 4)), 1 << 20)));
    QImage grey = reader.read();
    if (grey.isNull() || grey.format() != QImage::Format_Grayscale8) {
        Log::line(QStringLiteral("Image could not be decoded (") + reader.errorString()
            + QStringLiteral("): ") + name);
        return {};
    }
    const QSize target = ImageSourceGeometry::fittedSize(stored, maxPixelSize);
    const int factor = std::max(1,
        std::min(stored.width() / (2 * std::max(1, target.width())),
            stored.height() / (2 * std::max(1, target.height()))));
    if (factor > 1)
        grey = boxReduced(grey, factor);
    return ImageSourceGeometry::scaledToFit(grey, maxPixelSize);
}

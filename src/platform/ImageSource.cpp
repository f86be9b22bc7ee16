// One image source per file: picks the decoder by content (and, for camera raw, by extension), then
// answers size, properties and thumbnails in the order the rest of the program relies on.
#include "platform/ImageSource.h"

#include <algorithm>

#include <unistd.h>

#include <QFile>

#include "platform/ExifReader.h"
#include "platform/HeifDecoder.h"
#include "platform/ImageSourceGeometry.h"
#include "platform/QtImageDecoder.h"
#include "platform/RawDecoder.h"
#include "platform/RegularFile.h"

namespace
{

enum class Kind { None, Qt, Heif, Raw };

QByteArray headOf(const RegularFile::Descriptor &file)
{
    QByteArray head(64, '\0');
    const ssize_t got = ::pread(file.get(), head.data(), size_t(head.size()), 0);
    head.truncate(got > 0 ? qsizetype(got) : 0);
    return head;
}

} // namespace

struct ImageSource::Private {
    QString path;
    // Held open for the source's life; every decoder reads this very file through its /proc
    // path, so a path replaced by a fifo or a device after the walk is never opened.
    RegularFile::Descriptor file;
    Kind kind = Kind::None;
    QSize size;
    bool isGrey = false;
    std::unique_ptr<HeifDecoder> heif;
    std::unique_ptr<RawDecoder> raw;
    mutable std::unique_ptr<ExifReader> exif;

    void open();
    bool openRaw();
    ExifReader &metadata() const
    {
        if (!exif)
            exif = std::make_unique<ExifReader>(path, readPath());
        return *exif;
    }
    QString readPath() const { return file.isValid() ? file.procPath() : QStringLiteral("/nonexistent"); }
    int orientation() const;
    QImage embeddedThumbnail(int minPixelSize, int maxPixelSize) const;
    QImage decodeScaled(int maxPixelSize) const;
};

void ImageSource::Private::open()
{
    file = RegularFile::openForReading(path);
    if (!file.isValid())
        return;
    const QByteArray head = headOf(file);
    if (head.isEmpty())
        return;
    if (head.mid(4, 8) == "ftypcrx ") {
        openRaw();
        return;
    }
    if (HeifDecoder::isHeifHeader(head)) {
        heif = std::make_unique<HeifDecoder>(path, readPath());
        if (heif->isValid()) {
            kind = Kind::Heif;
            size = heif->size();
        }
        return;
    }
    if (RawDecoder::isRawExtension(path) && openRaw())
        return;
    const QtImageDecoder::Header header = QtImageDecoder::readHeader(readPath());
    if (header.isValid()) {
        kind = Kind::Qt;
        size = header.size;
        isGrey = header.isGrey;
    }
}

bool ImageSource::Private::openRaw()
{
    auto decoder = std::make_unique<RawDecoder>(path, readPath());
    if (!decoder->isValid())
        return false;
    raw = std::move(decoder);
    kind = Kind::Raw;
    size = raw->size();
    return true;
}

int ImageSource::Private::orientation() const
{
    switch (kind) {
    case Kind::Qt:
        return metadata().orientation();
    case Kind::Raw:
        return raw->orientation();
    default:
        return 1;
    }
}

QImage ImageSource::Private::embeddedThumbnail(int minPixelSize, int maxPixelSize) const
{
    switch (kind) {
    case Kind::Qt:
        return metadata().embeddedThumbnail(size, minPixelSize, maxPixelSize);
    case Kind::Heif:
        return heif->embeddedThumbnail(minPixelSize, maxPixelSize);
    case Kind::Raw:
        return raw->embeddedThumbnail(minPixelSize, maxPixelSize);
    default:
        return {};
    }
}

QImage ImageSource::Private::decodeScaled(int maxPixelSize) const
{
    switch (kind) {
    case Kind::Qt:
        return QtImageDecoder::decodeScaled(path, maxPixelSize, readPath());
    case Kind::Heif:
        return heif->decodeScaled(maxPixelSize);
    case Kind::Raw:
        return raw->decodeScaled(maxPixelSize);
    default:
        return {};
    }
}

void ImageSource::initializeLibraries()
{
    ExifReader::initialize();
}

ImageSource::ImageSource(const QString &path)
    : d(std::make_unique<Private>())
{
    d->path = path;
    d->open();
}

ImageSource::~ImageSource() = default;

bool ImageSource::isValid() const
{
    return d->kind != Kind::None;
}

QSize ImageSource::pixelSize() const
{
    return d->size;
}

int ImageSource::orientation() const
{
    return isValid() ? d->orientation() : 1;
}

QVariantMap ImageSource::properties() const
{
    if (!isValid())
        return {};
    QVariantMap properties = d->metadata().properties();
    properties.insert(QStringLiteral("PixelWidth"), d->size.width());
    properties.insert(QStringLiteral("PixelHeight"), d->size.height());
    properties.insert(
        QStringLiteral("ColorModel"), d->isGrey ? QStringLiteral("Gray") : QStringLiteral("RGB"));
    return properties;
}

QImage ImageSource::thumbnail(const ThumbnailOptions &options) const
{
    if (!isValid() || options.maxPixelSize <= 0)
        return {};
    const int handedOver = std::max(options.maxPixelSize, options.detailPixelSize);
    QImage image = d->embeddedThumbnail(options.maxPixelSize, handedOver);
    if (image.isNull() && options.createFromImageIfAbsent)
        image = d->decodeScaled(handedOver);
    if (image.isNull())
        return {};
    // Every decoder hands the picture over as stored; it is turned here, exactly once.
    if (options.applyOrientation)
        image = ImageSourceGeometry::applyOrientation(image, orientation());
    return image;
}

QImage ImageSource::thumbnail(int maxPixelSize) const
{
    ThumbnailOptions options;
    options.maxPixelSize = maxPixelSize;
    return thumbnail(options);
}

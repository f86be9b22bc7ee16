// Metadata and embedded previews through Exiv2.
#include "platform/ExifReader.h"

#include <mutex>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <QColorSpace>
#include <QFile>

#include "platform/ImageDensity.h"
#include "platform/ImageSourceGeometry.h"
#include "platform/Log.h"
#include "platform/QtImageDecoder.h"

namespace
{

using Exif = Exiv2::ExifData;

const Exiv2::Exifdatum *find(const Exif &exif, const char *key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end() || it->count() == 0)
        return nullptr;
    return &*it;
}

void putText(QVariantMap &section, const char *name, const Exif &exif, const char *key)
{
    if (const auto *datum = find(exif, key)) {
        std::string text = datum->toString();
        text = text.substr(0, text.find('\0'));
        const QString value = QString::fromUtf8(text.c_str()).trimmed();
        if (!value.isEmpty())
            section.insert(QLatin1String(name), value);
    }
}

void putInteger(QVariantMap &section, const char *name, const Exif &exif, const char *key)
{
    if (const auto *datum = find(exif, key))
        section.insert(QLatin1String(name), qlonglong(datum->toLong(0)));
}

std::optional<double> rationalAt(const Exiv2::Exifdatum &datum, long index)
{
    const Exiv2::Rational value = datum.toRational(index);
    if (value.second == 0)
        return std::nullopt;
    return double(value.first) / double(value.second);
}

void putReal(QVariantMap &section, const char *name, const Exif &exif, const char *key)
{
    if (const auto *datum = find(exif, key)) {
        if (const auto value = rationalAt(*datum, 0))
            section.insert(QLatin1String(name), *value);
    }
}

// Degrees, minutes and seconds as three rationals.
void putCoordinate(QVariantMap &section, const char *name, const Exif &exif, const char *key)
{
    const auto *datum = find(exif, key);
    if (!datum || datum->count() < 1)
        return;
    double degrees = 0;
    double unit = 1;
    for (long i = 0; i < std::min<long>(3, datum->count()); ++i, unit *= 60) {
        const auto part = rationalAt(*datum, i);
        if (!part)
            return;
        degrees += *part / unit;
    }
    section.insert(QLatin1String(name), degrees);
}

enum class Kind { Text, Integer, Real, Coordinate, IntegerList };

struct Field {
    Kind kind;
    const char *name; // the property key
    const char *key; // the Exiv2 key
};

void putIntegerList(QVariantMap &section, const char *name, const Exif &exif, const char *key)
{
    if (const auto *datum = find(exif, key)) {
        QVariantList values;
        for (long i = 0; i < datum->count(); ++i)
            values.append(qlonglong(datum->toLong(i)));
        section.insert(QLatin1String(name), values);
    }
}

QVariantMap sectionOf(const Exif &exif, std::initializer_list<Field> fields)
{
    QVariantMap section;
    for (const Field &field : fields) {
        switch (field.kind) {
        case Kind::Text:
            putText(section, field.name, exif, field.key);
            break;
        case Kind::Integer:
            putInteger(section, field.name, exif, field.key);
            break;
        case Kind::Real:
            putReal(section, field.name, exif, field.key);
            break;
        case Kind::Coordinate:
            putCoordinate(section, field.name, exif, field.key);
            break;
        case Kind::IntegerList:
            putIntegerList(section, field.name, exif, field.key);
            break;
        }
    }
    return section;
}

QVariantMap tiffSection(const Exif &exif)
{
    return sectionOf(exif,
        {
            { Kind::Text, "Make", "Exif.Image.Make" },
            { Kind::Text, "Model", "Exif.Image.Model" },
            { Kind::Text, "Software", "Exif.Image.Software" },
            { Kind::Text, "DateTime", "Exif.Image.DateTime" },
            { Kind::Integer, "Orientation", "Exif.Image.Orientation" },
            { Kind::Real, "XResolution", "Exif.Image.XResolution" },
            { Kind::Real, "YResolution", "Exif.Image.YResolution" },
            { Kind::Integer, "ResolutionUnit", "Exif.Image.ResolutionUnit" },
        });
}

QVariantMap exifSection(const Exif &exif)
{
    return sectionOf(exif,
        {
            { Kind::Text, "DateTimeOriginal", "Exif.Photo.DateTimeOriginal" },
            { Kind::Text, "DateTimeDigitized", "Exif.Photo.DateTimeDigitized" },
            { Kind::Real, "ExposureTime", "Exif.Photo.ExposureTime" },
            { Kind::Real, "FNumber", "Exif.Photo.FNumber" },
            { Kind::Real, "FocalLength", "Exif.Photo.FocalLength" },
            { Kind::Real, "ExposureBiasValue", "Exif.Photo.ExposureBiasValue" },
            { Kind::Real, "DigitalZoomRatio", "Exif.Photo.DigitalZoomRatio" },
            { Kind::Integer, "ExposureMode", "Exif.Photo.ExposureMode" },
            { Kind::Integer, "ExposureProgram", "Exif.Photo.ExposureProgram" },
            { Kind::Integer, "MeteringMode", "Exif.Photo.MeteringMode" },
            { Kind::Integer, "LightSource", "Exif.Photo.LightSource" },
            { Kind::Integer, "SensingMethod", "Exif.Photo.SensingMethod" },
            { Kind::Integer, "SceneCaptureType", "Exif.Photo.SceneCaptureType" },
            { Kind::Integer, "ColorSpace", "Exif.Photo.ColorSpace" },
            { Kind::Integer, "Flash", "Exif.Photo.Flash" },
            { Kind::Integer, "PixelXDimension", "Exif.Photo.PixelXDimension" },
            { Kind::Integer, "PixelYDimension", "Exif.Photo.PixelYDimension" },
            { Kind::IntegerList, "ISOSpeedRatings", "Exif.Photo.ISOSpeedRatings" },
            { Kind::Text, "LensModel", "Exif.Photo.LensModel" },
        });
}

QVariantMap gpsSection(const Exif &exif)
{
    return sectionOf(exif,
        {
            { Kind::Coordinate, "Latitude", "Exif.GPSInfo.GPSLatitude" },
            { Kind::Text, "LatitudeRef", "Exif.GPSInfo.GPSLatitudeRef" },
            { Kind::Coordinate, "Longitude", "Exif.GPSInfo.GPSLongitude" },
            { Kind::Text, "LongitudeRef", "Exif.GPSInfo.GPSLongitudeRef" },
            { Kind::Real, "Altitude", "Exif.GPSInfo.GPSAltitude" },
            { Kind::Integer, "AltitudeRef", "Exif.GPSInfo.GPSAltitudeRef" },
        });
}

QVariantMap iptcSection(const Exiv2::IptcData &iptc)
{
    QVariantList keywords;
    for (const auto &datum : iptc) {
        if (datum.key() == "Iptc.Application2.Keywords")
            keywords.append(QString::fromUtf8(datum.toString().c_str()));
    }
    QVariantMap section;
    if (!keywords.isEmpty())
        section.insert(QStringLiteral("Keywords"), keywords);
    return section;
}

// The lens model: the standard EXIF tag, else what Exiv2 decodes from the maker note.
QString lensModel(const Exif &exif)
{
    QVariantMap probe;
    putText(probe, "LensModel", exif, "Exif.Photo.LensModel");
    if (probe.contains(QStringLiteral("LensModel")))
        return probe.value(QStringLiteral("LensModel")).toString();
    const auto it = Exiv2::lensName(exif);
    if (it == exif.end())
        return {};
    const QString name = QString::fromUtf8(it->print(&exif).c_str()).trimmed();
    return name.startsWith(QLatin1Char('(')) ? QString() : name;
}

// DPI needs both resolutions in a real unit; centimetres (unit 3) are turned into inches. Unit 1
// means the values state only the pixels' aspect ratio, which is no density. Without them in EXIF
// the density the file format declares applies.
void putResolution(QVariantMap &properties, const QVariantMap &tiff, const QString &readPath)
{
    constexpr int kNoUnit = 1;
    constexpr int kCentimetre = 3;
    const int unit = tiff.value(QStringLiteral("ResolutionUnit"), 2).toInt();
    QSizeF dpi;
    if (unit != kNoUnit && tiff.contains(QStringLiteral("XResolution"))
        && tiff.contains(QStringLiteral("YResolution"))) {
        const double perInch = unit == kCentimetre ? 2.54 : 1.0;
        dpi = QSizeF(tiff.value(QStringLiteral("XResolution")).toDouble() * perInch,
            tiff.value(QStringLiteral("YResolution")).toDouble() * perInch);
    } else if (const auto declared = ImageDensity::read(readPath)) {
        dpi = *declared;
    } else {
        return;
    }
    properties.insert(QStringLiteral("DPIWidth"), dpi.width());
    properties.insert(QStringLiteral("DPIHeight"), dpi.height());
}

// The star rating: the EXIF tag, else the XMP property most editors write.
QString ratingOf(const Exiv2::Image &image)
{
    QVariantMap probe;
    putText(probe, "Rating", image.exifData(), "Exif.Image.Rating");
    if (probe.contains(QStringLiteral("Rating")))
        return probe.value(QStringLiteral("Rating")).toString();
    const Exiv2::XmpData &xmp = image.xmpData();
    const auto it = xmp.findKey(Exiv2::XmpKey("Xmp.xmp.Rating"));
    return it == xmp.end() ? QString() : QString::fromUtf8(it->toString().c_str()).trimmed();
}

} // namespace

void ExifReader::initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // The XMP toolkit inside Exiv2 is not thread-safe; hashing threads parse XMP packets at the
        // same time, so every toolkit call goes through one lock.
        static std::mutex xmpMutex;
        Exiv2::XmpParser::initialize(
            [](void *data, bool lock) {
                auto *mutex = static_cast<std::mutex *>(data);
                lock ? mutex->lock() : mutex->unlock();
            },
            &xmpMutex);
        Exiv2::enableBMFF(true);
    });
}

ExifReader::ExifReader(const QString &path, const QString &readPath)
    : path_(path)
    , readPath_(readPath.isEmpty() ? path : readPath)
{
    initialize();
    try {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        auto opened = Exiv2::ImageFactory::open(std::string(QFile::encodeName(readPath_).constData()));
#pragma GCC diagnostic pop
        if (!opened.get())
            return;
        opened->readMetadata();
        image_.reset(opened.release());
    } catch (const Exiv2::AnyError &error) {
        // Formats Exiv2 does not know (GIF, for one) simply carry no metadata.
        if (error.code() != Exiv2::kerFileContainsUnknownImageType)
            Log::line(QStringLiteral("No metadata could be read from ") + path);
        image_.reset();
    } catch (...) {
        Log::line(QStringLiteral("No metadata could be read from ") + path);
        image_.reset();
    }
}

ExifReader::~ExifReader() = default;

int ExifReader::orientation() const
{
    if (!image_)
        return 1;
    try {
        const auto *datum = find(image_->exifData(), "Exif.Image.Orientation");
        const long value = datum ? datum->toLong(0) : 1;
        return value >= 1 && value <= 8 ? int(value) : 1;
    } catch (...) {
        return 1;
    }
}

QVariantMap ExifReader::properties() const
{
    QVariantMap properties;
    if (!image_)
        return properties;
    try {
        const Exif &exif = image_->exifData();
        const QVariantMap tiff = tiffSection(exif);
        QVariantMap section = exifSection(exif);
        const QString rating = ratingOf(*image_);
        if (!rating.isEmpty())
            section.insert(QStringLiteral("Rating"), rating);
        const QVariantMap gps = gpsSection(exif);
        if (!tiff.isEmpty())
            properties.insert(QStringLiteral("{TIFF}"), tiff);
        if (!section.isEmpty())
            properties.insert(QStringLiteral("{Exif}"), section);
        if (!gps.isEmpty())
            properties.insert(QStringLiteral("{GPS}"), gps);
        if (!image_->iptcData().empty())
            properties.insert(QStringLiteral("{IPTC}"), iptcSection(image_->iptcData()));
        const QString lens = lensModel(exif);
        if (!lens.isEmpty())
            properties.insert(
                QStringLiteral("{ExifAux}"), QVariantMap { { QStringLiteral("LensModel"), lens } });
        if (tiff.contains(QStringLiteral("Orientation")))
            properties.insert(QStringLiteral("Orientation"), tiff.value(QStringLiteral("Orientation")));
        putResolution(properties, tiff, readPath_);
        if (image_->iccProfileDefined()) {
            const Exiv2::DataBuf *icc = image_->iccProfile();
            const QByteArray bytes(reinterpret_cast<const char *>(icc->pData_), int(icc->size_));
            const QString name = QColorSpace::fromIccProfile(bytes).description();
            if (!name.isEmpty())
                properties.insert(QStringLiteral("ProfileName"), name);
        }
    } catch (...) {
        Log::line(QStringLiteral("Damaged metadata in ") + path_);
        return {};
    }
    return properties;
}

QImage ExifReader::embeddedThumbnail(const QSize &imageSize, int minPixelSize, int maxPixelSize) const
{
    if (!image_)
        return {};
    try {
        Exiv2::PreviewManager previews(*image_);
        // Smallest first: the cheapest preview that is large enough wins.
        for (const Exiv2::PreviewProperties &candidate : previews.getPreviewProperties()) {
            const QSize declared(int(candidate.width_), int(candidate.height_));
            if (!declared.isEmpty()
                && !ImageSourceGeometry::isUsableEmbedded(declared, imageSize, minPixelSize))
                continue;
            const Exiv2::PreviewImage preview = previews.getPreviewImage(candidate);
            // Exiv2's own bytes, not a copy: `preview` outlives every use of them.
            const QByteArray data = QByteArray::fromRawData(
                reinterpret_cast<const char *>(preview.pData()), qsizetype(preview.size()));
            // The declared size may be missing or wrong; the preview's own header decides.
            const QSize actual = QtImageDecoder::readHeader(data).size;
            if (!ImageSourceGeometry::isUsableEmbedded(actual, imageSize, minPixelSize))
                continue;
            const QImage decoded = QtImageDecoder::decodeScaled(data, maxPixelSize, path_, data.size());
            if (decoded.isNull())
                continue;
            return decoded;
        }
    } catch (...) {
        Log::line(QStringLiteral("Damaged embedded preview in ") + path_);
    }
    return {};
}

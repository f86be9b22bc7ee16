// Metadata and embedded previews through Exiv2.
#include "platform/ExifReader.h"

#include <mutex>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <QColorSpace>
#include <QFile>

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

QVariantMap tiffSection(const Exif &exif)
{
    QVariantMap tiff;
    putText(tiff, "Make", exif, "Exif.Image.Make");
    putText(tiff, "Model", exif, "Exif.Image.Model");
    putText(tiff, "Software", exif, "Exif.Image.Software");
    putText(tiff, "DateTime", exif, "Exif.Image.DateTime");
    putInteger(tiff, "Orientation", exif, "Exif.Image.Orientation");
    putReal(tiff, "XResolution", exif, "Exif.Image.XResolution");
    putReal(tiff, "YResolution", exif, "Exif.Image.YResolution");
    putInteger(tiff, "ResolutionUnit", exif, "Exif.Image.ResolutionUnit");
    return tiff;
}

QVariantMap exifSection(const Exif &exif)
{
    QVariantMap section;
    putText(section, "DateTimeOriginal", exif, "Exif.Photo.DateTimeOriginal");
    putText(section, "DateTimeDigitized", exif, "Exif.Photo.DateTimeDigitized");
    putReal(section, "ExposureTime", exif, "Exif.Photo.ExposureTime");
    putReal(section, "FNumber", exif, "Exif.Photo.FNumber");
    putReal(section, "FocalLength", exif, "Exif.Photo.FocalLength");
    putReal(section, "ExposureBiasValue", exif, "Exif.Photo.ExposureBiasValue");
    putReal(section, "DigitalZoomRatio", exif, "Exif.Photo.DigitalZoomRatio");
    const char *const coded[][2] = {
        { "ExposureMode", "Exif.Photo.ExposureMode" },
        { "ExposureProgram", "Exif.Photo.ExposureProgram" },
        { "MeteringMode", "Exif.Photo.MeteringMode" },
        { "LightSource", "Exif.Photo.LightSource" },
        { "SensingMethod", "Exif.Photo.SensingMethod" },
        { "SceneCaptureType", "Exif.Photo.SceneCaptureType" },
        { "ColorSpace", "Exif.Photo.ColorSpace" },
        { "Flash", "Exif.Photo.Flash" },
        { "PixelXDimension", "Exif.Photo.PixelXDimension" },
        { "PixelYDimension", "Exif.Photo.PixelYDimension" },
    };
    for (const auto &entry : coded)
        putInteger(section, entry[0], exif, entry[1]);
    if (const auto *iso = find(exif, "Exif.Photo.ISOSpeedRatings")) {
        QVariantList speeds;
        for (long i = 0; i < iso->count(); ++i)
            speeds.append(qlonglong(iso->toLong(i)));
        section.insert(QStringLiteral("ISOSpeedRatings"), speeds);
    }
    putText(section, "LensModel", exif, "Exif.Photo.LensModel");
    return section;
}

QVariantMap gpsSection(const Exif &exif)
{
    QVariantMap gps;
    putCoordinate(gps, "Latitude", exif, "Exif.GPSInfo.GPSLatitude");
    putText(gps, "LatitudeRef", exif, "Exif.GPSInfo.GPSLatitudeRef");
    putCoordinate(gps, "Longitude", exif, "Exif.GPSInfo.GPSLongitude");
    putText(gps, "LongitudeRef", exif, "Exif.GPSInfo.GPSLongitudeRef");
    putReal(gps, "Altitude", exif, "Exif.GPSInfo.GPSAltitude");
    putInteger(gps, "AltitudeRef", exif, "Exif.GPSInfo.GPSAltitudeRef");
    return gps;
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

// DPI needs both resolutions; centimetres (unit 3) are turned into inches.
void putResolution(QVariantMap &properties, const QVariantMap &tiff)
{
    if (!tiff.contains(QStringLiteral("XResolution")) || !tiff.contains(QStringLiteral("YResolution")))
        return;
    const double perInch = tiff.value(QStringLiteral("ResolutionUnit"), 2).toInt() == 3 ? 2.54 : 1.0;
    properties.insert(
        QStringLiteral("DPIWidth"), tiff.value(QStringLiteral("XResolution")).toDouble() * perInch);
    properties.insert(
        QStringLiteral("DPIHeight"), tiff.value(QStringLiteral("YResolution")).toDouble() * perInch);
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

ExifReader::ExifReader(const QString &path)
    : path_(path)
{
    initialize();
    try {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        auto opened = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
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
        const QVariantMap section = exifSection(exif);
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
        putResolution(properties, tiff);
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

QImage ExifReader::embeddedThumbnail(const QSize &imageSize, int maxPixelSize) const
{
    if (!image_)
        return {};
    try {
        Exiv2::PreviewManager previews(*image_);
        // Smallest first: the cheapest preview that is large enough wins.
        for (const Exiv2::PreviewProperties &candidate : previews.getPreviewProperties()) {
            const QSize declared(int(candidate.width_), int(candidate.height_));
            if (!declared.isEmpty()
                && !ImageSourceGeometry::isUsableEmbedded(declared, imageSize, maxPixelSize))
                continue;
            const Exiv2::PreviewImage preview = previews.getPreviewImage(candidate);
            const QByteArray data(reinterpret_cast<const char *>(preview.pData()), int(preview.size()));
            // The declared size may be missing or wrong; the preview's own header decides.
            const QSize actual = QtImageDecoder::readHeader(data).size;
            if (!ImageSourceGeometry::isUsableEmbedded(actual, imageSize, maxPixelSize))
                continue;
            const QImage decoded = QtImageDecoder::decodeScaled(data, maxPixelSize);
            if (decoded.isNull())
                continue;
            return decoded;
        }
    } catch (...) {
        Log::line(QStringLiteral("Damaged embedded preview in ") + path_);
    }
    return {};
}

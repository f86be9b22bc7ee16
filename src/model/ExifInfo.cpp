// Parsing of a file's property dictionary into ExifInfo.
#include "model/ExifInfo.h"

#include <cmath>

#include <QMetaType>

#include "app/CommonFunc.h"
#include "platform/ImageSource.h"
#include "platform/VariantNumber.h"

namespace
{

QString textOf(const QVariantMap &map, const char *key)
{
    const QVariant value = map.value(QLatin1String(key));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool isInteger(const QVariant &value)
{
    return VariantNumber::isNumber(value) && value.typeId() != QMetaType::Double
        && value.typeId() != QMetaType::Float;
}

double numberOf(const QVariantMap &map, const char *key)
{
    const QVariant value = map.value(QLatin1String(key));
    return VariantNumber::isNumber(value) ? value.toDouble() : 0.0;
}

// A section is used only when it is a dictionary.
std::optional<QVariantMap> sectionOf(const QVariantMap &properties, const char *key)
{
    const QVariant value = properties.value(QLatin1String(key));
    if (value.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return value.toMap();
}

// The number in its default textual form: 4.2 gives "4.2", 50 gives "50".
QString defaultNumberText(const QVariant &value)
{
    if (isInteger(value))
        return QString::number(value.toLongLong());
    return QString::number(value.toDouble(), 'g', 15);
}

// A latitude south of the equator or a longitude west of Greenwich is negative, whatever sign the
// file stored the magnitude with, so distances between photos come out right.
double signedCoordinate(double magnitude, const QString &ref, QChar negativeRef)
{
    if (ref.trimmed().compare(QString(negativeRef), Qt::CaseInsensitive) == 0)
        return -std::fabs(magnitude);
    return magnitude;
}

} // namespace

void ExifInfo::initWithFileWithPath(const QString &path)
{
    readExifProperties(metaDataDictionaryForFileAtPath(path));
}

void ExifInfo::initWithImageSource(const ImageSource &source)
{
    readExifProperties(source.properties());
}

QVariantMap ExifInfo::metaDataDictionaryForFileAtPath(const QString &path)
{
    const ImageSource source(path);
    return source.properties();
}

void ExifInfo::readExifProperties(const QVariantMap &properties)
{
    if (properties.isEmpty())
        return;
    readTopLevel(properties);
    if (const auto exif = sectionOf(properties, ImageSource::kExifSection))
        readExifSection(*exif);
    if (const auto tiff = sectionOf(properties, ImageSource::kTiffSection))
        readTiffSection(*tiff);
    if (const auto gps = sectionOf(properties, ImageSource::kGpsSection))
        readGpsSection(*gps);
    if (const auto iptc = sectionOf(properties, ImageSource::kIptcSection))
        readIptcSection(*iptc);
    // The lens is read whether or not the file carries IPTC data.
    if (properties.contains(QLatin1String(ImageSource::kLensSection))) {
        const auto lens = sectionOf(properties, ImageSource::kLensSection);
        cameraLensModel = lens ? textOf(*lens, "LensModel") : QString();
    }
}

void ExifInfo::readTopLevel(const QVariantMap &properties)
{
    profileName = textOf(properties, "ProfileName");
    const QVariant width = properties.value(QStringLiteral("PixelWidth"));
    const QVariant height = properties.value(QStringLiteral("PixelHeight"));
    pixelWidth = isInteger(width) ? width.toLongLong() : 0;
    pixelHeight = isInteger(height) ? height.toLongLong() : 0;
    imageSize = QString::asprintf("%i x %i", int(pixelWidth), int(pixelHeight));
    colorModel = textOf(properties, "ColorModel");

    dpiWidth = 0;
    dpiHeight = 0;
    if (properties.contains(QStringLiteral("DPIWidth")) && properties.contains(QStringLiteral("DPIHeight"))) {
        dpiWidth = numberOf(properties, "DPIWidth");
        dpiHeight = numberOf(properties, "DPIHeight");
        imageDPI = QString::asprintf("%.1f x %.1f", dpiWidth, dpiHeight);
    }
}

void ExifInfo::readExifSection(const QVariantMap &exif)
{
    captureDate = CommonFunc::dateFromExifString(textOf(exif, "DateTimeOriginal"));
    rating = textOf(exif, "Rating");

    folcalLength.clear();
    const QVariant focal = exif.value(QStringLiteral("FocalLength"));
    if (focal.isValid())
        folcalLength = defaultNumberText(focal) + QStringLiteral(" mm");

    exposureBias = textOf(exif, "ExposureBiasValue");
    if (exif.contains(QStringLiteral("ExposureBiasValue")))
        exposureBias = QString::asprintf("%.2f EV", numberOf(exif, "ExposureBiasValue"));

    const QVariant iso = exif.value(QStringLiteral("ISOSpeedRatings"));
    if (iso.typeId() == QMetaType::QVariantList && !iso.toList().isEmpty())
        isoSpeedRating = QString::number(iso.toList().constFirst().toLongLong());

    const std::pair<const char *, QString *> coded[] = {
        { "ExposureMode", &exposureMode },
        { "ExposureProgram", &exposureProgram },
        { "MeteringMode", &meteringMode },
        { "LightSource", &lightSource },
        { "SensingMethod", &sensingMethod },
        { "SceneCaptureType", &sceneCaptureType },
        { "ColorSpace", &colorSpace },
    };
    for (const auto &[key, field] : coded) {
        const QVariant value = exif.value(QLatin1String(key));
        if (VariantNumber::isNumber(value))
            *field = QString::number(value.toLongLong());
    }

    digitalZoomRatio = textOf(exif, "DigitalZoomRatio");
    // Bit 0 of the flash value says whether it fired; 16 ("off, did not fire") must read false.
    const QVariant flash = exif.value(QStringLiteral("Flash"));
    if (VariantNumber::isNumber(flash))
        flashFired = (flash.toLongLong() & 1) != 0;
}

void ExifInfo::readTiffSection(const QVariantMap &tiff)
{
    cameraMaker = textOf(tiff, "Make");
    cameraModel = textOf(tiff, "Model");
    const QVariant value = tiff.value(QStringLiteral("Orientation"));
    orientation = VariantNumber::isNumber(value) ? value.toLongLong() : 0;
    editingSoftware = textOf(tiff, "Software");
}

void ExifInfo::readGpsSection(const QVariantMap &gps)
{
    gpsLatitudeRef = textOf(gps, "LatitudeRef");
    gpsLongitudeRef = textOf(gps, "LongitudeRef");
    gpsLatitude = signedCoordinate(numberOf(gps, "Latitude"), gpsLatitudeRef, QLatin1Char('S'));
    gpsLongitude = signedCoordinate(numberOf(gps, "Longitude"), gpsLongitudeRef, QLatin1Char('W'));
    // Reference 1 means the altitude is below sea level; the value itself is stored unsigned.
    const QVariant altitude = gps.value(QStringLiteral("Altitude"));
    gpsAltitude.reset();
    if (VariantNumber::isNumber(altitude)) {
        const double metres = std::fabs(altitude.toDouble());
        gpsAltitude = numberOf(gps, "AltitudeRef") == 1.0 ? -metres : metres;
    }
}

void ExifInfo::readIptcSection(const QVariantMap &iptc)
{
    const QVariant value = iptc.value(QStringLiteral("Keywords"));
    if (value.typeId() != QMetaType::QVariantList)
        return;
    QStringList words;
    for (const QVariant &word : value.toList()) {
        if (word.typeId() == QMetaType::QString)
            words.append(word.toString());
    }
    // Several keywords are shown together, separated by commas.
    keywords = words.join(QStringLiteral(", "));
}

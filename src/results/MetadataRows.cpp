// Rows of the metadata table.
#include "results/MetadataRows.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include <QFileInfo>
#include <QRegularExpression>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "model/ExifInfo.h"
#include "model/ExifValueTexts.h"
#include "model/ImageFileInfo.h"

namespace
{

QString dateText(const std::optional<QDateTime> &date)
{
    if (!date || !date->isValid())
        return {};
    return CommonFunc::getDateTimeStringFrom(*date).value_or(QString());
}

// The number a text starts with, as a lenient reader of numbers takes it; 0 when there is none.
double leadingNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

void addRow(QList<MetadataRow> &rows, const char *key, const QString &value)
{
    MetadataRows::appendMetaDataRow(rows, localizedString(QString::fromLatin1(key)), value);
}

} // namespace

QList<MetadataRow> MetadataRows::fillMetaDataTable(ImageFileInfo *record, ScanSource scanType)
{
    if (!record)
        return {};
    if (lacksExif(*record)) {
        record->isExifInfoUpdated = false;
        record->updateExifInfo();
    }
    return rowsKeepingExif(*record, scanType);
}

bool MetadataRows::lacksExif(const ImageFileInfo &record)
{
    return !record.exifInfo || record.exifInfo->fileName == QStringLiteral("blank")
        || record.exifInfo->fileName.isEmpty();
}

QString MetadataRows::fileToRead(const ImageFileInfo &record, ScanSource scanType)
{
    if (!lacksExif(record) || scanType == ScanSource::googleDrive)
        return {};
    return scanType == ScanSource::dropbox ? record.localThumbPath : record.filePath;
}

QList<MetadataRow> MetadataRows::rowsKeepingExif(ImageFileInfo &record, ScanSource scanType)
{
    if (!record.exifInfo)
        record.exifInfo = std::make_shared<ExifInfo>();
    // A later refill then keeps this EXIF instead of reading the file again.
    record.exifInfo->fileName = record.fileName;
    return rowsFor(record, *record.exifInfo, scanType);
}

QList<MetadataRow> MetadataRows::rowsFor(
    const ImageFileInfo &record, const ExifInfo &exif, ScanSource scanType)
{
    QList<MetadataRow> rows;
    const auto add = [&rows](const char *key, const QString &value) { addRow(rows, key, value); };
    add("ID_FILE_NAME", record.fileName);
    add("ID_FILE_SIZE", CommonFunc::formattedSize(QVariant::fromValue<qulonglong>(record.fileSize)));
    add("ID_FILE_LABEL", exif.fileLabel);
    add("ID_FILE_CREATED", dateText(record.createDate));
    add("ID_FILE_MODIFIED", dateText(record.modDate));
    add("ID_FOLDER_NAME", folderName(record.filePath));
    appendExifRows(rows, exif, scanType);
    return rows;
}

void MetadataRows::appendExifRows(QList<MetadataRow> &rows, const ExifInfo &exif, ScanSource scanType)
{
    const auto add = [&rows](const char *key, const QString &value) { addRow(rows, key, value); };
    const bool drive = scanType == ScanSource::googleDrive;
    add("ID_RATING", exif.rating);
    add("ID_KEYWORDS", exif.keywords);
    add("ID_IMAGE_SIZE", imageSizeText(exif));
    add("ID_IMAGE_DPI", exif.imageDPI);
    add("ID_ORIENTATION", orientationText(exif.orientation));
    add("ID_DIGITAL_ZOOM_RATIO", digitalZoomRatioText(exif.digitalZoomRatio));
    if (exif.captureDate && exif.captureDate->isValid())
        add("ID_CAPTURE_DATE", dateText(exif.captureDate));
    add("ID_EDITING_SOFTWARE", exif.editingSoftware);
    add("ID_EXPOSURE", exif.exposure);
    add("ID_FOCAL_LENGTH", exif.folcalLength);
    add("ID_EXPOSURE_BIAS", exif.exposureBias);
    add("ID_ISO_SPEED_RATING", exif.isoSpeedRating);
    // Drive hands these three over as words already.
    add("ID_EXPOSURE_MODE", drive ? exif.exposureMode : exifExposureModeText(exif.exposureMode));
    add("ID_EXPOSURE_PROGRAM", exifExposureProgramText(exif.exposureProgram));
    add("ID_METERING", drive ? exif.meteringMode : exifMeteringModeText(exif.meteringMode));
    add("ID_LIGHT_SOURCE", exifLightSourceText(exif.lightSource));
    add("ID_SENSING_METHOD", drive ? exif.sensingMethod : exifSensingMethodText(exif.sensingMethod));
    add("ID_SCENCE_CAPTURE_TYPE", exifSceneCaptureTypeText(exif.sceneCaptureType));
    add("ID_CAMERA_MAKER", exif.cameraMaker);
    add("ID_CAMERA_MODEL", exif.cameraModel);
    add("ID_CAMERA_LENS_MODEL", exif.cameraLensModel);
    add("ID_CAMERA_FIRMWARE", exif.cameraFirmware);
    add("ID_COLOR_MODEL", exif.colorModel);
    add("ID_COLOR_SPACE", exif.colorSpace);
    add("ID_PROFILE_NAME", exif.profileName);
    add("ID_GPS_ALTITUDE", altitudeText(exif.gpsAltitude));
    add("ID_GPS_LATITUDE", coordinateStringFromDegrees(exif.gpsLatitudeRef, exif.gpsLatitude, 90.0));
    add("ID_GPS_LONGITUDE", coordinateStringFromDegrees(exif.gpsLongitudeRef, exif.gpsLongitude, 180.0));
}

void MetadataRows::appendMetaDataRow(
    QList<MetadataRow> &rows, const std::optional<QString> &title, const std::optional<QString> &value)
{
    rows.append(MetadataRow { title, value && !value->isEmpty() ? *value : placeholder() });
}

QString MetadataRows::coordinateStringFromDegrees(const QString &reference, double degrees, double limit)
{
    // Checked before any conversion: a NaN or an infinity turned into an integer is undefined.
    if (!std::isfinite(degrees) || std::fabs(degrees) > limit)
        return placeholder();
    const qint64 s = qint64(std::trunc(degrees * 3600.0));
    if (s == 0)
        return placeholder();
    const qint64 d = s / 3600;
    const qint64 r = std::llabs(s) - std::llabs(d) * 3600;
    const qint64 m = r / 60;
    const qint64 seconds = r - m * 60;
    return QStringLiteral("%1°%2'%3\"%4").arg(std::llabs(d)).arg(m).arg(seconds).arg(reference);
}

QString MetadataRows::altitudeText(const std::optional<double> &metres)
{
    if (!metres || !std::isfinite(*metres))
        return placeholder();
    return QString::asprintf("%.2f m", *metres);
}

QString MetadataRows::imageSizeText(const ExifInfo &exif)
{
    // A picture whose header gave no dimensions has no size to show, not one of "0 x 0".
    if (exif.pixelWidth <= 0 || exif.pixelHeight <= 0)
        return placeholder();
    return QStringLiteral("%1 x %2").arg(exif.pixelWidth).arg(exif.pixelHeight);
}

QString MetadataRows::digitalZoomRatioText(const QString &ratio)
{
    if (ratio.isEmpty())
        return placeholder();
    const double value = leadingNumber(ratio);
    return std::isfinite(value) ? QString::asprintf("%.2f", value) : placeholder();
}

QString MetadataRows::orientationText(qint64 orientation)
{
    if (orientation == 0)
        return placeholder();
    if (orientation < std::numeric_limits<int>::min() || orientation > std::numeric_limits<int>::max())
        return QStringLiteral("--");
    return exifOrientationText(int(orientation));
}

QString MetadataRows::folderName(const QString &filePath)
{
    return QFileInfo(QFileInfo(filePath).path()).fileName();
}

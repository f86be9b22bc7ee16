// The metadata of one picture as Quennary shows and compares it: capture date, pixel size, camera,
// exposure, GPS position and a few more. Filled from a file's properties, from cloud metadata or
// from a cached row; the fields are plain public members with the names the cache columns use.
#pragma once

#include <optional>

#include <QDateTime>
#include <QString>
#include <QVariantMap>

class ImageSource;

class ExifInfo
{
public:
    double moDateTime = 0; // modification time, seconds since 1970 (cache load)
    // Inode change time, seconds since 1970 (cache load); -1 when the row has none.
    double changeTime = -1;
    std::optional<qint64> exifInfoId; // row id of the cached row
    QString gpsLatitudeRef;
    QString gpsLongitudeRef;
    QString fileName;
    QString fileType;
    QString fileLabel;
    std::optional<QDateTime> fileCreated;
    std::optional<QDateTime> fileModified;
    QString folderName;
    QString rating;
    QString keywords;
    QString imageSize; // "%i x %i" of pixelWidth, pixelHeight
    QString imageDPI; // "%.1f x %.1f" of dpiWidth, dpiHeight
    qint64 orientation = 0;
    std::optional<QDateTime> captureDate;
    QString editingSoftware;
    QString exposure;
    QString folcalLength; // spelt so: it is a stored column name
    QString exposureBias;
    QString isoSpeedRating;
    QString exposureMode;
    QString exposureProgram;
    QString meteringMode;
    QString lightSource;
    QString sensingMethod;
    QString sceneCaptureType;
    QString cameraMaker;
    QString cameraModel;
    QString cameraLensModel;
    QString cameraFirmware;
    QString colorModel;
    QString colorSpace;
    QString profileName;
    quint64 fileSize = 0;
    QString digitalZoomRatio;
    bool flashFired = false;
    std::optional<double> gpsAltitude; // metres, negative below sea level; empty when not stated
    double gpsLatitude = 0; // signed: negative for "S"
    double gpsLongitude = 0; // signed: negative for "W"
    qint64 pixelWidth = 0;
    qint64 pixelHeight = 0;
    double dpiWidth = 0; // horizontal resolution
    double dpiHeight = 0; // vertical resolution
    // The cached MD5 text of the whole file (a cache load of a photo an exact scan summed); empty
    // when the cache holds none.
    QString contentMd5;

    // Reads the properties of the file and parses them into the fields; an unreadable file leaves
    // every field as it was.
    void initWithFileWithPath(const QString &path);
    // The same from a file already opened (its header is parsed once for every use).
    void initWithImageSource(const ImageSource &source);
    // Parses a property dictionary shaped as ImageSource::properties() gives it.
    void readExifProperties(const QVariantMap &properties);
    // The property dictionary of the file, empty when it cannot be read.
    static QVariantMap metaDataDictionaryForFileAtPath(const QString &path);

private:
    void readTopLevel(const QVariantMap &properties);
    void readExifSection(const QVariantMap &exif);
    void readTiffSection(const QVariantMap &tiff);
    void readGpsSection(const QVariantMap &gps);
    void readIptcSection(const QVariantMap &iptc);
};

// The rows of the results window's metadata table for one record: label and display text of its
// name, size, dates, folder and EXIF facts. Built without widgets so the texts can be checked alone.
#pragma once

#include <cstdint>
#include <optional>

#include <QList>
#include <QString>

#include "app/GlobalObjects.h"

class ExifInfo;
class ImageFileInfo;

struct MetadataRow {
    // None when the row was appended without a title.
    std::optional<QString> title;
    QString value;
};

class MetadataRows
{
public:
    // Stands for every missing or empty value.
    static QString placeholder() { return QStringLiteral("---"); }

    // Loads the record's EXIF when it has none yet (or only a "blank" one), then builds its rows.
    // No record gives no rows.
    static QList<MetadataRow> fillMetaDataTable(ImageFileInfo *record, ScanSource scanType);
    // True while the record has no EXIF of its own (none, or only a "blank" one).
    static bool lacksExif(const ImageFileInfo &record);
    // The file fillMetaDataTable would read for the record: its own, or a Dropbox file's local copy;
    // empty when it reads none (the EXIF is known, Drive's listing tells it, a Dropbox file is not
    // fetched yet).
    static QString fileToRead(const ImageFileInfo &record, ScanSource scanType);
    // The rows of the record with the EXIF it holds (an empty one when none), kept named after it;
    // nothing is read.
    static QList<MetadataRow> rowsKeepingExif(ImageFileInfo &record, ScanSource scanType);
    // The rows of a record whose EXIF is `exif`; nothing is read from disk.
    static QList<MetadataRow> rowsFor(const ImageFileInfo &record, const ExifInfo &exif, ScanSource scanType);

    // Appends one row; a missing or empty value is stored as the placeholder.
    static void appendMetaDataRow(
        QList<MetadataRow> &rows, const std::optional<QString> &title, const std::optional<QString> &value);

    // Degrees, minutes and whole seconds followed by the hemisphere reference, e.g. 33°52'7"S. The
    // placeholder within one second of zero, and for a value that is not finite or beyond `limit`
    // degrees (90 for a latitude, 180 for a longitude): only a damaged file gives those.
    static QString coordinateStringFromDegrees(
        const QString &reference, double degrees, double limit = 180.0);
    static QString imageSizeText(const ExifInfo &exif);
    static QString altitudeText(const std::optional<double> &metres);
    static QString digitalZoomRatioText(const QString &ratio);
    static QString orientationText(qint64 orientation);
    // The name of the folder holding the file.
    static QString folderName(const QString &filePath);

private:
    static void appendExifRows(QList<MetadataRow> &rows, const ExifInfo &exif, ScanSource scanType);
};

// The shared utility class: scan-state accessors, byte-size and date texts, pattern escaping,
// title and frame rules for controls, and the file, system and cloud-thumbnail helpers. Free of
// widgets; CommonFuncUi applies the control rules to widgets.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QRectF>
#include <QString>
#include <QUrl>
#include <QVariant>

#include "app/AttributedTitle.h"

class LibraryDatabaseNames;

class CommonFunc
{
public:
    // "0 bytes", "999 bytes", "1.54 KB", ... in steps of 1000, up to "TB" (larger sizes stay in
    // TB). Anything that is not a number gives "0 bytes".
    static QString formattedSize(const QVariant &value);
    static QString getSizeInUnits(const QVariant &value);

    // "yyyy:MM:dd HH:mm:ss" in the local time zone; nothing for a null or non-matching text.
    static std::optional<QDateTime> dateFromExifString(const QString &text);
    // Texts in the user's locale and time zone; nothing for an invalid date. `format` uses the
    // Unicode date-pattern letters ("MMM dd, yyyy hh:mm:ss a"); a null format takes that default.
    static std::optional<QString> getStringFrom(const QDateTime &date);
    static std::optional<QString> getDateTimeStringFrom(const QDateTime &date);
    static std::optional<QString> getDateTimeStringFrom(const QDateTime &date, const QString &format);
    // 00:00:00 GMT of the calendar day on which `date` falls in the local time zone.
    static QDateTime dayStartInGMT(const QDateTime &date);
    // Local midnight starting the calendar day on which `date` falls in the local time zone. Scan
    // and library date windows use it, so "today" means the user's today.
    static QDateTime localDayStart(const QDateTime &date);
    // Local midnight of the calendar day `seconds` before `now`.
    static QDateTime localDayStartSecondsBefore(const QDateTime &now, double seconds);
    // Local midnight starting a date-window choice ("scanPhotosFrom"): 0 today, 1 to 5 the day 1,
    // 7, 15, 30 or 365 days before `now`; an invalid date for any other choice (no window).
    static QDateTime periodStart(int choice, const QDateTime &now);
    // 00:00:00 GMT of the local calendar day `seconds` before now.
    static QDateTime dateSecondsAgo(double seconds);
    // Backslash before each of ^ | ( ) [ ] { } $ * ? . / \ + and the double quotation mark.
    static QString escapeRegexCharacters(const QString &text);

    // Control rules (applied to widgets by CommonFuncUi).
    // Centred white title in the system font of `fontSize`.
    static AttributedTitle buttonTitle(const QString &title, int fontSize);
    // `completeText` centred; white and the system font over the title part, dark slate over the
    // two characters after it (runs clamped to the text).
    static AttributedTitle twoPartButtonTitle(const QString &title, const QString &completeText, int fontSize);
    static AttributedTitle recoloredTitle(const AttributedTitle &title, const QColor &color);
    static QColor twoPartSecondColor();
    // Width of `text` in `font` plus 10, at least 25; 25 for an empty text.
    static double fittingWidth(const QString &text, const QFont &font);
    // Frame (bottom-left origin) of a window of `window`'s size centred over `reference`; lowered by
    // 60 points under the newer-system profile.
    static QRectF centeredFrame(const QRectF &window, const QRectF &reference);

    // Files and system.
    // True when a running process's name equals `bundleId`, ignoring case.
    static bool isApplicationRunning(const QString &bundleId);
    // The database file of the library package, its names matched whatever their letter case.
    static QString photosLibraryDatabasePath(const QString &libraryPath);
    static bool hasPhotosLibraryDatabase(const QString &folderPath);
    // The same over the library's names as `names` finds them.
    static QString photosLibraryDatabasePath(const LibraryDatabaseNames &names);
    static bool hasPhotosLibraryDatabase(const LibraryDatabaseNames &names);
    static bool isFileLocked(const QString &path);
    static bool checkForNetWorkDrive(const QString &path);
    static std::optional<QString> md5OfFile(const QString &path, const std::atomic<bool> *stop = nullptr);

    // The folder of downloaded cloud files.
    static QString thumbnailsDirectoryPath();
    static QString googleDriveThumbnailDirPath();
    // Removes a downloaded copy, or the folder of them, from the descriptor of its checked folder
    // (AppFolders::removeEntry): nothing when that folder is refused as not the user's alone.
    static void removeItemIfExists(const QString &path);
    static void deleteGoogleDriveThumbnail(const QString &path);
    static void removeThumbnailsFolder();
    static void deleteGoogleDriveThumbnails();
    // Downloads the full-size image behind a Drive thumbnail link into "<folderId>_<folderName>" and
    // returns its path when it holds an image with a non-zero size; `listedBytes` bounds it. Plain http
    // goes only to `configuredBase`, the Drive address the program was set up with. Without a copy,
    // `why` (when given) says why.
    static std::optional<QString> downloadGoogleDriveThumbnail(const QString &thumbnailLink,
        const QString &folderId, const QString &folderName, qint64 listedBytes, const QUrl &configuredBase,
        const std::atomic<bool> *stop = nullptr, QString *why = nullptr);
};

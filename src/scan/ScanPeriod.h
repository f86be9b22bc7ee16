// The date window of a scan: where it starts and whether a record lies inside it.
#pragma once

#include <optional>

#include <QDateTime>

#include "model/LibraryDateWindow.h"
#include "scan/ScanOptions.h"

class ImageFileInfo;

class ScanPeriod
{
public:
    // Start of the window in seconds since 1970 for a "scanPhotosFrom" value: 0 the start of today
    // (GMT) of `now`, 1-5 the start of the day 1, 7, 15, 30 or 365 days before the present moment,
    // anything else 0 (no window).
    static double scanStartDate(int photosFrom, const QDateTime &now = QDateTime::currentDateTime());
    // The window's end: the start of today (GMT).
    static double scanEndDate(const QDateTime &now = QDateTime::currentDateTime());
    // Fills the window of `period` for a scan starting now.
    static void fixWindow(ScanPeriodOptions &period, const QDateTime &now = QDateTime::currentDateTime());

    // A file of a folder or a cloud: true when the window is off or the record's chosen date lies
    // inside it. Such a file has no date added to a library: with that choice alone the window
    // does not apply to it, and "captured or added" tests its capture date. Loads the record's
    // EXIF data when the window is on.
    static bool isWithinScanPeriod(ImageFileInfo &record, const ScanPeriodOptions &period);
    // A photo-library item, whose library dates the library reader has already tested: a capture
    // date must be there, and the file creation date is tested as a folder file's is; a window
    // start of 0 lets every item pass.
    static bool isLibraryItemWithinScanPeriod(ImageFileInfo &record, const ScanPeriodOptions &period);

    // The same window for the library reader, which compares the library's own dates.
    static LibraryDateWindow libraryWindow(const ScanPeriodOptions &period);

private:
    // A window start of 0 lets every record pass, with or without a date; otherwise no date fails.
    static bool isInWindow(const std::optional<QDateTime> &date, const ScanPeriodOptions &period);
    static std::optional<QDateTime> captureDateOf(ImageFileInfo &record);
    static std::optional<QDateTime> creationDateOf(const ImageFileInfo &record);
};

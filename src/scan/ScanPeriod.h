// The date window of a scan: where it starts and whether a record lies inside it.
#pragma once

#include <QDateTime>

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

    // True when the window is off or the record's chosen date lies inside it. Loads the record's
    // EXIF data when the window is on.
    static bool isWithinScanPeriod(ImageFileInfo &record, const ScanPeriodOptions &period);
};

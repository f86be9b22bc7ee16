// The options of one scan, read from the settings once when it starts. Workers read only this copy,
// never the settings or the window, so a control moved during a scan cannot change it half-way.
#pragma once

#include <QStringList>

#include "app/GlobalObjects.h"
#include "app/ScanGlobals.h"
#include "model/RecordSettings.h"
#include "scan/ScanThresholds.h"

class UserDefaults;

// Positions of the bitmap, GPS and capture-time sliders (their integer parts index the tables of
// ScanThresholds).
struct ScanSliderPositions {
    int bitmapIndex = 2;
    int gpsIndex = 2;
    int timeIndex = 12;

    // The positions stored under "setBitMapSize", "setGpsDistance" and "setTimeInterval".
    static ScanSliderPositions fromDefaults(const UserDefaults &defaults);
};

// Which files the date window applies to and where it lies, in seconds since 1970.
struct ScanPeriodOptions {
    bool enabled = false; // "allowPhotosLibScanInTimePeriod"
    int filesFromDate = 0; // "scanFilesFromDate", a LibraryDateWindow::DateField
    int photosFrom = 6; // "scanPhotosFrom"
    double start = 0.0;
    double end = 0.0;
};

struct ScanOptions {
    // Thresholds, limits, bitmap size, rotate and mirror, minimum size and the mode.
    ScanGlobalsSnapshot globals;
    // The grouping threshold m.
    float sliderMinValue = ScanThresholds::kSliderMinValue;
    // Enabled extensions, lower-cased, in stored order; videos only in exact mode with video
    // scanning on.
    QStringList allowedExtensions;
    QStringList videoExtensions;
    // The extensions of the types unticked in the settings, lower-cased: files of them are counted
    // as left out.
    QStringList untickedExtensions;
    // "excludedFolders" as stored; an empty list means no exclusions.
    QStringList excludedFolders;
    // The program's own folders that did not answer as the scan started: it goes on without what
    // they hold, its cache among them.
    QStringList silentOwnFolders;
    bool includePhotosLibInFolder = false;
    bool allowVideoScanning = false;
    ScanPeriodOptions period;
    // The fingerprint layout ("indexMeanParts"; the registered default is the eight variants).
    int indexMeanParts = 4;

    bool exact() const { return globals.compareType == GlobalObjects::CompareType::ctMD5; }

    // Reads the options the way the scan start does: thresholds from the matching level (the
    // previous values stay when the level is outside 1-8), rotate and mirror only when their keys
    // hold numbers, sliders from `sliders`; exact mode fixes 0.99 and N = 80.
    static ScanOptions load(const UserDefaults &defaults, GlobalObjects::CompareType mode,
        const ScanSliderPositions &sliders, const ScanGlobalsSnapshot &previous);
    // The same from the settings alone, for a scan that no window configures: the sliders'
    // stored positions, and the source `scanType`.
    static ScanOptions load(
        const UserDefaults &defaults, GlobalObjects::CompareType mode, ScanSource scanType);
    // The enabled image extensions, and the video ones when `withVideos`.
    static void loadAllowedExtensions(
        const UserDefaults &defaults, bool withVideos, QStringList &extensions, QStringList &videoExtensions);
    // The extensions of the types unticked (the video ones when `withVideos`) that none of
    // `allowed` scans anyway.
    static QStringList loadUntickedExtensions(
        const UserDefaults &defaults, bool withVideos, const QStringList &allowed);
    // What every record of this scan is made with.
    RecordSettings recordSettings() const;
};

// The main window's current choices for the next scan (source, thresholds, bitmap size, limits),
// the values one scan carries (ScanGlobalsSnapshot) and the album name for marked library items.
//
// Only the main window and its controllers read and write the choices; a scan never reads them
// while it runs. It carries its own ScanGlobalsSnapshot inside its ScanOptions, and the records and
// the cache take their values from there, so two scans never see each other's.
#pragma once

#include <atomic>
#include <cstdint>

#include <QString>

#include "app/GlobalObjects.h"

// The values of one scan, fixed when it starts.
struct ScanGlobalsSnapshot
{
    ScanSource scanType = ScanSource::thisComputer;
    qint64 minimumAllowFileSize = 0;
    int reSizeValue = 0;
    double matchThreshold = 0.0;
    double minimumMatchThreshold = 0.0;
    double gpsDistanceLimit = 0.0;
    double captureTimeInterval = -1.0;
    bool compareRotateImages = false;
    bool compareFlipImages = false;
    GlobalObjects::CompareType compareType = GlobalObjects::CompareType::ctHash;
};

class ScanGlobals
{
public:
    // The source the main window shows.
    static inline std::atomic<ScanSource> scanType { ScanSource::thisComputer };
    // Side length N of the fingerprint bitmaps.
    static inline std::atomic<int> reSizeValue{0};
    static inline std::atomic<double> matchThreshold{0.0};
    static inline std::atomic<double> minimumMatchThreshold{0.0};
    // Metres.
    static inline std::atomic<double> gpsDistanceLimit{0.0};
    // Seconds; -1.0 until the capture-time slider first sets it.
    static inline std::atomic<double> captureTimeInterval { -1.0 };

    // The choices above as the starting values of a scan; the rest keep their initial values.
    static ScanGlobalsSnapshot snapshot();
    // Puts every value back to its initial value (tests).
    static void resetToInitialValues();

    // Name of the Photos album that gathers marked duplicates; start-up replaces the English
    // initial value with the localised text of "ID_DUPLICATE_MARKED_PHOTOS".
    static QString markedPhotosAlbumName();
    static void setMarkedPhotosAlbumName(const QString &name);
};

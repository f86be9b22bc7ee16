// Process-wide state of the scan: the source, the thresholds and limits of the running scan, the
// per-scan cache dictionaries and the album name for marked library items.
//
// The main thread sets the values before a scan starts and the workers read them while it runs, so
// every value is an atomic; a scan that needs a consistent set takes snapshot() once at its start.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include <QByteArray>
#include <QString>

#include "app/GlobalObjects.h"
#include "app/SharedPathDictionary.h"

class ExifInfo;

// The options of one scan, copied once when it starts.
struct ScanGlobalsSnapshot
{
    std::uint8_t scanType = 0;
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
    // Scan source: 0 this computer, 1 Google Drive, 2 Dropbox.
    static inline std::atomic<std::uint8_t> scanType{0};
    // Smallest file size scanned, in bytes.
    static inline std::atomic<qint64> minimumAllowFileSize{0};
    // Side length N of the fingerprint bitmaps.
    static inline std::atomic<int> reSizeValue{0};
    static inline std::atomic<double> matchThreshold{0.0};
    static inline std::atomic<double> minimumMatchThreshold{0.0};
    // Metres.
    static inline std::atomic<double> gpsDistanceLimit{0.0};
    // Seconds; -1.0 until the capture-time slider first sets it.
    static inline std::atomic<double> captureTimeInterval{-1.0};
    static inline std::atomic<bool> compareRotateImages{false};
    static inline std::atomic<bool> compareFlipImages{false};
    // Exact or similar matching of the current scan (the main window's choice, mirrored here so
    // worker code can read it without reaching into the window).
    static inline std::atomic<GlobalObjects::CompareType> compareType{GlobalObjects::CompareType::ctHash};

    static ScanGlobalsSnapshot snapshot();
    // Puts every value back to its initial value (tests).
    static void resetToInitialValues();

    // Cached EXIF record and cached fingerprint (or, for a video, MD5) bytes of a file path, filled
    // before the hashing batches run and emptied after the last one.
    static SharedPathDictionary<std::shared_ptr<ExifInfo>> &dictExif();
    static SharedPathDictionary<QByteArray> &dictHash();

    // Name of the Photos album that gathers marked duplicates; start-up replaces the English
    // initial value with the localised text of "ID_DUPLICATE_MARKED_PHOTOS".
    static QString markedPhotosAlbumName();
    static void setMarkedPhotosAlbumName(const QString &name);
};

// What making and fingerprinting a record needs from its scan. The scan hands the same value to
// every record it makes, so two scans in one process never see each other's choices.
#pragma once

#include <cstdint>

#include <QtGlobal>

#include "app/GlobalObjects.h"

struct RecordSettings {
    // Side N of the fingerprint bitmaps.
    int reSizeValue = 0;
    // Smallest file size scanned, in bytes; zero or less means no minimum.
    qint64 minimumAllowFileSize = 0;
    // Where the records come from.
    ScanSource scanType = ScanSource::thisComputer;
    // The fingerprint layout ("indexMeanParts"): 0 whole picture, 1-3 grids, 4 rotations and mirror.
    int indexMeanParts = 4;
    // The scan compares turned or mirrored pictures; when it does not, a record keeps only the
    // first variant of its fingerprint.
    bool turnsCompared = true;
};

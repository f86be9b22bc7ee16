// The texts of the scan sheet for one progress report. Reports are coalesced (only the last of a
// burst arrives), so every stage gives all the texts it stands for, not only those it changed.
#pragma once

#include <optional>

#include <QString>

#include "scan/ScanProgress.h"

struct ScanProgressTexts {
    std::optional<QString> lblAdd;
    std::optional<QString> lblAddingPhotos;
    std::optional<QString> lblPhotosAdded;
    std::optional<QString> lblPhotosCompared;
    // The row of "Photos compared" has its figure at every stage: none compared before comparing.
    std::optional<QString> lblPhotosComparedCount;
    std::optional<QString> lblPhotosAddedCount;
    std::optional<QString> lblDuplicatePhotosSize;
    std::optional<QString> lblScanPath;
    std::optional<QString> lblScanPathToolTip;
    // Shown from the searching stage on.
    bool showPleaseBePatient = false;
    QString lblScanPer;
    double ringProgress = 0.0;

    static ScanProgressTexts forProgress(const ScanProgress &progress);
    // "%.0f%%" of fraction x 100.
    static QString percentText(double fraction);
};

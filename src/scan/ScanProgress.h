// One progress report of a running scan, as plain data for the GUI thread.
#pragma once

#include <QString>

struct ScanProgress {
    // Reading: the exact pass sums files (of this computer) instead of decoding them.
    enum class Stage { Adding, Searching, Hashing, Reading, Comparing };

    Stage stage = Stage::Adding;
    // Exact mode with video scanning on: the labels speak of photos and videos.
    bool withVideos = false;
    // Records found so far (adding) or of the scan (later stages).
    int recordCount = 0;
    int hashed = 0;
    int compared = 0;
    quint64 dupSize = 0;
    // Bytes read whole by the exact pass so far, of how many.
    quint64 bytesRead = 0;
    quint64 bytesToRead = 0;
    // The ring's fraction, 0 to 1.
    double fraction = 0.0;
    // The path just added, or the record just compared.
    QString path;

    // The ring's base left by the adding stage: 0.02 up to 500 records, 0.03 up to 1000, 0.04 up
    // to 2000, 0.05 above.
    static double addingBase(int recordCount);
    // The ring while hashing (half of it) and comparing (a quarter more), above the base `prog`.
    static double ringFraction(Stage stage, int recordCount, int hashed, int compared, double prog);
};

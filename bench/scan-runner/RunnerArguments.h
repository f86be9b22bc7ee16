// The command line of the headless scan runner.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

struct RunnerArguments {
    std::optional<bool> exact;
    std::optional<int> level;
    std::optional<int> bitmapIndex;
    std::optional<int> timeIndex;
    std::optional<int> gpsIndex;
    bool rotate = false;
    bool mirror = false;
    // Mark by the stored auto-mark rules (or the defaults) once the results window has the groups.
    bool autoMark = false;
    // Then move the marked files to the Trash (marking first when autoMark is not given).
    bool trashMarked = false;
    // Press Stop once the exact pass has read its first whole file, and report how long the scan
    // took to end after it.
    bool stopWhileReading = false;
    // Run with the path of each file just before the removal checks and moves it (and waited
    // for): stands in for another program changing files while the removal runs.
    QString beforeEachRemoval;
    // Run with the path of each file after its checks, just before the Trash takes it.
    QString beforeEachMove;
    QString home;
    QString jsonFile;
    QStringList paths;
    // "dropbox" or "gdrive", or empty for the files of this computer.
    QString cloud;
    // Folders of the cloud source: Dropbox paths ("" or "/" the root), Drive identifiers ("root" My Drive).
    QStringList cloudFolders;

    static const char *usage();
    // Nothing when the arguments are not understood; `error` then says why.
    static std::optional<RunnerArguments> parse(const QStringList &arguments, QString *error);
};

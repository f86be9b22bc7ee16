// The background half of a scan's start: walks the ticked sources of the scan list and turns every
// acceptable file into a record, in discovery order, reporting each one. It writes nothing of the
// session's: a walk left behind by a stop (see BackgroundWalk) may still be running.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QSet>

#include "model/FilePathNode.h"
#include "scan/ScanSession.h"
#include "scan/SourceWalker.h"

class SourceEnumerator
{
public:
    struct Walked {
        RecordList records;
        WalkReport report;
    };

    // `added` hears of each record made, with its path and how many there are now.
    SourceEnumerator(const ScanSession &session, const std::vector<FilePathNode> &sources,
        std::function<void(const QString &path, int records)> added);

    // `startScanning` for the sources of this computer.
    Walked run();

private:
    bool addFileToScan(const WalkedFile &file);
    void scanPhotosLibrary(const QString &libraryPath, bool insideFolder);
    void addPhotosLibraryItem(const QVariantMap &item, const QString &libraryPath);
    // An item of a library that the date window left out.
    void countOutsideWindow(const QVariantMap &item);
    // Whether the library item at `imagePath` is a video, when the scan takes it (an enabled
    // extension, and videos compared); nothing when it does not.
    std::optional<bool> isVideoLibraryItem(const QString &imagePath) const;
    // False when a record of this very file (device and inode) was made already: a file two
    // ticked entries reach (a folder inside a listed library, say) is one record, never its own
    // duplicate that a removal could take along with it.
    bool claimFile(const std::optional<FileIdentity> &identity);
    void addRecord(const std::shared_ptr<ImageFileInfo> &record, const QString &path);
    // The ticked paths of `sources`, which the walk looks at first (see ScanMounts).
    static QStringList roots(const std::vector<FilePathNode> &sources);

    const ScanSession &m_session;
    const std::vector<FilePathNode> m_sources;
    std::function<void(const QString &path, int records)> m_added;
    RecordList m_records;
    SourceWalker m_walker;
    bool m_isOnePhotosLibScan = false;
    // What the walk's report does not know: a library read in part or not at all, the files outside
    // the dates.
    WalkReport m_ownReport;
    QSet<FileIdentity> m_recordedFiles;
};

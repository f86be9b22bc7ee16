// The background half of a scan's start: walks the ticked sources of the scan list and turns every
// acceptable file into a record of the session, in discovery order, reporting each one.
#pragma once

#include <optional>
#include <vector>

#include <QSet>

#include "model/FilePathNode.h"
#include "scan/ScanSession.h"
#include "scan/SourceWalker.h"

class SourceEnumerator
{
public:
    explicit SourceEnumerator(ScanSession &session);

    // `startScanning` for the sources of this computer.
    void run(const std::vector<FilePathNode> &sources);

private:
    bool addFileToScan(const WalkedFile &file);
    void scanPhotosLibrary(const QString &libraryPath, bool insideFolder);
    void addPhotosLibraryItem(const QVariantMap &item, const QString &libraryPath);
    // False when a record of this very file (device and inode) was made already: a file two
    // ticked entries reach (a folder inside a listed library, say) is one record, never its own
    // duplicate that a removal could take along with it.
    bool claimFile(const std::optional<FileIdentity> &identity);

    ScanSession &m_session;
    SourceWalker m_walker;
    bool m_isOnePhotosLibScan = false;
    // What the walk's report does not know: a library read in part, the files outside the dates.
    WalkReport m_ownReport;
    QSet<FileIdentity> m_recordedFiles;
};

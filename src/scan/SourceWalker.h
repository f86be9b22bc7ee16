// The walk over the folders and files of a scan list: every file that passes the extension and
// size filters is offered once, however many paths lead to it. Folders are entered one level at a
// time without following links to folders, and a folder already entered (a bind mount, a folder
// ticked twice, a nested source) is not entered again, so no layout of links can hang or double a
// scan. Unreadable entries are skipped with one log line each, and so is every Trash folder met, at
// any depth: any folder named as a Trash of any system (see Trash::isTrashByName), and any folder
// that is one of this user's Trashes or their files/ folders however it is reached (KnownTrashes),
// and so is a file a phone trashed in place (see Trash::isTrashedByName). A root, or a mount below
// one, that does not answer (a network share whose server has gone silent) is left out and named
// (see ScanMounts), and so is a link that leads onto such a share, so that none can hang the walk:
// once a share is named, every link onto it is passed over at once, read but never followed.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/FileFacts.h"
#include "platform/ScanMounts.h"
#include "scan/ExclusionMatcher.h"
#include "scan/WalkReport.h"

struct WalkedFile {
    QString path;
    qint64 size = 0;
    bool isVideo = false;
    // What the walk read of the file, handed on so that its record need not ask again.
    FileAttributes attributes;
};

struct SourceWalkerOptions {
    QStringList allowedExtensions; // lower-case
    QStringList videoExtensions; // lower-case
    QStringList untickedExtensions; // lower-case: files of them are counted, not offered
    qint64 minimumFileSize = 0;
    bool includePhotosLibInFolder = false;
    ExclusionMatcher exclusions;
};

class SourceWalker
{
public:
    // `addFile` makes the record of a file and answers whether it did (a refused file may be
    // offered again under another path). `photosLibrary` reads a library package met inside a
    // folder (`insideFolder` true) or ticked as a source.
    struct Handlers {
        std::function<bool(const WalkedFile &)> addFile;
        std::function<void(const QString &libraryPath, bool insideFolder)> photosLibrary;
    };

    // `roots`: every path of the scan list that is walked (see ScanMounts).
    SourceWalker(SourceWalkerOptions options, const std::atomic<bool> &abortMe, Handlers handlers,
        const QStringList &roots);

    void scanFolder(const QString &path);
    // What the walk so far could not take.
    const WalkReport &report() const { return m_report; }
    // True, with `path` logged and named in the report, when it is a root or a mount below one
    // that did not answer.
    bool skipsAsNotAnswering(const QString &path);
    // Logs `path` and names it in the report as not answering.
    void reportNotAnswering(const QString &path);
    // A single file of the scan list (not tested against the exclusions).
    void addFileToScan(const QString &path);
    // Offers the files met through symbolic links once every source has been walked: a file the
    // walk also reaches by its own path is known by that path, which a removal can move (it never
    // moves a link in its file's stead), whichever source was walked first.
    void offerLinkedFiles();

    // The first enabled extension that `path` ends with after a dot, or an empty text.
    static QString matchingExtension(const QString &lowerPath, const QStringList &extensions);
    // True when `lowerPath` ends with one of `suffixes` (no dot required).
    static bool endsWithAny(const QString &lowerPath, const QStringList &suffixes);

private:
    using Identity = std::pair<std::uint64_t, std::uint64_t>;

    // `isRoot`: `path` is a folder of the scan list itself, which may be away.
    void enterFolder(const QString &path, bool isRoot = false);
    bool isTrash(const QString &path, const FileIdentity &identity) const;
    // True, with the folder logged and named in the report, when `path` is or lies in a Trash.
    bool skipsAsTrash(const QString &path);
    // True, and logged, when the file `path` (named `name` in its folder) is an item a phone trashed
    // in place.
    bool skipsAsTrashed(const QString &path, const QString &name);
    void reportTrash(const QString &path);
    void reportNotFound(const QString &path);
    // Passes over the link `link` onto the mount `mount`, which does not answer; the mount is named
    // once, with the first such link.
    void passOver(const QString &link, const QString &mount);
    // Where the link `link`, named `name` in the open folder `dirFd`, leads, read from the link and
    // resolved apart (see PathLook); nothing, and logged, when it cannot be read, does not answer or
    // the walk was stopped.
    std::optional<PathLook::Found> followLink(int dirFd, const QString &link, const QByteArray &name);
    // Keeps the link to a file for offerLinkedFiles(), unless it leads into a Trash.
    void takeLink(int dirFd, const QString &link, const QByteArray &name);
    void scanEntries(const QString &path, int dirFd);
    void scanPackage(const QString &path);
    // True when `lower` (a path in lower case) has no enabled extension; counted in the report when
    // its type is one the user unticked.
    bool leavesOutForType(const QString &lower);
    // `lower` is `path` in lower case, made once by the caller.
    void offerFile(const QString &path, const QString &lower, const FileEntryFacts &facts);
    // Counts the entry of `folder` whose name is not valid UTF-8, of type `type` and named `lowerName`
    // once decoded, when it is a folder or a file of an enabled type.
    void countUndecodable(const QString &folder, unsigned char type, const QString &lowerName);
    void skipFolder(const QString &path, int error);

    SourceWalkerOptions m_options;
    const std::atomic<bool> &m_abortMe;
    Handlers m_handlers;
    ScanMounts m_mounts;
    QSet<QString> m_namedMounts;
    int m_linksPassedOver = 0;
    std::set<Identity> m_visitedFolders;
    std::set<Identity> m_addedFiles;
    std::vector<std::pair<QString, FileEntryFacts>> m_linkedFiles;
    WalkReport m_report;
};

#include "platform/CopyStores.h"

#include <dirent.h>
#include <strings.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

// A folder name trusted only beside a sibling of the same tool's layout.
struct Beside {
    const char *name;
    const char *sibling;
};

// A self-hosted cloud keeps a user's live files in "files" and, beside it, the deleted ones
// ("files_trashbin/files/Photos.d1700000000/A.jpg"), the old versions and the thumbnails it made;
// a photo server keeps the thumbnails it made beside the videos it encoded.
constexpr Beside kBeside[] = { { "files_trashbin", "files" }, { "files_versions", "files" },
    { "thumbnails", "files" }, { "thumbs", "encoded-video" } };

bool isDirectoryEntry(const dirent &entry, const char *name)
{
    // A link counts: the live folder may have been moved to another disk and linked back.
    return ::strcasecmp(entry.d_name, name) == 0
        && (entry.d_type == DT_DIR || entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN);
}

bool hasEntry(const QString &folder, const char *name)
{
    // The listing of the folder, never a look at the entry: it may be a share that no longer
    // answers, and a look at it would wait for that share for good.
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    bool found = false;
    const dirent *entry = nullptr;
    while (!found && (entry = ::readdir(dir)))
        found = isDirectoryEntry(*entry, name);
    ::closedir(dir);
    return found;
}

bool isBesideItsSibling(const QFileInfo &folder)
{
    for (const Beside &rule : kBeside)
        if (folder.fileName().compare(QLatin1String(rule.name), Qt::CaseInsensitive) == 0)
            return hasEntry(folder.absolutePath(), rule.sibling);
    return false;
}

} // namespace

bool CopyStores::isStore(const QString &path)
{
    // Names no user picks for a folder of their own: the version stores and bins of sync services
    // and their desktop clients; snapshot folders of file systems, network storage and the shares
    // they serve (a share's previous versions are "@GMT-<date>-<time>"); whole-machine backups
    // of other systems; the rotation folders of a snapshot backup ("daily.0", "alpha.3"); the
    // thumbnail folders network storage, phones and desktops write beside pictures.
    static const QRegularExpression &kName = *new QRegularExpression(
        QStringLiteral("^(\\.stversions|\\.SyncArchive|\\.debris|\\.insync-trash|\\.SynologyWorkingDirectory"
                       "|\\.snapshots?|~snapshot|#snapshot|@Recently-Snapshot|@\\.?snapshots|\\.zfs"
                       "|@GMT-\\d{4}\\.\\d\\d\\.\\d\\d-\\d\\d\\.\\d\\d\\.\\d\\d"
                       "|Backups\\.backupdb|\\.MobileBackups|\\.DocumentRevisions-V100"
                       "|(hourly|daily|weekly|monthly|yearly|alpha|beta|gamma|delta)\\.\\d+"
                       "|@eaDir|\\.@__thumb|\\.wdmc|\\.thumbnails|\\.sh_thumbnails)$"),
        QRegularExpression::CaseInsensitiveOption);
    // Common words trusted only where their tool puts them: a sync client's archive in its own
    // ".sync"; a system snapshot tool's "snapshots" in its own folder; a backup's snapshot, named by
    // its time, at its depth below "backintime"; another system's file history below
    // "FileHistory/<user>/<computer>"; a cloud server's previews in its "appdata_<id>"; the
    // thumbnail cache of a desktop or a photo server.
    static const QRegularExpression &kPlace = *new QRegularExpression(
        QStringLiteral("(/\\.sync/Archive|/timeshift(-btrfs)?/snapshots(-[a-z]+)?"
                       "|/backintime/[^/]+/[^/]+/[^/]+/(\\d{8}-\\d{6}-\\d{3}|new_snapshot)"
                       "|/FileHistory/[^/]+/[^/]+/Data|/appdata_[^/]+/preview|/\\.?cache/thumbnails)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QFileInfo folder(path);
    return kName.match(folder.fileName()).hasMatch() || kPlace.match(path).hasMatch()
        || isBesideItsSibling(folder);
}

#include "platform/CopyStores.h"

#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <array>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/AppFolders.h"
#include "platform/PathRules.h"

namespace
{

// A folder name trusted only beside the siblings of the same tool's layout (all of them).
struct Beside {
    const char *name;
    std::array<const char *, 3> siblings;
};

// A self-hosted cloud keeps a user's live files in "files" and, beside it, the deleted ones
// ("files_trashbin/files/Photos.d1700000000/A.jpg"), the old versions and the thumbnails it made;
// a photo server keeps the thumbnails it made beside the videos it encoded. A backup tool's archive
// mounted as folders shows every snapshot whole below each of four folders side by side, by id, by
// time, by host and by tag.
constexpr Beside kBeside[] = { { "files_trashbin", { "files" } }, { "files_versions", { "files" } },
    { "thumbnails", { "files" } }, { "thumbs", { "encoded-video" } },
    { "ids", { "snapshots", "hosts", "tags" } }, { "snapshots", { "ids", "hosts", "tags" } },
    { "hosts", { "ids", "snapshots", "tags" } }, { "tags", { "ids", "snapshots", "hosts" } } };

bool isDirectoryEntry(const dirent &entry, const char *name)
{
    // A link counts: the live folder may have been moved to another disk and linked back.
    return ::strcasecmp(entry.d_name, name) == 0
        && (entry.d_type == DT_DIR || entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN);
}

bool hasEntries(const QString &folder, const std::array<const char *, 3> &names)
{
    // The listing of the folder, never a look at the entry: it may be a share that no longer
    // answers, and a look at it would wait for that share for good.
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    std::array<bool, 3> found { !names[0], !names[1], !names[2] };
    while (const dirent *entry = ::readdir(dir)) {
        for (std::size_t i = 0; i < names.size(); ++i)
            found[i] = found[i] || isDirectoryEntry(*entry, names[i]);
    }
    ::closedir(dir);
    return std::all_of(found.cbegin(), found.cend(), [](bool one) { return one; });
}

// The user's cache folder as the desktop names it: what lies there a program made and makes again
// when it is gone (a photo manager's copies of the pictures it shows among them), never a photo of
// the user's. One set to the home itself, or above it, names no cache: it would leave everything out.
bool isCacheHome(const QString &path)
{
    const QString cache = AppFolders::xdgFolder("XDG_CACHE_HOME", QStringLiteral(".cache"));
    return path == cache && !PathRules::isSameOrInside(QDir::homePath(), cache);
}

bool isBesideItsSiblings(const QFileInfo &folder)
{
    for (const Beside &rule : kBeside)
        if (folder.fileName().compare(QLatin1String(rule.name), Qt::CaseInsensitive) == 0)
            return hasEntries(folder.absolutePath(), rule.siblings);
    return false;
}

} // namespace

bool CopyStores::isStore(const QString &path)
{
    // Names no user picks for a folder of their own: the version stores and bins of sync services
    // and their desktop clients; snapshot folders of file systems, network storage and the shares
    // they serve (a share's previous versions are "@GMT-<date>-<time>"); whole-machine backups
    // of other systems; the rotation folders of a snapshot backup ("daily.0", "alpha.3"); the
    // thumbnail folders network storage, phones and desktops write beside pictures; the caches of
    // programs, a home's ".cache" (a photo manager's offline copies of the pictures it shows).
    static const QRegularExpression &kName = *new QRegularExpression(
        QStringLiteral("^(\\.stversions|\\.SyncArchive|\\.debris|\\.insync-trash|\\.SynologyWorkingDirectory"
                       "|\\.snapshots?|~snapshot|#snapshot|@Recently-Snapshot|@\\.?snapshots|\\.zfs"
                       "|@GMT-\\d{4}\\.\\d\\d\\.\\d\\d-\\d\\d\\.\\d\\d\\.\\d\\d"
                       "|Backups\\.backupdb|\\.MobileBackups|\\.DocumentRevisions-V100"
                       "|(hourly|daily|weekly|monthly|yearly|alpha|beta|gamma|delta)\\.\\d+"
                       "|@eaDir|\\.@__thumb|\\.wdmc|\\.thumbnails|\\.sh_thumbnails|\\.cache)$"),
        QRegularExpression::CaseInsensitiveOption);
    // Common words trusted only where their tool puts them: a sync client's archive in its own
    // ".sync"; a system snapshot tool's "snapshots" in its own folder; a backup's snapshot, named by
    // its time, at its depth below "backintime"; another system's file history below
    // "FileHistory/<user>/<computer>"; a cloud server's previews in its "appdata_<id>"; the
    // thumbnail cache of a desktop or a photo server; a photo viewer's own bin of the pictures it
    // deleted, in its data folder.
    static const QRegularExpression &kPlace = *new QRegularExpression(
        QStringLiteral(
            "(/\\.sync/Archive|/timeshift(-btrfs)?/snapshots(-[a-z]+)?"
            "|/backintime/[^/]+/[^/]+/[^/]+/(\\d{8}-\\d{6}-\\d{3}|new_snapshot)"
            "|/FileHistory/[^/]+/[^/]+/Data|/appdata_[^/]+/preview|/\\.?cache/thumbnails|/geeqie/trash)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QFileInfo folder(path);
    return kName.match(folder.fileName()).hasMatch() || kPlace.match(path).hasMatch()
        || isBesideItsSiblings(folder) || isCacheHome(path);
}

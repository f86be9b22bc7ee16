#include "platform/Trash.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <optional>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "platform/AppFolders.h"
#include "platform/CopyStores.h"
#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/PathRules.h"
#include "platform/TrashFolder.h"

namespace
{

QString dataHome()
{
    return AppFolders::xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

// The path with symlinks of its existing ancestors resolved, so "/home/x/../x/.local" and a
// symlinked home compare equal to the real folder.
QString resolved(const QString &path)
{
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    QStringList tail;
    while (!info.exists() && !info.isRoot() && !info.filePath().isEmpty()) {
        tail.prepend(info.fileName());
        info = QFileInfo(info.absolutePath());
    }
    QString base = info.canonicalFilePath();
    if (base.isEmpty())
        base = info.absoluteFilePath();
    for (const QString &part : tail)
        base += QLatin1Char('/') + part;
    return QDir::cleanPath(base);
}

// Where a look found `written` really is; the path as written when it did not answer.
QString realOf(const PathLook::Result<PathLook::Found> &found, const QString &written)
{
    return found.answer ? found.answer->real : QDir::cleanPath(QFileInfo(written).absoluteFilePath());
}

// The info file of a trashed item, as the freedesktop.org Trash describes it.
QByteArray trashInfo(const QString &absolutePath)
{
    return QByteArrayLiteral("[Trash Info]\nPath=") + QUrl::toPercentEncoding(absolutePath, "/")
        + QByteArrayLiteral("\nDeletionDate=")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1()
        + QByteArrayLiteral("\n");
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The name `attempt` gives `fileName` in the Trash: the name itself, then "stem.2.ext", ..., with
// the stem shortened where the info file's name ("<name>.trashinfo") would not fit in a folder entry.
QString candidateName(const QString &fileName, int attempt)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    QString stem = dot <= 0 ? fileName : fileName.left(dot);
    const QString extension = dot <= 0 ? QString() : fileName.mid(dot);
    const QString number = attempt == 0 ? QString() : QLatin1Char('.') + QString::number(attempt + 1);
    const auto entryBytes = [&] { return QFile::encodeName(stem + number + extension).size() + 10; };
    while (stem.size() > 1 && entryBytes() > NAME_MAX)
        stem.chop(stem.back().isLowSurrogate() ? 2 : 1);
    return stem + number + extension;
}

std::function<void(const QString &)> &beforeMove()
{
    static auto *hook = new std::function<void(const QString &)>;
    return *hook;
}

// Renames without replacing an entry at the target; false, with errno, when anything is there.
bool renameNoReplace(int fromDir, const QByteArray &from, int toDir, const QByteArray &to)
{
    if (::renameat2(fromDir, from.constData(), toDir, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a look first, then the plain rename.
    struct stat st {
    };
    if (::fstatat(toDir, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && ::renameat(fromDir, from.constData(), toDir, to.constData()) == 0;
}

// The path of the open folder `fd` with every link resolved: where the item really lives.
QString realFolderOf(int fd, const QString &fallback)
{
    const QString real = QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).canonicalFilePath();
    return real.isEmpty() ? resolved(fallback) : real;
}

// Why the rename out of the open folder `dir` into the Trash failed with `error`: a folder this user
// may not write in keeps its items whatever the Trash is like.
void refuseMove(const TrashFolder &trash, int dir, int error, TrashMove &done)
{
    const bool folderLocked = (error == EACCES || error == EPERM || error == EROFS)
        && ::faccessat(dir, ".", W_OK, AT_EACCESS) != 0;
    if (folderLocked) {
        done.result = TrashMove::Result::FolderLocked;
        done.why = QStringLiteral("its folder cannot be changed: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(error)));
        return;
    }
    done.why = QStringLiteral("cannot move into %1/files: %2")
                   .arg(trash.path(), QString::fromLocal8Bit(std::strerror(error)));
}

// Takes `name` from the open folder `dir` into the Trash once its info file has claimed a free
// name there, then checks that what arrived is the file `identity` names: another file given the
// name in between, or the item `afterMove` gives a reason for, is put back where it was, and the
// move refused.
void moveInto(const TrashFolder &trash, int dir, const QByteArray &name, const QString &item,
    const FileIdentity &identity, const Trash::AfterMove &afterMove, TrashMove &done)
{
    const QByteArray infoText = trashInfo(item);
    const QString fileName = QFile::decodeName(name);
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const QString candidate = candidateName(fileName, attempt);
        const QByteArray target = QFile::encodeName(candidate);
        const QByteArray infoName = target + QByteArrayLiteral(".trashinfo");
        // The info file claims the name: whoever creates it first owns it.
        const int fd = ::openat(
            trash.info(), infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            done.why = QStringLiteral("cannot write in %1/info: %2")
                           .arg(trash.path(), QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        const bool written = writeAll(fd, infoText);
        const bool closed = ::close(fd) == 0;
        if (written && closed && beforeMove())
            beforeMove()(item);
        if (!written || !closed || !renameNoReplace(dir, name, trash.files(), target)) {
            const int error = written && closed ? errno : EIO;
            ::unlinkat(trash.info(), infoName.constData(), 0);
            // An item left in files/ without its info file keeps its name.
            if (error == EEXIST)
                continue;
            refuseMove(trash, dir, error, done);
            return;
        }
        const QString inTrash = trash.path() + QStringLiteral("/files/") + candidate;
        const std::optional<FileEntryFacts> moved
            = FileFacts::entryItselfAt(trash.files(), target.constData());
        const QString why = !moved || !(moved->identity == identity)
            ? QStringLiteral("another file took its place at the move")
            : afterMove ? afterMove(*moved)
                        : QString();
        if (why.isEmpty()) {
            done.result = TrashMove::Result::Moved;
            done.pathInTrash = inTrash;
            return;
        }
        if (renameNoReplace(trash.files(), target, dir, name)) {
            ::unlinkat(trash.info(), infoName.constData(), 0);
            done.result = TrashMove::Result::PutBack;
            done.why = why + QStringLiteral("; it was put back");
        } else {
            // Something took its name meanwhile: it stays in the Trash, with its info file, for the
            // user to restore.
            done.result = TrashMove::Result::NotPutBack;
            done.pathInTrash = inTrash;
            done.why = why + QStringLiteral("; it could not be put back and lies in the Trash as ") + inTrash;
        }
        return;
    }
    done.why = QStringLiteral("no free name in %1/files").arg(trash.path());
}

// Looks at the item in its open folder without following a link, and moves it when it passes
// `check`.
void moveItem(
    const QString &item, const Trash::Check &check, const Trash::AfterMove &afterMove, TrashMove &done)
{
    const QFileInfo info(item);
    const QByteArray name = QFile::encodeName(info.fileName());
    const int dir
        = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::optional<FileEntryFacts> facts
        = dir < 0 ? std::nullopt : FileFacts::entryItselfAt(dir, name.constData());
    done.why = !facts ? QStringLiteral("no longer there") : check ? check(*facts) : QString();
    if (done.why.isEmpty()) {
        const std::uint64_t device = facts->identity.device;
        if (std::optional<TrashFolder> trash = TrashFolder::forItem(realFolderOf(dir, info.absolutePath()),
                makedev(device >> 32, device & 0xffffffffu), &done.why))
            moveInto(*trash, dir, name, item, facts->identity, afterMove, done);
        else
            done.result = TrashMove::Result::NoTrash;
    }
    if (dir >= 0)
        ::close(dir);
}

} // namespace

QString Trash::homeTrashSilentMount()
{
    // Every move looks at the home Trash, whatever volume the item lies on, to tell which Trash it
    // goes to: where that look would not come back, no move is begun.
    return PathLook::current().find(homeTrashFolder(), nullptr).silentMount;
}

QString Trash::homeTrashFolder()
{
    return dataHome() + QStringLiteral("/Trash");
}

QString Trash::realHomeTrash(const PathLook &look)
{
    const QString homeTrash = homeTrashFolder();
    return realOf(look.find(homeTrash, nullptr), homeTrash);
}

bool Trash::isInsideTrashFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString homeTrash = homeTrashFolder();
    const std::vector<PathLook::Result<PathLook::Found>> found
        = PathLook::current().findAll({ path, homeTrash }, nullptr);
    return isInsideTrashFolder(path, realOf(found[0], path), realOf(found[1], homeTrash));
}

bool Trash::isInsideTrashFolder(const QString &path, const QString &real, const QString &realHomeTrash)
{
    if (path.isEmpty())
        return false;
    if (PathRules::isSameOrInside(real, realHomeTrash))
        return true;
    // The path as given too: a Trash named on a volume may be reached through a link of another name.
    for (const QString &candidate : { real, QDir::cleanPath(path) }) {
        for (qsizetype slash = candidate.indexOf(QLatin1Char('/'), 1);;
             slash = candidate.indexOf(QLatin1Char('/'), slash + 1)) {
            if (isTrashByName(slash < 0 ? candidate : candidate.left(slash)))
                return true;
            if (slash < 0)
                break;
        }
    }
    return false;
}

bool Trash::isTrashByName(const QString &path)
{
    // The name alone decides: a folder so named is a Trash by its system's convention whether or
    // not its files/ and info/ are there (a backup of an old home, a Trash half emptied by hand, a
    // card last used with another system), and walking one would offer a trashed copy as the one to
    // keep. A user's own folder that is merely named so costs at most a duplicate not found, and the
    // scan names it at its end.
    // Any letter case: the volumes these names live on (FAT, exFAT, SMB shares, a Mac's disks)
    // ignore case, so ".trash-1000" there is the folder the desktop opens as ".Trash-1000", and
    // short names such as "RECYCLED" may be shown in lower case.
    // Phones' galleries and sync services keep deleted pictures in bins of their own, trusted by the
    // name wherever it lies: ".trashBin" (a gallery's cloud folder, "MIUI/Gallery/cloud/.trashBin"),
    // ".globalTrash", ".RecycleBin" (a gallery application's "Android/data/<id>/files/.RecycleBin"),
    // ".dropbox.cache" (a synced folder's deleted and replaced files); a photo manager's ".dtrash" at
    // the top of a collection, with files/ and info/ as in a desktop's Trash.
    static const QRegularExpression &kTrashName = *new QRegularExpression(
        QStringLiteral(
            "^(\\.Trash|\\.Trash-.+|\\.Trashes|\\$RECYCLE\\.BIN|RECYCLER|RECYCLED|#recycle|@Recycle|"
            "\\.recycle|\\.trashBin|\\.globalTrash|\\.RecycleBin|\\.dropbox\\.cache|\\.dtrash)$"),
        QRegularExpression::CaseInsensitiveOption);
    // Common words trusted only where their system puts them: "Trash" where a desktop keeps its home
    // Trash, a home's ".local/share" (a backup's, a snap's) or a sandboxed application's data folder
    // (".var/app/<id>/data"); "recycle" only in a gallery's own ".Gallery2" folder.
    static const QRegularExpression &kPlacedTrash = *new QRegularExpression(
        QStringLiteral("(/\\.local/share/Trash|/\\.var/app/[^/]+/data/Trash|/\\.Gallery2/recycle)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString clean = QDir::cleanPath(path);
    return kTrashName.match(QFileInfo(clean).fileName()).hasMatch() || kPlacedTrash.match(clean).hasMatch()
        || CopyStores::isStore(clean);
}

bool Trash::isTrashedByName(const QString &fileName)
{
    // A phone's gallery trashes a picture by renaming it so in its own folder and deletes it when the
    // expiry passes: a card or a copied camera folder holds both, the trashed one often changed last.
    return fileName.startsWith(QLatin1String(".trashed-"), Qt::CaseInsensitive);
}

void Trash::setBeforeMove(std::function<void(const QString &path)> hook)
{
    beforeMove() = std::move(hook);
}

bool Trash::moveToTrash(const QString &path, QString *pathInTrash, QString *why)
{
    TrashMove done = move(path, nullptr);
    if (pathInTrash)
        *pathInTrash = done.pathInTrash;
    if (why)
        *why = done.why;
    return done.moved();
}

TrashMove Trash::move(const QString &path, const Check &check, const AfterMove &afterMove)
{
    TrashMove done;
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) {
        done.why = QStringLiteral("not an absolute path");
    } else if (const QString silent = homeTrashSilentMount(); !silent.isEmpty()) {
        done.result = TrashMove::Result::NotAnswering;
        done.why = QStringLiteral("the home Trash does not answer (%1)").arg(silent);
    } else {
        moveItem(QDir::cleanPath(path), check, afterMove, done);
    }
    if (!done.moved())
        Log::line(QStringLiteral("Move to Trash failed: ") + path + QStringLiteral(" (") + done.why
            + QLatin1Char(')'));
    return done;
}

#include "platform/KnownTrashes.h"

#include <fcntl.h>

#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/PathRules.h"

namespace
{

// A folder itself, not a link to one: a link planted in place of a Trash names no Trash.
std::optional<FileIdentity> folderItself(const QString &path)
{
    const std::optional<FileEntryFacts> entry
        = FileFacts::entryItselfAt(AT_FDCWD, QFile::encodeName(path).constData());
    if (!entry || !entry->isDirectory)
        return std::nullopt;
    return entry->identity;
}

// Undoes the octal escapes (\040 for a space, \134 for a backslash) of a mountinfo field.
QByteArray unescaped(const QByteArray &field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

// "id parent major:minor root mount-point options [optional...] - type source options": the fields
// up to the mount point, escapes undone; none for a line that is not a mount or an automount, as
// looking into one would mount it.
std::optional<KnownTrashes::Mount> mountOf(const QByteArray &line)
{
    const QList<QByteArray> fields = line.split(' ');
    const qsizetype dash = fields.indexOf("-");
    if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size() || fields[dash + 1] == "autofs")
        return std::nullopt;
    KnownTrashes::Mount mount { fields[2], QFile::decodeName(unescaped(fields[3])),
        QFile::decodeName(unescaped(fields[4])) };
    if (!mount.point.startsWith(QLatin1Char('/')))
        return std::nullopt;
    return mount;
}

} // namespace

KnownTrashes::Look KnownTrashes::lookAtTop(const QString &point, uint uid)
{
    Look look;
    look.point = folderItself(point);
    const QString top = point == QLatin1String("/") ? QString() : point;
    const QString user = QString::number(uid);
    for (const QString &trash :
        { top + QStringLiteral("/.Trash-") + user, top + QStringLiteral("/.Trash/") + user }) {
        const Look found = lookAtTrash(trash);
        look.tops.unite(found.tops);
        look.files.unite(found.files);
        look.filesPaths += found.filesPaths;
    }
    return look;
}

KnownTrashes::Look KnownTrashes::lookAtTrash(const QString &trash)
{
    Look look;
    if (trash.isEmpty())
        return look;
    if (const std::optional<FileIdentity> top = folderItself(trash)) {
        look.tops.insert(*top);
        const QString folder = trash + QStringLiteral("/files");
        if (const std::optional<FileIdentity> id = folderItself(folder)) {
            look.files.insert(*id);
            look.filesPaths.append(QFileInfo(folder).canonicalFilePath());
        }
    }
    return look;
}

KnownTrashes KnownTrashes::from(
    const Look &home, const std::vector<std::pair<Mount, Look>> &looked, const std::vector<Mount> &all)
{
    KnownTrashes trashes;
    QStringList files = home.filesPaths;
    trashes.add(home);
    for (const auto &[mount, look] : looked) {
        trashes.add(look);
        files += look.filesPaths;
    }
    trashes.addMountsInside(files, looked, all);
    return trashes;
}

void KnownTrashes::add(const Look &look)
{
    m_tops.unite(look.tops);
    m_files.unite(look.files);
}

std::vector<KnownTrashes::Mount> KnownTrashes::mounts(const QByteArray &mountInfo)
{
    std::vector<Mount> found;
    for (const QByteArray &line : mountInfo.split('\n')) {
        if (const std::optional<Mount> mount = mountOf(line))
            found.push_back(*mount);
    }
    return found;
}

QStringList KnownTrashes::mountPoints(const QByteArray &mountInfo)
{
    QStringList points;
    for (const Mount &mount : mounts(mountInfo)) {
        if (!points.contains(mount.point))
            points.append(mount.point);
    }
    return points;
}

const KnownTrashes::Mount *KnownTrashes::holderOf(const QString &path, const std::vector<Mount> &all)
{
    const Mount *holder = nullptr;
    for (const Mount &mount : all) {
        if (PathRules::isSameOrInside(path, mount.point)
            && (!holder || mount.point.size() >= holder->point.size()))
            holder = &mount;
    }
    return holder;
}

// A folder inside a Trash's files/ (an album trashed whole) mounted elsewhere keeps neither the
// Trash's name nor its identity: the mount table tells, by the folder of its file system it shows.
// Of those mounts, only the ones looked at can be met, and their folders are known already.
void KnownTrashes::addMountsInside(const QStringList &files,
    const std::vector<std::pair<Mount, Look>> &looked, const std::vector<Mount> &all)
{
    for (const QString &path : files) {
        const Mount *holder = holderOf(path, all);
        if (!holder)
            continue;
        const QString inside
            = QDir::cleanPath(holder->root + QLatin1Char('/') + path.mid(holder->point.size()));
        for (const auto &[mount, look] : looked) {
            if (mount.device == holder->device && PathRules::isSameOrInside(mount.root, inside) && look.point)
                m_files.insert(*look.point);
        }
    }
}

bool KnownTrashes::heldAlong(const QString &absolutePath) const
{
    for (QString folder = absolutePath;;) {
        const std::optional<FileIdentity> id = FileFacts::identity(folder);
        if (id && contains(*id))
            return true;
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return false;
        folder = parent;
    }
}

#include "platform/KnownTrashes.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/Trash.h"

namespace
{

// A folder itself, not a link to one: a link planted in place of a Trash names no Trash.
std::optional<FileIdentity> folderItself(const QString &path)
{
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FileIdentity { std::uint64_t(major(st.st_dev)) << 32 | minor(st.st_dev), st.st_ino };
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

} // namespace

KnownTrashes KnownTrashes::current()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    const QByteArray mountInfo = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    return find(Trash::homeTrashFolder(), mountInfo, ::getuid());
}

KnownTrashes KnownTrashes::find(const QString &homeTrash, const QByteArray &mountInfo, uint uid)
{
    KnownTrashes trashes;
    trashes.addTrash(homeTrash);
    const QString user = QString::number(uid);
    for (const QString &point : mountPoints(mountInfo)) {
        const QString top = point == QLatin1String("/") ? QString() : point;
        trashes.addTrash(top + QStringLiteral("/.Trash-") + user);
        trashes.addTrash(top + QStringLiteral("/.Trash/") + user);
    }
    return trashes;
}

QStringList KnownTrashes::mountPoints(const QByteArray &mountInfo)
{
    QStringList points;
    for (const QByteArray &line : mountInfo.split('\n')) {
        // "id parent major:minor root mount-point options [optional...] - type source options"
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size() || fields[dash + 1] == "autofs")
            continue;
        const QString point = QFile::decodeName(unescaped(fields[4]));
        if (point.startsWith(QLatin1Char('/')) && !points.contains(point))
            points.append(point);
    }
    return points;
}

void KnownTrashes::addTrash(const QString &trash)
{
    if (const std::optional<FileIdentity> top = folderItself(trash)) {
        m_tops.insert(*top);
        if (const std::optional<FileIdentity> files = folderItself(trash + QStringLiteral("/files")))
            m_files.insert(*files);
    }
}

bool KnownTrashes::holds(const QString &path) const
{
    if (m_tops.isEmpty() || path.isEmpty())
        return false;
    for (QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());;) {
        const std::optional<FileIdentity> id = FileFacts::identity(folder);
        if (id && contains(*id))
            return true;
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return false;
        folder = parent;
    }
}

// The Trash route with its checks just before each move.
#include "removal/LocalTrashRoute.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "model/ImageFileInfo.h"
#include "platform/FileFacts.h"
#include "platform/TextFormat.h"
#include "platform/Trash.h"

namespace
{

QString identityText(const FileIdentity &id)
{
    return QStringLiteral("file:%1:%2").arg(id.device).arg(id.inode);
}

// Another hard link keeps the file's bytes on the disk when this name goes.
bool hasOtherNames(const QString &path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_nlink > 1;
}

} // namespace

LocalTrashRoute::LocalTrashRoute()
    : LocalTrashRoute(systemProbes())
{
}

LocalTrashRoute::LocalTrashRoute(Probes probes)
    : m_probes(std::move(probes))
{
}

LocalTrashRoute::Probes LocalTrashRoute::systemProbes()
{
    return { &FileFacts::isImmutable, &moveChecked };
}

bool LocalTrashRoute::moveChecked(
    const ImageFileInfo &record, const std::function<QString()> &afterMove, QString *why)
{
    // Checked once more as the Trash sees it, in its open folder, just before it moves.
    const TrashMove done = Trash::move(
        record.filePath,
        [&record](const FileEntryFacts &item) {
            return item.isRegular ? differences(record, item.attributes)
                                  : QStringLiteral("no longer a regular file");
        },
        afterMove);
    // The user reads this one: no Trash there is theirs alone.
    *why = done.result == TrashMove::Result::NoTrash
        ? formatText(localizedString(QStringLiteral("ID_TRASH_NOT_YOURS_ALONE")), done.why)
        : done.why;
    return done.moved();
}

QString LocalTrashRoute::identity(const ImageFileInfo &record) const
{
    // A relative path would be resolved against whatever folder the process stands in.
    if (!QDir::isAbsolutePath(record.filePath))
        return {};
    const std::optional<FileIdentity> id = FileFacts::identity(record.filePath);
    return id ? identityText(*id) : QString();
}

QString LocalTrashRoute::recheck(const ImageFileInfo &record) const
{
    const QString &path = record.filePath;
    if (!QDir::isAbsolutePath(path))
        return QStringLiteral("not an absolute path");
    if (record.isLocked)
        return QStringLiteral("locked");
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("no longer there");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("a symbolic link, not the file itself");
    if (m_probes.isImmutable && m_probes.isImmutable(path))
        return QStringLiteral("immutable");
    return changedSinceScan(record);
}

QString LocalTrashRoute::changedSinceScan(const ImageFileInfo &record) const
{
    // Links followed: a copy kept through a link is the file it leads to.
    const std::optional<FileAttributes> now
        = QDir::isAbsolutePath(record.filePath) ? FileFacts::attributes(record.filePath) : std::nullopt;
    if (!now)
        return QStringLiteral("no longer there");
    if (!QFileInfo(record.filePath).isFile())
        return QStringLiteral("no longer a regular file");
    return differences(record, *now);
}

QString LocalTrashRoute::differences(const ImageFileInfo &record, const FileAttributes &now)
{
    // Another file put in its place, or the file written again with its size and modification
    // time set back: only the identity and the change time tell.
    if (record.fileIdentity && now.identity != *record.fileIdentity)
        return QStringLiteral("changed since the scan (another file)");
    if (std::uint64_t(now.size) != record.fileSize)
        return QStringLiteral("changed since the scan (size)");
    if (now.modificationDate != record.modDate)
        return QStringLiteral("changed since the scan (modification time)");
    if (record.changeDate.isValid() && now.changeDate != record.changeDate)
        return QStringLiteral("changed since the scan (change time)");
    return {};
}

RemovalOutcome LocalTrashRoute::remove(
    const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop)
{
    return removeKeeping(record, stop, {});
}

RemovalOutcome LocalTrashRoute::removeKeeping(const std::shared_ptr<ImageFileInfo> &record,
    const std::atomic<bool> &, const std::function<QString()> &keptLost)
{
    if (!record)
        return RemovalOutcome::failed(QStringLiteral("no record"));
    const QString refused = recheck(*record);
    if (!refused.isEmpty())
        return RemovalOutcome::failed(refused);
    const bool otherNames = hasOtherNames(record->filePath);
    QString why;
    if (!m_probes.moveToTrash || !m_probes.moveToTrash(*record, keptLost, &why))
        return RemovalOutcome::failed(QStringLiteral("the Trash refused it")
            + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    return RemovalOutcome::removed(!otherNames);
}

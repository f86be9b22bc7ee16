// The Trash route with its checks just before each move.
#include "removal/LocalTrashRoute.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "model/ImageFileInfo.h"
#include "platform/FileFacts.h"
#include "platform/KnownTrashes.h"
#include "platform/PathLook.h"
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

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

RemovalOutcome refusal(const QString &why, const char *shownKey)
{
    return RemovalOutcome::failed(why, text(shownKey));
}

// Why a move must be undone, as the user reads it: another file took its place, it changed, the copy
// kept for it went with it or stopped answering.
enum class PutBackFor { SomeoneElse, Changed, KeptLost, KeptNotAnswering };

const char *putBackKey(PutBackFor putBack)
{
    switch (putBack) {
    case PutBackFor::KeptLost:
        return "ID_NOT_MOVED_KEPT_COPY_WENT_WITH_IT";
    case PutBackFor::KeptNotAnswering:
        return "ID_NOT_MOVED_KEPT_COPY_NOT_ANSWERING_PUT_BACK";
    case PutBackFor::Changed:
        return "ID_NOT_MOVED_CHANGED_AT_THE_MOVE";
    case PutBackFor::SomeoneElse:
        break;
    }
    return "ID_NOT_MOVED_PUT_BACK";
}

// What the user reads of a move the Trash refused; `changed`: the file failed the check before the
// move, `putBack`: why the check after it put the file back.
QString shownWhy(const TrashMove &done, bool changed, PutBackFor putBack)
{
    switch (done.result) {
    case TrashMove::Result::Moved:
        return {};
    case TrashMove::Result::NoTrash:
        return formatText(text("ID_TRASH_NOT_YOURS_ALONE"), done.why);
    case TrashMove::Result::NotAnswering:
        return formatText(text("ID_NOT_MOVED_TRASH_NOT_ANSWERING"), Trash::homeTrashFolder());
    case TrashMove::Result::PutBack:
        return text(putBackKey(putBack));
    case TrashMove::Result::FolderLocked:
        return text("ID_NOT_MOVED_FOLDER_LOCKED");
    case TrashMove::Result::NotPutBack:
        // Not left in place: the user must know where to find it.
        return formatText(text("ID_NOT_PUT_BACK_LIES_IN_TRASH"), done.pathInTrash);
    case TrashMove::Result::Refused:
        break;
    }
    return changed ? text("ID_NOT_MOVED_CHANGED_SINCE_SCAN")
                   : formatText(text("ID_NOT_MOVED_TRASH_REFUSED"), done.why);
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
    bool changed = false;
    PutBackFor putBack = PutBackFor::SomeoneElse;
    const TrashMove done = Trash::move(
        record.filePath,
        [&record, &changed](const FileEntryFacts &item) {
            const QString differs = item.isRegular ? differences(record, item.attributes)
                                                   : QStringLiteral("no longer a regular file");
            changed = !differs.isEmpty();
            return differs;
        },
        [&record, &afterMove, &putBack](const FileEntryFacts &moved) {
            // What moved is what was checked: a file rewritten in place between the check and the
            // move would otherwise go in its new state, its edit then only in the Trash.
            const QString differs = moved.isRegular ? differencesAfterMove(record, moved.attributes)
                                                    : QStringLiteral("no longer a regular file");
            const QString lost = !differs.isEmpty() ? differs : afterMove ? afterMove() : QString();
            if (!differs.isEmpty())
                putBack = PutBackFor::Changed;
            else if (!lost.isEmpty())
                putBack = lost == RemovalOutcome::keptCopyNotAnswering() ? PutBackFor::KeptNotAnswering
                                                                         : PutBackFor::KeptLost;
            return lost;
        });
    // The user reads it after the run; the Trash has logged its own words.
    *why = shownWhy(done, changed, putBack);
    return done.moved();
}

QString LocalTrashRoute::underWayText(const ImageFileInfo &record, const PathLook &look) const
{
    // Told by the mount table alone: the file's mount may be the one not answering.
    const KnownTrashes::Mount *file = KnownTrashes::holderOf(record.filePath, look.mounts());
    const KnownTrashes::Mount *home = KnownTrashes::holderOf(Trash::homeTrashFolder(), look.mounts());
    if (!file || (home && home->device == file->device))
        return text("ID_MAY_STILL_BE_MOVED_TO_THE_TRASH");
    return formatText(text("ID_MAY_STILL_BE_MOVED_TO_THE_TRASH_OF"), file->point);
}

QString LocalTrashRoute::identity(const ImageFileInfo &record) const
{
    // A relative path would be resolved against whatever folder the process stands in.
    if (!QDir::isAbsolutePath(record.filePath))
        return {};
    const std::optional<FileIdentity> id = FileFacts::identity(record.filePath);
    return id ? identityText(*id) : QString();
}

std::optional<RemovalOutcome> LocalTrashRoute::recheck(const ImageFileInfo &record) const
{
    const QString &path = record.filePath;
    if (!QDir::isAbsolutePath(path))
        return RemovalOutcome::failed(QStringLiteral("not an absolute path"));
    if (record.isLocked)
        return refusal(QStringLiteral("locked"), "ID_NOT_MOVED_LOCKED");
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return refusal(QStringLiteral("no longer there"), "ID_NOT_MOVED_GONE");
    if (S_ISLNK(st.st_mode))
        return refusal(
            QStringLiteral("a symbolic link, not the file itself"), "ID_NOT_MOVED_CHANGED_SINCE_SCAN");
    if (m_probes.isImmutable && m_probes.isImmutable(path))
        return refusal(QStringLiteral("immutable"), "ID_NOT_MOVED_LOCKED");
    if (const QString changed = changedSinceScan(record); !changed.isEmpty())
        return refusal(changed, "ID_NOT_MOVED_CHANGED_SINCE_SCAN");
    return std::nullopt;
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
    if (const QString differs = differencesAfterMove(record, now); !differs.isEmpty())
        return differs;
    // The file written again with its size and modification time set back: only the change time
    // tells.
    if (record.changeDate.isValid() && now.changeDate != record.changeDate)
        return QStringLiteral("changed since the scan (change time)");
    return {};
}

QString LocalTrashRoute::differencesAfterMove(const ImageFileInfo &record, const FileAttributes &moved)
{
    // The move sets the change time itself, so a file rewritten in the instant of its move with its
    // size and nanosecond modification time put back cannot be told here. That takes another
    // process racing the move on purpose, and the file still lies whole in the Trash, its edit with it.
    if (record.fileIdentity && moved.identity != *record.fileIdentity)
        return QStringLiteral("changed since the scan (another file)");
    if (std::uint64_t(moved.size) != record.fileSize)
        return QStringLiteral("changed since the scan (size)");
    if (record.modificationNanoseconds ? moved.modificationNanoseconds != *record.modificationNanoseconds
                                       : moved.modificationDate != record.modDate)
        return QStringLiteral("changed since the scan (modification time)");
    return {};
}

RemovalOutcome LocalTrashRoute::remove(
    const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop)
{
    return removeKeeping(record, stop, {});
}

RemovalOutcome LocalTrashRoute::removeKeeping(const std::shared_ptr<ImageFileInfo> &record,
    const std::atomic<bool> &stop, const std::function<QString()> &keptLost)
{
    if (!record)
        return RemovalOutcome::failed(QStringLiteral("no record"));
    if (std::optional<RemovalOutcome> refused = recheck(*record))
        return std::move(*refused);
    return removeRechecked(record, stop, keptLost);
}

RemovalOutcome LocalTrashRoute::removeRechecked(const std::shared_ptr<ImageFileInfo> &record,
    const std::atomic<bool> &, const std::function<QString()> &keptLost)
{
    if (!record)
        return RemovalOutcome::failed(QStringLiteral("no record"));
    const bool otherNames = hasOtherNames(record->filePath);
    QString why;
    if (!m_probes.moveToTrash || !m_probes.moveToTrash(*record, keptLost, &why))
        return RemovalOutcome::failed(
            QStringLiteral("the Trash refused it") + (why.isEmpty() ? QString() : QStringLiteral(": ") + why),
            why);
    return RemovalOutcome::removed(!otherNames);
}

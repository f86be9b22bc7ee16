#include "scan/NoPhotosMessage.h"

#include <QStringList>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "platform/AppFolders.h"
#include "platform/TextFormat.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

QString NoPhotosMessage::informativeText(const WalkReport &report, qint64 minimumFileSize)
{
    QStringList lines;
    if (const QString skipped = skippedFoldersText(report); !skipped.isEmpty())
        lines.append(skipped);
    if (report.skippedForSize > 0)
        lines.append(formatText(
            localizedCountText(report.skippedForSize, "ID_FILE_SKIPPED_UNDER_MINIMUM_SIZE",
                "ID_FILES_SKIPPED_UNDER_MINIMUM_SIZE"),
            report.skippedForSize, CommonFunc::formattedSize(QVariant::fromValue(quint64(minimumFileSize))),
            text("ID_FILTER_SORT")));
    if (lines.isEmpty())
        lines.append(text("ID_PLS_CHANGE_PREFERENCES_OR_SELECT_ANOTHER_PTH"));
    return lines.join(QLatin1Char('\n'));
}

QString NoPhotosMessage::skippedFoldersText(const WalkReport &report)
{
    QStringList lines;
    for (const QString &part : { unreadableFoldersText(report), trashFoldersText(report) }) {
        if (!part.isEmpty())
            lines.append(part);
    }
    return lines.join(QLatin1Char('\n'));
}

QString NoPhotosMessage::trashFoldersText(const WalkReport &report)
{
    if (report.trashFolders <= 0)
        return {};
    QStringList lines { formatText(text("ID_FOLDER_SKIPPED_AS_TRASH"), report.firstTrashFolder) };
    // The rest are in the log; the user is told where it is.
    const int more = report.trashFolders - 1;
    if (more == 1)
        lines.append(formatText(text("ID_ONE_MORE_FOLDER_SKIPPED_AS_TRASH"), AppFolders::logFilePath()));
    else if (more > 1)
        lines.append(formatText(text("ID_MORE_FOLDERS_SKIPPED_AS_TRASH"), more, AppFolders::logFilePath()));
    return lines.join(QLatin1Char('\n'));
}

QString NoPhotosMessage::unreadableFoldersText(const WalkReport &report)
{
    if (report.unreadableFolders <= 0)
        return {};
    QStringList lines { formatText(
        text("ID_FOLDER_COULD_NOT_BE_READ"), report.firstUnreadableFolder, report.firstUnreadableReason) };
    // The rest are in the log; the user is told where it is.
    const qint64 more = report.unreadableFolders - 1;
    const QString log = AppFolders::logFilePath();
    if (more == 1)
        lines.append(formatText(text("ID_ONE_MORE_FOLDER_COULD_NOT_BE_READ"), log));
    else if (more > 1)
        lines.append(formatText(text("ID_MORE_FOLDERS_COULD_NOT_BE_READ"), more, log));
    return lines.join(QLatin1Char('\n'));
}

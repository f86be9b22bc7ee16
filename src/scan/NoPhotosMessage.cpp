#include "scan/NoPhotosMessage.h"

#include <QStringList>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "platform/TextFormat.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

// The first folder with why, then how many more.
QString folderLines(int count, const QString &first, const char *oneMoreKey, const char *moreKey)
{
    QStringList lines { first };
    if (count > 1)
        lines.append(formatText(localizedCountText(count - 1, oneMoreKey, moreKey), count - 1));
    return lines.join(QLatin1Char('\n'));
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
    if (report.unreadableFolders > 0)
        lines.append(folderLines(report.unreadableFolders,
            formatText(text("ID_FOLDER_COULD_NOT_BE_READ"), report.firstUnreadableFolder,
                report.firstUnreadableReason),
            "ID_ONE_MORE_FOLDER_COULD_NOT_BE_READ", "ID_MORE_FOLDERS_COULD_NOT_BE_READ"));
    if (report.trashFolders > 0)
        lines.append(folderLines(report.trashFolders,
            formatText(text("ID_FOLDER_SKIPPED_AS_TRASH"), report.firstTrashFolder),
            "ID_ONE_MORE_FOLDER_SKIPPED_AS_TRASH", "ID_MORE_FOLDERS_SKIPPED_AS_TRASH"));
    return lines.join(QLatin1Char('\n'));
}

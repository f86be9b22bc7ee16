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

} // namespace

QString NoPhotosMessage::informativeText(const WalkReport &report, qint64 minimumFileSize)
{
    QStringList lines;
    if (const QString unreadable = unreadableFoldersText(report); !unreadable.isEmpty())
        lines.append(unreadable);
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

QString NoPhotosMessage::unreadableFoldersText(const WalkReport &report)
{
    QStringList lines;
    if (report.unreadableFolders > 0)
        lines.append(formatText(
            text("ID_FOLDER_COULD_NOT_BE_READ"), report.firstUnreadableFolder, report.firstUnreadableReason));
    if (report.unreadableFolders > 1)
        lines.append(
            formatText(localizedCountText(report.unreadableFolders - 1,
                           "ID_ONE_MORE_FOLDER_COULD_NOT_BE_READ", "ID_MORE_FOLDERS_COULD_NOT_BE_READ"),
                report.unreadableFolders - 1));
    if (!report.libraryReadInPart.isEmpty())
        lines.append(report.libraryItemsTaken > 0
                ? formatText(
                    text("ID_PHOTO_LIBRARY_READ_IN_PART"), report.libraryReadInPart, report.libraryItemsTaken)
                : formatText(text("ID_PHOTO_LIBRARY_TOO_LARGE"), report.libraryReadInPart));
    return lines.join(QLatin1Char('\n'));
}

QString NoPhotosMessage::unreadableTitle(const WalkReport &report)
{
    return text(report.unreadableFolders > 0 ? "ID_SOME_FOLDERS_WERE_NOT_SCANNED"
                                             : "ID_SOME_PHOTOS_WERE_NOT_SCANNED");
}

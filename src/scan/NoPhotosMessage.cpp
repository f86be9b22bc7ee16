#include "scan/NoPhotosMessage.h"

#include <QStringList>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "platform/AppFolders.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"
#include "scan/LibraryReportText.h"

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
    if (const QString files = leftOutFilesText(report, minimumFileSize); !files.isEmpty())
        lines.append(files);
    if (const QString period = periodText(report); !period.isEmpty())
        lines.append(period);
    if (lines.isEmpty())
        lines.append(text("ID_PLS_CHANGE_PREFERENCES_OR_SELECT_ANOTHER_PTH"));
    return paragraphs(lines);
}

QString NoPhotosMessage::leftOutFilesText(const WalkReport &report, qint64 minimumFileSize)
{
    QStringList lines;
    if (report.skippedForSize > 0)
        lines.append(formatText(
            localizedCountText(report.skippedForSize, "ID_FILE_SKIPPED_UNDER_MINIMUM_SIZE",
                "ID_FILES_SKIPPED_UNDER_MINIMUM_SIZE"),
            report.skippedForSize, CommonFunc::formattedSize(QVariant::fromValue(quint64(minimumFileSize))),
            text("ID_FILTER_SORT")));
    if (report.skippedForType > 0)
        lines.append(formatText(localizedCountText(report.skippedForType, "ID_FILE_SKIPPED_TYPE_UNTICKED",
                                    "ID_FILES_SKIPPED_TYPE_UNTICKED"),
            report.skippedForType, text("ID_FILTER_SORT"), report.skippedTypes.join(QStringLiteral(", "))));
    if (report.skippedForName > 0)
        lines.append(formatText(localizedCountText(report.skippedForName, "ID_ITEM_SKIPPED_NAME_NOT_UTF8",
                                    "ID_ITEMS_SKIPPED_NAME_NOT_UTF8"),
            report.skippedForName, OutsideText::name(report.firstSkippedForNameFolder)));
    return paragraphs(lines);
}

QString NoPhotosMessage::skippedFoldersText(const WalkReport &report)
{
    QStringList lines;
    for (const QString &part :
        { notAnsweringText(report), notFoundText(report), unreadableFoldersText(report),
            trashFoldersText(report), libraryText(report), notFetchedText(report), ownFolderText(report) }) {
        if (!part.isEmpty())
            lines.append(part);
    }
    return paragraphs(lines);
}

QString NoPhotosMessage::ownFolderText(const WalkReport &report)
{
    if (report.firstSilentOwnFolder.isEmpty())
        return {};
    return formatText(text("ID_OWN_FOLDER_NOT_ANSWERING"), OutsideText::name(report.firstSilentOwnFolder));
}

QString NoPhotosMessage::trashFoldersText(const WalkReport &report)
{
    if (report.trashFolders <= 0)
        return {};
    return withMoreInLog(
        formatText(text("ID_FOLDER_SKIPPED_AS_TRASH"), OutsideText::name(report.firstTrashFolder)),
        report.trashFolders - 1, "ID_ONE_MORE_FOLDER_SKIPPED_AS_TRASH", "ID_MORE_FOLDERS_SKIPPED_AS_TRASH");
}

QString NoPhotosMessage::unreadableFoldersText(const WalkReport &report)
{
    if (report.unreadableFolders <= 0)
        return {};
    return withMoreInLog(
        formatText(text("ID_FOLDER_COULD_NOT_BE_READ"), OutsideText::name(report.firstUnreadableFolder),
            OutsideText::reason(report.firstUnreadableReason)),
        report.unreadableFolders - 1, "ID_ONE_MORE_FOLDER_COULD_NOT_BE_READ",
        "ID_MORE_FOLDERS_COULD_NOT_BE_READ");
}

QString NoPhotosMessage::notFoundText(const WalkReport &report)
{
    if (report.notFoundFolders <= 0)
        return {};
    return withMoreInLog(formatText(text("ID_SAVED_FOLDER_NOT_FOUND"), report.firstNotFoundFolder),
        report.notFoundFolders - 1, "ID_ONE_MORE_SAVED_FOLDER_NOT_FOUND", "ID_MORE_SAVED_FOLDERS_NOT_FOUND");
}

QString NoPhotosMessage::notAnsweringText(const WalkReport &report)
{
    if (report.notAnsweringFolders <= 0)
        return {};
    return withMoreInLog(
        formatText(text("ID_ITEM_NOT_ANSWERING"), OutsideText::name(report.firstNotAnsweringFolder)),
        report.notAnsweringFolders - 1, "ID_ONE_MORE_ITEM_NOT_ANSWERING", "ID_MORE_ITEMS_NOT_ANSWERING");
}

QString NoPhotosMessage::withMoreInLog(const QString &first, qint64 more, const char *one, const char *many)
{
    // The rest are in the log; the user is told where it is.
    const QString log = AppFolders::logFilePath();
    if (more == 1)
        return paragraphs({ first, formatText(text(one), log) });
    if (more > 1)
        return paragraphs({ first, formatText(text(many), more, log) });
    return first;
}

QString NoPhotosMessage::paragraphs(const QStringList &parts)
{
    return parts.join(QStringLiteral("\n\n"));
}

QString NoPhotosMessage::libraryText(const WalkReport &report)
{
    QStringList lines;
    if (!report.unreadableLibrary.isEmpty())
        lines.append(LibraryReportText::unreadable(report));
    if (!report.libraryReadInPart.isEmpty())
        lines.append(LibraryReportText::readInPart(report));
    if (report.libraryFilesMissing > 0)
        lines.append(LibraryReportText::filesMissing(report));
    return lines.join(QLatin1Char('\n'));
}

QString NoPhotosMessage::notFetchedText(const WalkReport &report)
{
    if (report.notFetched <= 0)
        return {};
    return formatText(localizedCountText(report.notFetched, "ID_FILE_NOT_FETCHED", "ID_FILES_NOT_FETCHED"),
        report.notFetched, OutsideText::name(report.firstNotFetched),
        OutsideText::reason(report.firstNotFetchedReason), AppFolders::logFilePath());
}

QString NoPhotosMessage::periodText(const WalkReport &report)
{
    if (report.outsideScanPeriod <= 0)
        return {};
    return formatText(
        localizedCountText(report.outsideScanPeriod, "ID_FILE_OUTSIDE_SCAN_PERIOD", "ID_FILES_OUTSIDE_SCAN_PERIOD"),
        report.outsideScanPeriod);
}

QString NoPhotosMessage::skippedTitle(const WalkReport &report)
{
    if (report.unreadableFolders > 0 || report.trashFolders > 0 || report.notAnsweringFolders > 0
        || report.notFoundFolders > 0)
        return text("ID_SOME_FOLDERS_WERE_NOT_SCANNED");
    const bool libraryWhole = report.libraryReadInPart.isEmpty() && report.unreadableLibrary.isEmpty();
    // Only the program's own folder was passed over: every photo was scanned.
    if (libraryWhole && report.libraryFilesMissing <= 0 && report.notFetched <= 0
        && !report.firstSilentOwnFolder.isEmpty())
        return text("ID_OWN_FOLDER_NOT_ANSWERING_TITLE");
    return text(libraryWhole && report.notFetched > 0 ? "ID_SOME_FILES_WERE_NOT_COMPARED"
                                                      : "ID_SOME_PHOTOS_WERE_NOT_SCANNED");
}

QString NoPhotosMessage::messageText(const WalkReport &report)
{
    // Nothing may have been found because the library was never read: that is what the user
    // must hear, not that it holds no photos.
    return text(report.unreadableLibrary.isEmpty() ? "ID_NO_PHOTOS_DETECTED_AT_PATH"
                                                   : "ID_PHOTO_LIBRARY_COULD_NOT_BE_READ");
}

// Texts and layout of the summary after a removal run.
#include "results/AfterTrashSummary.h"

#include <algorithm>

#include "app/LocalizedString.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"
#include "results/ResultTexts.h"

using TypeSupport = GlobalObjects::TypeSupport;

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

AfterTrashSummary::Outcome AfterTrashSummary::outcome(const AfterTrashInput &input)
{
    // Whatever the language, a run that moved nothing never shows a summary counting 0.
    if (input.countTrashed <= 0)
        return Outcome::NothingMoved;
    return input.isPhotosLibrayMarkedForTrash ? Outcome::PhotosSummary : Outcome::TrashSummary;
}

QString AfterTrashSummary::recoveryText(const AfterTrashInput &input)
{
    switch (input.scanType) {
    case ScanSource::dropbox:
        return text("ID_DROPBOX_RESTORE_DELETED");
    case ScanSource::googleDrive:
        return text("ID_DRIVE_RESTORE_FROM_TRASH");
    case ScanSource::thisComputer:
        break;
    }
    // Files of this computer went to the desktop's Trash; library items were only listed.
    if (input.listedInAlbum > 0 && input.listedInAlbum >= input.countTrashed)
        return formatText(text("ID_LIBRARY_NOTHING_DELETED"), OutsideText::name(input.albumFile));
    return text(input.isPhotosLibAdded ? "ID_IN_CASE_MISTAKE_RESTORE_FROM_TRASH_LIBRARY_KEPT"
                                       : "ID_IN_CASE_MISTAKE_RESTORE_FROM_TRASH");
}

QString AfterTrashSummary::spaceToRecoverText(const AfterTrashInput &input)
{
    if (input.countTrashed <= input.listedInAlbum)
        return QString();
    return formatText(text("ID_SPACE_TO_RECOVER"), ResultTexts::sizeText(input.sizeTrashed));
}

QString AfterTrashSummary::movedCountText(const AfterTrashInput &input)
{
    QStringList lines;
    if (input.listedInAlbum > 0)
        lines.append(formatText(localizedCountText(input.listedInAlbum, "ID_ITEM_LISTED_IN_ALBUM_FILE",
                                    "ID_ITEMS_LISTED_IN_ALBUM_FILE"),
            input.listedInAlbum));
    const int moved = input.countTrashed - input.listedInAlbum;
    if (moved <= 0)
        return lines.join(QLatin1Char('\n'));
    const bool several = moved >= 2;
    const char *key = "ID_PHOTOS_VIDEOS_MOVED";
    if (input.deletedFileTypes == TypeSupport::ONLYIMAGES)
        key = several ? "ID_PHOTOS_MOVED" : "ID_PHOTO_MOVED";
    else if (input.deletedFileTypes == TypeSupport::ONLYVIDEO)
        key = several ? "ID_VIDEOS_MOVED" : "ID_VIDEO_MOVED";
    lines.append(formatText(text(key), moved));
    return lines.join(QLatin1Char('\n'));
}

TrashSummaryTexts AfterTrashSummary::trashSummaryTexts(const AfterTrashInput &input)
{
    const int n = input.countTrashed;
    const bool several = n >= 2;
    const char *countKey = "ID_DUPLICATE_PHOTOS_VIDEOS_CLEANED_COUNT";
    if (input.deletedFileTypes == TypeSupport::ONLYVIDEO)
        countKey = several ? "ID_DUPLICATE_VIDEOS_CLEANED_COUNT" : "ID_DUPLICATE_VIDEO_CLEANED_COUNT";
    else if (input.deletedFileTypes == TypeSupport::ONLYIMAGES)
        countKey = several ? "ID_DUPLICATE_PHOTOS_CLEANED_COUNT" : "ID_DUPLICATE_PHOTO_CLEANED_COUNT";
    TrashSummaryTexts t;
    t.totalDupsCleaned = formatText(text(countKey), n);
    t.duplicatesRemoved = text(several ? "ID_DUPLICATES_REMOVED" : "ID_DUPLICATE_REMOVED");
    // Each source says where the files went; only the desktop's Trash frees space when emptied.
    switch (input.scanType) {
    case ScanSource::dropbox:
        t.deletionSuccess = text(several ? "ID_SELECTED_DUPLICATE_FILES_DELETED_FROM_DROPBOX"
                                         : "ID_SELECTED_DUPLICATE_FILE_DELETED_FROM_DROPBOX");
        t.sizeCaption = text("ID_DELETED_FROM_DROPBOX");
        break;
    case ScanSource::googleDrive:
        t.deletionSuccess = text(several ? "ID_SELECTED_DUPLICATE_FILES_MOVED_TO_DRIVE_TRASH"
                                         : "ID_SELECTED_DUPLICATE_FILE_MOVED_TO_DRIVE_TRASH");
        t.sizeCaption = text("ID_MOVED_TO_DRIVE_TRASH");
        break;
    case ScanSource::thisComputer:
        t.deletionSuccess
            = text(several ? "ID_SELECTED_DUPLICATE_FILES_DELETED" : "ID_SELECTED_DUPLICATE_FILE_DELETED")
            + QLatin1Char(' ') + text("ID_DELETE_SUCCESS_MSG");
        t.sizeCaption = text("ID_SPACE_REMOVED");
        break;
    }
    t.trashCount = QString::number(n);
    t.trashedSize = ResultTexts::sizeText(input.sizeTrashed);
    t.uniqueRetained = QString::number(input.uniquePhotosReatined);
    return t;
}

QString AfterTrashSummary::nothingMovedMessage(const AfterTrashInput &input)
{
    if (!input.stopped)
        return text("ID_NOTHING_WAS_MOVED");
    return text(input.underWay.empty() ? "ID_NOTHING_WAS_MOVED_STOPPED" : "ID_NOTHING_MOVED_YET_STOPPED");
}

QStringList AfterTrashSummary::nothingMovedLines(const AfterTrashInput &input)
{
    // Files on disk left in place without a reason told: the usual cause is a missing permission.
    // A stop is reason enough.
    QStringList lines;
    if (!input.isPhotosLibrayMarkedForTrash && !input.stopped && input.skippedGroups == 0
        && input.skippedInTrash == 0 && input.leftInPlace.empty())
        lines.append(text("ID_YOU_HAVE_NO_PERMISSION_CLEAN_SOME_FILES"));
    return lines + undoneLines(input);
}

QStringList AfterTrashSummary::undoneLines(const AfterTrashInput &input)
{
    QStringList lines;
    if (input.skippedGroups > 0)
        lines.append(
            formatText(localizedCountText(input.skippedGroups, "ID_GROUP_SKIPPED_NO_COPY_WOULD_REMAIN",
                           "ID_GROUPS_SKIPPED_NO_COPY_WOULD_REMAIN"),
                input.skippedGroups));
    if (input.skippedInTrash > 0)
        lines.append(
            formatText(localizedCountText(input.skippedInTrash, "ID_GROUP_SKIPPED_ONLY_COPY_IN_TRASH",
                           "ID_GROUPS_SKIPPED_ONLY_COPY_IN_TRASH"),
                input.skippedInTrash));
    if (input.failedFiles > 0)
        lines.append(formatText(localizedCountText(input.failedFiles, "ID_FILE_COULD_NOT_BE_REMOVED",
                                    "ID_FILES_COULD_NOT_BE_REMOVED"),
            input.failedFiles));
    // A run that moved nothing says it was stopped in its message already, unless a move may still
    // end: the message then tells that one.
    if (input.stopped && input.notReached > 0 && (input.countTrashed > 0 || !input.underWay.empty()))
        lines.append(formatText(localizedCountText(input.notReached, "ID_FILE_LEFT_IN_PLACE_STOPPED",
                                    "ID_FILES_LEFT_IN_PLACE_STOPPED"),
            input.notReached));
    return lines;
}

LeftInPlaceList AfterTrashSummary::leftInPlace(const AfterTrashInput &input)
{
    LeftInPlaceList list;
    // What may still happen comes before what did not.
    std::vector<std::pair<QString, QString>> files = input.underWay;
    files.insert(files.end(), input.leftInPlace.begin(), input.leftInPlace.end());
    for (const auto &[path, why] : files) {
        const QString words = why.isEmpty() ? text("ID_NOT_MOVED_NO_REASON_GIVEN") : OutsideText::reason(why);
        auto same = std::find_if(
            list.reasons.begin(), list.reasons.end(), [&](const auto &told) { return told.why == words; });
        if (same == list.reasons.end())
            same = list.reasons.insert(list.reasons.end(), { words, {} });
        same->paths.append(OutsideText::name(path));
    }
    return list;
}

QString AfterTrashSummary::step2Text()
{
    return text("ID_LIBRARY_AFTER_STEP2_FIND_ITEMS");
}

QString AfterTrashSummary::step3Text()
{
    return text("ID_LIBRARY_AFTER_STEP3_DELETE_THERE");
}

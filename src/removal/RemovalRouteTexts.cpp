#include "removal/RemovalRouteTexts.h"

#include <QSet>
#include <QStringList>

#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/TextFormat.h"
#include "results/ResultState.h"
#include "results/ResultTexts.h"

namespace
{

using Kind = RemovalRoutes::Kind;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

RemovalRouteTexts::Share share(const RemovalRouteTexts::Shares &shares, Kind kind)
{
    return shares[size_t(kind)];
}

} // namespace

RemovalRouteTexts::Shares RemovalRouteTexts::markedShares(const ResultState &state)
{
    Shares shares;
    QSet<const ImageFileInfo *> seen;
    for (const auto &group : state.arrGroups) {
        for (const auto &record : group->filterChildren) {
            if (!record->isMark || record->isLocked || record->isTrashed || seen.contains(record.get()))
                continue;
            seen.insert(record.get());
            Share &s = shares[size_t(RemovalRoutes::kindFor(state.scanSource, *record))];
            ++s.count;
            s.size += record->fileSize;
        }
    }
    return shares;
}

bool RemovalRouteTexts::onlyRoute(const Shares &shares, Kind kind)
{
    for (size_t i = 0; i < shares.size(); ++i) {
        if ((shares[i].count > 0) != (i == size_t(kind)))
            return false;
    }
    return true;
}

bool RemovalRouteTexts::isMixed(const Shares &shares)
{
    return share(shares, Kind::LibraryAlbum).count > 0 && !onlyRoute(shares, Kind::LibraryAlbum);
}

QString RemovalRouteTexts::question(const Shares &shares, const QString &albumName)
{
    // Count and size of a route in its own words; the library's has no size, since nothing is freed.
    const auto sized = [&shares](Kind kind, const char *one, const char *many) {
        const Share s = share(shares, kind);
        return s.count == 0
            ? QString()
            : formatText(localizedCountText(s.count, one, many), s.count, ResultTexts::sizeText(s.size));
    };
    // Beside library items, the files that go to the Trash are told apart as this computer's.
    const bool mixed = isMixed(shares);
    QStringList sentences { mixed ? sized(Kind::ThisComputer, "ID_DELETE_MARKED_COMPUTER_FILE_WARNING",
                                        "ID_DELETE_MARKED_COMPUTER_FILES_WARNING")
                                  : sized(Kind::ThisComputer, "ID_DELETE_MARKED_PHOTO_WARNING_ONE",
                                        "ID_DELETE_MARKED_PHOTO_WARNING"),
        sized(Kind::Dropbox, "ID_DELETE_MARKED_FROM_DROPBOX_ONE", "ID_DELETE_MARKED_FROM_DROPBOX"),
        sized(Kind::GoogleDrive, "ID_MOVE_MARKED_TO_DRIVE_TRASH_ONE", "ID_MOVE_MARKED_TO_DRIVE_TRASH") };
    if (const int listed = share(shares, Kind::LibraryAlbum).count; listed > 0)
        sentences.append(formatText(localizedCountText(listed, "ID_LIST_MARKED_ITEM_IN_ALBUM_FILE",
                                        "ID_LIST_MARKED_ITEMS_IN_ALBUM_FILE"),
            listed, albumName));
    sentences.removeAll(QString());
    return sentences.join(QLatin1Char(' '));
}

QString RemovalRouteTexts::reviewNote(const Shares &shares, const QString &albumFile)
{
    if (onlyRoute(shares, Kind::ThisComputer))
        return text("ID_REVIEW_PHOTOS_BEFORE_TRASH_WARNING");
    // What becomes of the files of each other route, then the request to look first.
    QStringList lines;
    if (const int listed = share(shares, Kind::LibraryAlbum).count; listed > 0)
        lines.append(formatText(isMixed(shares) ? localizedCountText(listed,
                                                      "ID_LIBRARY_ITEM_ONLY_LISTED_AMONG_FILES",
                                                      "ID_LIBRARY_ITEMS_ONLY_LISTED_AMONG_FILES")
                                                : text("ID_LIBRARY_ITEMS_ONLY_LISTED"),
            albumFile));
    if (share(shares, Kind::Dropbox).count > 0)
        lines.append(text("ID_DROPBOX_KEEPS_DELETED_FILES"));
    if (share(shares, Kind::GoogleDrive).count > 0)
        lines.append(text("ID_DRIVE_TRASH_KEPT_30_DAYS"));
    lines.append(text("ID_REVIEW_MARKED_FILES_FIRST"));
    return lines.join(QLatin1Char(' '));
}

QString RemovalRouteTexts::proceedTitle(const Shares &shares)
{
    if (onlyRoute(shares, Kind::LibraryAlbum))
        return text("ID_LIST_IN_ALBUM");
    if (onlyRoute(shares, Kind::Dropbox))
        return text("ID_DELETE_FROM_DROPBOX");
    if (onlyRoute(shares, Kind::GoogleDrive))
        return text("ID_MOVE_TO_DRIVE_TRASH");
    // Files of this computer, alone or with library items.
    return text(share(shares, Kind::LibraryAlbum).count > 0 ? "ID_CONTINUE" : "ID_TRASH_PHOTOS");
}

QString RemovalRouteTexts::progressTitle(const Shares &shares, const QString &albumName)
{
    if (onlyRoute(shares, Kind::LibraryAlbum))
        return formatText(text("ID_LISTING_ITEMS_IN_ALBUM_FILE"), albumName);
    if (onlyRoute(shares, Kind::Dropbox))
        return text("ID_DELETING_FROM_DROPBOX");
    if (onlyRoute(shares, Kind::GoogleDrive))
        return text("ID_MOVING_TO_DRIVE_TRASH");
    return text("ID_MOVING_PHOTOS_TO_TRASH");
}

QString RemovalRouteTexts::progressCount(const Shares &shares, int done, std::uint64_t size)
{
    if (share(shares, Kind::ThisComputer).count == 0)
        return formatText(text("ID_MARKED_FILES_DONE"), done);
    return formatText(
        text(done < 2 ? "ID_PHOTO_MOVED_AND_PHOTOS_CAN_BE_SAVED" : "ID_PHOTOS_CLEANED_AND_TO_BE_SAVED"), done,
        ResultTexts::sizeText(size));
}

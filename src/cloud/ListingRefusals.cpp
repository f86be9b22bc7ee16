#include "cloud/ListingRefusals.h"

#include "app/LocalizedString.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

QString ListingRefusals::dropbox()
{
    return text("ID_DROPBOX");
}

QString ListingRefusals::drive()
{
    return text("ID_GOOGLE_DRIVE");
}

QString ListingRefusals::notSignedIn(const QString &provider)
{
    return formatText(text("ID_LISTING_NOT_SIGNED_IN"), provider);
}

QString ListingRefusals::repeatsAPage(const QString &provider)
{
    return formatText(text("ID_LISTING_REPEATS_A_PAGE"), provider);
}

QString ListingRefusals::tooManyPages(const QString &provider, qint64 pages)
{
    return formatText(text("ID_LISTING_TOO_MANY_PAGES"), provider, pages);
}

QString ListingRefusals::tooManyEntries(const QString &provider, qint64 entries)
{
    return formatText(text("ID_LISTING_TOO_MANY_ENTRIES"), provider, entries);
}

QString ListingRefusals::noNewEntries(const QString &provider, qint64 pages)
{
    return formatText(text("ID_LISTING_NO_NEW_ENTRIES"), provider, pages);
}

QString ListingRefusals::tooLargeToHold(const QString &provider, qint64 megabytes)
{
    return formatText(text("ID_LISTING_TOO_LARGE_TO_HOLD"), provider, megabytes);
}

QString ListingRefusals::folderFailed(const QString &folder, const QString &reason)
{
    return formatText(
        text("ID_LISTING_OF_FOLDER_FAILED"), OutsideText::name(folder), OutsideText::reason(reason));
}

QString ListingRefusals::notAFileList()
{
    return text("ID_LISTING_ANSWER_NOT_A_FILE_LIST");
}

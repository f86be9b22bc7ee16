// Why a cloud listing was given up, in the words the scan's alert shows the user. `provider` is
// the provider's display name ("Dropbox", "Google Drive").
#pragma once

#include <QString>

class ListingRefusals
{
public:
    // The providers' display names.
    static QString dropbox();
    static QString drive();
    static QString notSignedIn(const QString &provider);
    static QString repeatsAPage(const QString &provider);
    static QString tooManyPages(const QString &provider, qint64 pages);
    static QString tooManyEntries(const QString &provider, qint64 entries);
    static QString noNewEntries(const QString &provider, qint64 pages);
    static QString tooLargeToHold(const QString &provider, qint64 megabytes);
    // `reason` is the server's or the network's own words, or notAFileList().
    static QString folderFailed(const QString &folder, const QString &reason);
    static QString notAFileList();
};

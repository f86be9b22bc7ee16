// The Widgets-free steps of the application's start-up: private folders and the note on those
// refused, log banner, one-time settings migrations, removal of an older cache file, the
// first-launch marker, menu titles and the support address.
#pragma once

#include <optional>

#include <QString>
#include <QUrl>

#include "platform/OwnFoldersCheck.h"

class UserDefaults;

// Titles of the main menu's items, already localised and formatted.
struct MenuTitles {
    QString about;
    QString preferences;
    QString checkForUpdate;
    QString quit;
    QString help;
    QString helpHeader;
    QString unInstall;
};

// The alert that names the folders nothing is written in, and what is not saved because of it.
struct RefusedFoldersNote {
    QString message;
    QString details;
};

class AppStartup
{
public:
    // The banner, the product name on standard output and the start line with the date and time.
    static void writeStartBanner();
    static QString bannerText();

    // Takes group and other access off the program's own folders and everything in them, and off
    // the home Trash's folders (not the items in them): releases before made them with whatever the
    // umask allowed.
    static void narrowPrivateFolders();

    // Once per user account: stores the full built-in image-type list under "allowedExtensions"
    // unless "rawFilesExtensionAdded" already holds a Boolean true. True when the rewrite ran.
    static bool applyImageTypeMigration(UserDefaults &defaults);

    // Removes "<cacheFolder>/Qny.db" left behind by an older release. True when a file was removed.
    static bool removeOldCacheDatabase(const QString &cacheFolder);

    // Reads "isFirstLaunchDone" (absent reads as false), then stores true. Answers the value read,
    // so the caller knows whether the updater may start on this launch.
    static bool takeFirstLaunchDone(UserDefaults &defaults);

    static MenuTitles menuTitles(const QString &appName);

    // The note for `refused` folders; nothing when there are none.
    static std::optional<RefusedFoldersNote> refusedFoldersNote(
        const std::vector<OwnFoldersCheck::Refusal> &refused);

    // The product's support page with the language code as query.
    static QUrl supportPageUrl(const QString &languageCode);

    // The URL carried by a URL event's text; nothing for an empty text or an invalid URL.
    static std::optional<QUrl> redirectUrl(const QString &text);
};

// Where Quennary keeps its files on this machine (XDG base directories), in one place.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/OwnFolder.h"

class AppFolders
{
public:
    // Support folder: cache databases, "thumbnails", downloaded parameter files.
    static QString supportFolder();
    // Copies of photo-library databases.
    static QString cachesFolder();
    // Folder of the log file.
    static QString logsFolder();
    static QString logFilePath();
    // Folder and file of the settings property list.
    static QString settingsFolder();
    static QString settingsFilePath();
    // Downloaded cloud images.
    static QString thumbnailsFolder();
    // Every folder above that holds the program's own files, the support folder first.
    static QStringList ownFolders();
    // The program's own folder that `path` is or lies in; empty when it is none of them.
    static QString ownFolderHolding(const QString &path);
    // The same folders where they lie by default for the user whose home is `home`, whatever the
    // environment or the root override say.
    static QStringList defaultOwnFolders(const QString &home);
    // Where the single-instance socket lives: $XDG_RUNTIME_DIR when it is this user's private
    // folder, else the caches folder. Below the root override when one is set.
    static QString runtimeFolder();
    // Where a package's installer leaves its settings files (urlSettingsAI.plist, url_info.plist,
    // paramSettings.plist): the package's data folder, resourcesFolder(). Below the root override
    // when one is set.
    static QString installerSettingsFolder();
    // The user's home folder (never built by hand from the user name).
    static QString homeFolder();

    // The program's own read-only files (string tables, cache templates, artwork): "share/quennary"
    // beside the program's "bin" folder when installed, or the copy the build puts in the build
    // tree. Empty (and reported once on standard error) when neither holds the English string table.
    static QString resourcesFolder();
    // `relativePath` inside resourcesFolder(), e.g. "strings/QNY_en.plist".
    static QString resourcePath(const QString &relativePath);
    // The lookup behind resourcesFolder() for a program in `programFolder`; tests lay out both.
    static QString resourcesFolderFor(const QString &programFolder);

    // Points every folder above below `root` (data/, cache/, state/, config/, home/); tests and the
    // headless scan runner use it. An empty root returns to the XDG folders.
    static void setRootOverride(const QString &root);
    static QString rootOverride();

    // The folder an XDG variable names (an absolute path only, as the XDG rules say), else
    // `fallbackBelowHome` below the home folder; cleaned either way. No root override applies.
    static QString xdgFolder(const char *variable, const QString &fallbackBelowHome);

    // Creates `path` with its parents, each new one private to the user (0700); true when it
    // exists afterwards. A folder of the program's own (or one in it) must also be this user's
    // alone, from the own folder down, in a folder nobody else may change; otherwise it is said
    // on standard error and false returned, so nothing is written there.
    static bool ensureFolder(const QString &path);
    // The folder `path`, made as ensureFolder() makes it, opened as it checks it: one of the
    // program's own (or one in it) from the folder holding the own folder down, one step at a time;
    // any other when nobody else may change it. Invalid when refused.
    static OwnFolder openFolder(const QString &path);
    // Removes the absolute, normalised `path` (a file, a link or a folder with all it holds) from the descriptor
    // of its folder as openFolder() opens it, never through a link: nothing at all when that folder
    // is refused. True when nothing is left under the name; a missing folder is not made.
    static bool removeEntry(const QString &path);
};

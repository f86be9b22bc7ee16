// The rules of the scan list that need no window: what a dropped, chosen or restored path becomes,
// which items the open panel enables, and the key a listed path is known by. Paths are compared
// exactly after canonicalisation, as the file systems here are case-sensitive.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "app/GlobalObjects.h"

class QFileInfo;

class ScanListRules
{
public:
    // Absent: a saved entry that cannot be found now (classifyRestored only).
    enum class Kind { File, Folder, PhotosLibrary, LibraryError, Skip, Absent };

    // The absolute path with links resolved; the cleaned absolute path when it does not exist.
    static QString canonicalPath(const QString &path);
    // The cleaned absolute path, as written: nothing is looked at.
    static QString cleanPath(const QString &path);
    // How an add offers its paths: a drop, or the open panel of Add Photos, Add Folder or Add
    // Photos Library.
    enum class Offer { Drop, Photos, Folder, Library };

    // What a saved entry is taken for before it has been looked at, by its name alone.
    static GlobalObjects::NodeType typeByName(const QString &path);
    // The same for a path an add offers, shown so until its look answers.
    static GlobalObjects::NodeType typeOffered(
        Offer offer, const QString &path, const QStringList &allowedExtensions);
    // The key of `path` in the controller's dictPathAdded.
    static QString pathKey(const QString &path) { return canonicalPath(path); }

    // What a looked-at path leads to: a folder or not, and whether this user may read it.
    struct Item {
        bool folder = false;
        bool readable = false;
    };

    // What a look at an offered path found: whether it lies in a Trash, the item it leads to (nothing
    // when it cannot be found), and, for a readable folder offered as a library, whether it holds a
    // library's database.
    struct Looked {
        bool insideTrash = false;
        std::optional<Item> item;
        bool hasDatabase = false;
    };
    // Whether the look at `path` opens it for a library's database.
    static bool wantsDatabase(Offer offer, const QString &path, const std::optional<Item> &item);
    // A path an add offered, by what its look found.
    // A drop: a folder, a Photos library (a package so named that holds a database; without one, or
    // any other package, a LibraryError), or a file whose extension is enabled; items in a Trash
    // and unreadable items are skipped.
    // Add Photos: a file whatever its type (the panel offered the enabled ones). Add Folder: a
    // folder, or a file with an enabled extension. Both skip what cannot be found; the Trash is
    // told by the first chosen path alone (the controller).
    // Add Photos Library: a readable folder outside any Trash, a library when it holds a database
    // and a LibraryError otherwise; anything else is skipped.
    static Kind classifyOffered(
        Offer offer, const QString &path, const Looked &looked, const QStringList &allowedExtensions);
    // A path of the saved list, by what a look found: whether it lies in a Trash, the item it leads
    // to (nothing when it cannot be found) and, for one not found, whether the folder it would lie in
    // is there. As a drop, except that every file is taken whatever its extension and an entry that
    // cannot be read now is kept as what it is.
    static Kind classifyRestored(
        const QString &path, bool insideTrash, const std::optional<Item> &item, bool folderHere = false);
    // True when the name of `path` is that of a photo or a video, by its extension alone.
    static bool hasPictureName(const QString &path);

    // The kind of entry a path of `kind` is listed as; nothing for one that is not listed.
    static std::optional<GlobalObjects::NodeType> entryType(Kind kind);

    // The open panel's per-item rule for the kind of entry being added, read from the panel's look
    // at the entry without looking at the disk again.
    static bool isPathEnabledInOpenPanel(
        GlobalObjects::NodeType nodeType, const QFileInfo &entry, const QStringList &allowedExtensions);

    static bool isPhotosLibraryPackage(const QString &path);
    static bool hasEnabledExtension(const QString &path, const QStringList &allowedExtensions);
};

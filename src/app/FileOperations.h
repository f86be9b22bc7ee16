// General file-system helpers: size texts with caller-supplied unit names, listings, folder sizes,
// file dates, deletion (plain, through rm, with administrator rights), login items and the
// support folder. Sizes and exit statuses are always the real ones.
#pragma once

#include <optional>

#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class PrivilegedRunner;

class FileOperations
{
public:
    // Steps of 1024 while the value is strictly above 1024, up to "TB"; `unitNames` maps "bytes",
    // "KB", "MB", "GB", "TB" to the texts shown.
    static QString convertBytesToApplicableUnit(const QVariantMap &unitNames, const QVariant &sizeInBytes);
    // "%llu" of the item's size ("0" when it cannot be read).
    static QString getFileSize(const QString &path);
    // Modification date and time in the locale's short formats.
    static std::optional<QString> getFileLastModifiedDateTime(const QString &path);
    // "aDate" (last access, whole seconds), "cDate" (creation), "mDate" (modification).
    static QVariantMap getItemAMCDates(const QString &path);

    static bool deleteFile(const QString &path, QString *error);
    // Deletes every regular file below `folder` (folders stay). With `error` it stops at the first
    // failure; without, it goes on and reports false at the end when anything failed.
    static bool deleteDirectoryContents(const QString &folder, QString *error);

    // Full paths of all regular files below `folder`, at any depth.
    static QStringList getFilesListInDirectory(const QString &folder);
    // Full paths of the folders below `folder` whose extension is `extension` (ignoring case); a
    // matched folder is not entered.
    static QStringList getFilesListInDirectory(const QString &folder, const QString &extension);
    // Names of the direct entries of `folder` when it ends in "/"; none otherwise.
    static QStringList getFilesFoldersListInDirectory(const QString &folder);
    // "%f" of the summed file sizes below `folder`.
    static QString getDirectorySize(const QString &folder);
    // "%llu" of the summed file sizes below `folder`; "0" when it cannot be read.
    static QString fastFolderSize(const QString &folder);
    static quint64 folderSizeInBytes(const QString &folder);
    static QString getSizeOfFileOrFolder(const QString &path);
    static QString folderSizeUnix(const QString &path);

    // Entries with the extension "app" (ignoring case) in `folder` and its subfolders (a matched
    // entry is not entered); with `levels`, a subfolder is entered only when its path has at most
    // that many "/"-separated components. Nothing when `folder` cannot be read.
    static std::optional<QStringList> getAppListFromPath(
        const QString &folder, std::optional<int> levels = {});
    // Display name of the locale named by the last path component without its extension.
    static QString getLanguageNodeName(const QString &path);

    // Removes `path` with all it holds from the descriptor of its folder (AppFolders::removeEntry),
    // never through a link; true when nothing is left there. Paths RemoveItem refuses (relative,
    // unnormalised, system roots, the home folder and above) are refused here too.
    static bool deleteItemFromTerminalCommand(const QString &path);
    // Removes with administrator rights (one run of the privileged helper through pkexec), asking
    // once for a list; nothing runs when any path is one RemoveItem refuses.
    static bool removeFileWithElevatedPrivilegesFromLocation(const QString &path);
    static bool removeFilesWithElevatedPrivilegesFromLocations(const QStringList &paths);
    // Tests replace the runner; nullptr restores the real one.
    static void setPrivilegedRunner(PrivilegedRunner *runner);

    // Login items are the desktop's autostart entries ($XDG_CONFIG_HOME/autostart).
    static bool addApplicationAsLoginItem(const QString &applicationPath);
    static bool deleteApplicationFromLoginItem(const QString &applicationPath);
    static QStringList getApplicationsListFromLoginItem();

    // The first standard folder of `kind` with `component` appended, created with its parents.
    static std::optional<QString> findOrCreateDirectory(
        QStandardPaths::StandardLocation kind, const QString &component, QString *error);
    // The application's support folder, created when missing.
    static std::optional<QString> applicationSupportDirectory();
};

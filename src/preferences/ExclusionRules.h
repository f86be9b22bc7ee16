// Which chosen folders the Exclusions pane takes, and what it tells the user about the others.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class ExclusionRules
{
public:
    // The alert after adding: message and informative text keys, "" for none.
    struct AlertKeys {
        QString messageKey;
        QString informativeKey;
        bool operator==(const AlertKeys &) const = default;
    };

    struct AddResult {
        // The list to store: the current one plus every accepted folder, in the panel's order.
        QStringList exclusions;
        bool inScanList = false;
        bool alreadyExcluded = false;
    };

    // True when `folder` is a scan-list path or contains one, comparing whole path components
    // after resolving links (a sibling whose name merely starts alike is not inside).
    static bool isPathInScanList(const QString &folder, const QStringList &scanListPaths);
    // The same path text is listed already (exact, case-sensitive).
    static bool isAlreadyExcluded(const QString &folder, const QStringList &exclusions);
    // The home Trash or a volume's trash folder, or a folder inside one.
    static bool isTrashFolder(const QString &folder);
    static bool containsTrashFolder(const QStringList &folders);

    // Adds each chosen folder that is neither on the scan list nor listed already.
    static AddResult addFolders(
        const QStringList &chosen, const QStringList &exclusions, const QStringList &scanListPaths);
    // The one alert for the combined results, none when every folder was taken.
    static std::optional<AlertKeys> alertFor(bool inScanList, bool alreadyExcluded);
};

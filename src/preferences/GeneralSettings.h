// What the General pane's buttons do: put every scan and interface setting back to its built-in
// value and tell the windows, and delete the cache database of one scan source.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QVariant>

#include "app/GlobalObjects.h"

class UserDefaults;

struct ClearCacheReport {
    bool cleared = false;
    QString message;
    QString informative;
};

class GeneralSettings
{
public:
    // Posted once after a reset, without payload; observers reread what they show.
    static inline const QString kPreferencesResetToDefaults = QStringLiteral("PreferencesResetToDefaults");

    // The keys a reset writes, in the order it writes them, with their values and exact types.
    static std::vector<std::pair<QString, QVariant>> resetValues();
    // Writes resetValues() (every other key, the saved scan list among them, stays) and posts
    // kPreferencesResetToDefaults.
    static void resetDefaults(UserDefaults &defaults);
    // Deletes the cache database of `scanSource` with its journals. A missing file is no error; the
    // other sources' files stay. The bytes removed, or none when a file stayed.
    static std::optional<qint64> clearCache(ScanSource scanSource);
    // What the pane tells the user after clearCache() gave `removed`.
    static ClearCacheReport clearCacheReport(ScanSource scanSource, const std::optional<qint64> &removed);

private:
    static QString cachePath(ScanSource scanSource);
};

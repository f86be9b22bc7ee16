// The registered defaults of every settings key and the built-in lists that are the defaults of
// the list-valued keys (auto-mark rules, image types, video types, excluded folders). Each call
// builds a new list, with display names in the language active at that moment.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class SettingsDefaults
{
public:
    // Registers the defaults of every key in UserDefaults::standard(); stores nothing.
    static void registerDefaultSettings();
    // The dictionary registerDefaultSettings() registers.
    static QVariantMap defaultSettings();

    static QVariantMap makeAutoMarkRule(const QString &nameKey, const QString &descriptionKey, bool enabled,
                                        const QString &ruleKey);
    static QVariantList defaultAutoMarkRules();

    static QVariantMap makeFileTypeEntry(const QString &displayName, const QStringList &extensions, bool isRaw);
    static QVariantList defaultImageTypes();
    static QVariantList defaultVideoTypes();

    // Folders never scanned: system folders and the per-user folders that hold application data,
    // the Trash and synchronised cloud copies.
    static QStringList defaultExcludedFolders();
};

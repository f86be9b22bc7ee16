// Lookup of user-visible texts by "ID_" key in the string table of the interface language.
#pragma once

#include <initializer_list>

#include <QString>
#include <QStringList>

// The text for `key` with its placeholders turned into "%d" / "%@"; "" when the table has no text.
QString localizedString(const QString &key);
// The text of `one` when `count` is 1, else that of `many`: counts read "1 file", "2 files".
QString localizedCountText(qint64 count, const char *one, const char *many);

class Localization
{
public:
    // Chooses the language and loads its table; a no-op once a table with keys is loaded.
    static void loadLocalizationDictionary();
    static QString currentLanguageCode();
    static bool isEnglishLanguage();
    // True when `language` is one of the language codes given; the layouts pick their
    // per-language corrections with it.
    static bool isOneOf(const QString &language, std::initializer_list<const char *> codes);

    // Tests: the preferred-language list to use instead of the system's, the folder that holds
    // the QNY_<code>.plist tables instead of the compiled-in resources, and a reset so the next
    // lookup loads again.
    static void setPreferredLanguagesOverride(const QStringList &languages);
    static void setTableFolderOverride(const QString &folder);
    static void reset();
    // How many times a table file was read (tests check that lookups do not re-read it).
    static int tableLoadCount();
};

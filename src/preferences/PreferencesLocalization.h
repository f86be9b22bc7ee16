// The preferences window's own translations of the word "Preferences", chosen by the system's
// preferred languages rather than by the application's interface language, so a single-pane window
// is titled in the user's language even where the application has no string table.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class PreferencesLocalization
{
public:
    enum class Identifier { preferences, preferencesEllipsized };

    // The text in the first preferred language of the system.
    static QString localized(Identifier identifier);
    // The text for the first entry of `preferredLanguages` that names a language; the system
    // locale when none does; English when the language has no row.
    static QString localized(Identifier identifier, const QStringList &preferredLanguages);

    // The table: language key -> text, 39 keys for each identifier.
    static const QHash<QString, QString> &table(Identifier identifier);
};

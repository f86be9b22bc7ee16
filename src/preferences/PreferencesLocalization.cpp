#include "preferences/PreferencesLocalization.h"

#include <optional>

#include <QLocale>
#include <QRegularExpression>

namespace
{

struct Row {
    const char *key;
    const char *word;
};

// Regional rows repeat their language's row; a lookup only ever reaches the bare language code
// and the three Chinese keys, but the table keeps every row so it reads as one complete list.
constexpr Row kRows[] = {
    { "ar", "التفضيلات" },
    { "ca", "Preferències" },
    { "cs", "Předvolby" },
    { "da", "Indstillinger" },
    { "de", "Einstellungen" },
    { "el", "Προτιμήσεις" },
    { "en", "Preferences" },
    { "en-AU", "Preferences" },
    { "en-GB", "Preferences" },
    { "es", "Preferencias" },
    { "es-419", "Preferencias" },
    { "fi", "Asetukset" },
    { "fr", "Préférences" },
    { "fr-CA", "Préférences" },
    { "he", "העדפות" },
    { "hi", "प्राथमिकताएँ" },
    { "hr", "Postavke" },
    { "hu", "Beállítások" },
    { "id", "Preferensi" },
    { "it", "Preferenze" },
    { "ja", "環境設定" },
    { "ko", "환경설정" },
    { "ms", "Keutamaan" },
    { "nl", "Voorkeuren" },
    { "no", "Innstillinger" },
    { "pl", "Preferencje" },
    { "pt", "Preferências" },
    { "pt-PT", "Preferências" },
    { "ro", "Preferințe" },
    { "ru", "Настройки" },
    { "sk", "Nastavenia" },
    { "sv", "Inställningar" },
    { "th", "การตั้งค่า" },
    { "tr", "Tercihler" },
    { "uk", "Параметри" },
    { "vi", "Tùy chọn" },
    { "zh-CN", "偏好设置" },
    { "zh-HK", "偏好設定" },
    { "zh-TW", "偏好設定" },
};

// Korean writes three full stops and traditional Chinese the midline ellipsis; everyone else U+2026.
QString ellipsized(const QString &key, const QString &word)
{
    if (key == QLatin1String("ko"))
        return word + QStringLiteral("...");
    if (key == QLatin1String("zh-HK") || key == QLatin1String("zh-TW"))
        return word + QChar(0x22EF);
    return word + QChar(0x2026);
}

struct Tables {
    QHash<QString, QString> words;
    QHash<QString, QString> ellipsizedWords;
};

const Tables &tables()
{
    static const Tables built = [] {
        Tables t;
        for (const Row &row : kRows) {
            const QString key = QString::fromLatin1(row.key);
            const QString word = QString::fromUtf8(row.word);
            t.words.insert(key, word);
            t.ellipsizedWords.insert(key, ellipsized(key, word));
        }
        return t;
    }();
    return built;
}

struct LanguageTag {
    QString language;
    QString region;
};

// The language and region subtags of a BCP 47 or POSIX locale name ("zh-Hant-TW", "pt_PT.UTF-8").
// A script subtag is no region, so "zh-Hant" has none.
std::optional<LanguageTag> parseTag(const QString &identifier)
{
    static const QRegularExpression kSeparators(QStringLiteral("[-_]"));
    static const QRegularExpression kLanguage(QStringLiteral("^[A-Za-z]{2,8}$"));
    static const QRegularExpression kRegion(QStringLiteral("^([A-Za-z]{2}|[0-9]{3})$"));
    QString name = identifier.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QStringList parts = name.split(kSeparators, Qt::SkipEmptyParts);
    if (parts.isEmpty() || !kLanguage.match(parts.first()).hasMatch())
        return std::nullopt;
    LanguageTag tag { parts.first().toLower(), QString() };
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (kRegion.match(parts.at(i)).hasMatch()) {
            tag.region = parts.at(i).toUpper();
            break;
        }
    }
    return tag;
}

std::optional<LanguageTag> chooseTag(const QStringList &preferredLanguages)
{
    for (const QString &identifier : preferredLanguages) {
        if (std::optional<LanguageTag> tag = parseTag(identifier))
            return tag;
    }
    return parseTag(QLocale::system().name());
}

} // namespace

const QHash<QString, QString> &PreferencesLocalization::table(Identifier identifier)
{
    return identifier == Identifier::preferences ? tables().words : tables().ellipsizedWords;
}

QString PreferencesLocalization::localized(Identifier identifier)
{
    return localized(identifier, QLocale::system().uiLanguages());
}

QString PreferencesLocalization::localized(Identifier identifier, const QStringList &preferredLanguages)
{
    const QHash<QString, QString> &texts = table(identifier);
    const QString defaultText = texts.value(QStringLiteral("en"));
    const std::optional<LanguageTag> tag = chooseTag(preferredLanguages);
    if (!tag)
        return defaultText;
    if (tag->language != QLatin1String("zh"))
        return texts.value(tag->language, defaultText);
    if (tag->region == QLatin1String("HK"))
        return texts.value(QStringLiteral("zh-HK"));
    if (tag->region == QLatin1String("TW"))
        return texts.value(QStringLiteral("zh-TW"));
    return texts.value(QStringLiteral("zh-CN"));
}

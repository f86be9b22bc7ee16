#include "app/LocalizedString.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include <QFileInfo>
#include <QLocale>
#include <QVariantMap>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"

namespace {

struct LocalizationState
{
    std::mutex mutex;
    QVariantMap table;
    QString languageCode = QStringLiteral("en");
    bool english = true;
    QStringList languagesOverride;
    bool hasLanguagesOverride = false;
    QString folderOverride;
    std::atomic<int> loads{0};
};

LocalizationState &state()
{
    static auto *s = new LocalizationState;
    return *s;
}

QString tablePath(const LocalizationState &s, const QString &code)
{
    const QString name = QStringLiteral("QNY_") + code + QStringLiteral(".plist");
    if (!s.folderOverride.isEmpty())
        return s.folderOverride + QLatin1Char('/') + name;
    return AppFolders::resourcePath(QStringLiteral("strings/") + name);
}

QString firstPreferredLanguage(const LocalizationState &s)
{
    const QStringList languages = s.hasLanguagesOverride ? s.languagesOverride : QLocale::system().uiLanguages();
    return languages.isEmpty() ? QStringLiteral("en") : languages.first();
}

// Called with the state's mutex held.
void loadLocked(LocalizationState &s)
{
    if (!s.table.isEmpty())
        return;
    // "fr-CA" gives "fr", "zh-Hans-CN" gives "zh"; Qt may also answer "fr_CA".
    QString code = firstPreferredLanguage(s);
    code = code.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
    s.english = code == QLatin1String("en");
    s.languageCode = code;
    QString path = tablePath(s, code);
    if (!QFileInfo::exists(path)) {
        s.english = true;
        s.languageCode = QStringLiteral("en");
        path = tablePath(s, s.languageCode);
    }
    ++s.loads;
    const std::optional<QVariant> table = PropertyList::readFile(path);
    if (table && table->typeId() == QMetaType::QVariantMap)
        s.table = table->toMap();
    // A table that exists but cannot be read gives way to English rather than to empty texts.
    if (s.table.isEmpty() && !s.english) {
        s.english = true;
        s.languageCode = QStringLiteral("en");
        const std::optional<QVariant> english = PropertyList::readFile(tablePath(s, s.languageCode));
        if (english && english->typeId() == QMetaType::QVariantMap)
            s.table = english->toMap();
    }
}

} // namespace

QString localizedString(const QString &key)
{
    LocalizationState &s = state();
    QVariant value;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        loadLocked(s);
        value = s.table.value(key);
    }
    if (value.typeId() != QMetaType::QString) {
        Log::line(QStringLiteral("No text for ") + key);
        return QString();
    }
    QString text = value.toString();
    text.replace(QLatin1String("DONOT_TRANSLATE_INTEGER_VALUE"), QLatin1String("%d"));
    text.replace(QLatin1String("DONOT_TRANSLATE_STRING_VALUE"), QLatin1String("%@"));
    return text;
}

void Localization::loadLocalizationDictionary()
{
    LocalizationState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    loadLocked(s);
}

QString Localization::currentLanguageCode()
{
    LocalizationState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.languageCode;
}

bool Localization::isOneOf(const QString &language, std::initializer_list<const char *> codes)
{
    return std::any_of(
        codes.begin(), codes.end(), [&](const char *code) { return language == QLatin1String(code); });
}

bool Localization::isEnglishLanguage()
{
    LocalizationState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.english;
}

void Localization::setPreferredLanguagesOverride(const QStringList &languages)
{
    LocalizationState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.languagesOverride = languages;
    s.hasLanguagesOverride = true;
}

void Localization::setTableFolderOverride(const QString &folder)
{
    LocalizationState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.folderOverride = folder;
}

void Localization::reset()
{
    LocalizationState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.table.clear();
    s.languageCode = QStringLiteral("en");
    s.english = true;
    s.loads = 0;
}

int Localization::tableLoadCount()
{
    return state().loads.load();
}

QString localizedCountText(qint64 count, const char *one, const char *many)
{
    return localizedString(QString::fromLatin1(count == 1 ? one : many));
}

// Registered defaults and the built-in lists, read back through the settings store.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "platform/AppFolders.h"
#include "platform/UserDefaults.h"

namespace {

QStringList extensionsOf(const QVariantMap &entry)
{
    QStringList out;
    for (const QVariant &e : entry.value(QStringLiteral("extns")).toList())
        out.append(e.toString());
    return out;
}

} // namespace

TEST(SettingsDefaults, AFreshAccountReadsTheRegisteredDefaultsWithTheirTypes)
{
    QTemporaryDir dir;
    UserDefaults store(dir.filePath(QStringLiteral("settings.plist")));
    store.registerDefaults(SettingsDefaults::defaultSettings());
    EXPECT_EQ(SettingsDefaults::defaultSettings().size(), 26);
    EXPECT_EQ(store.integerForKey(QStringLiteral("minimumFileSize")), 50);
    EXPECT_EQ(store.integerForKey(QStringLiteral("fileSizeUnit")), 0);
    EXPECT_EQ(store.integerForKey(QStringLiteral("scanPhotosFrom")), 6);
    EXPECT_EQ(store.integerForKey(QStringLiteral("indexMeanParts")), 4);
    EXPECT_EQ(store.integerForKey(QStringLiteral("setInitialMatching")), 4);
    EXPECT_EQ(store.objectForKey(QStringLiteral("setTimeInterval")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(store.objectForKey(QStringLiteral("comparePhotosOnGps")).typeId(), QMetaType::Bool);
    EXPECT_EQ(store.stringForKey(QStringLiteral("appVersion")), QStringLiteral("0.0"));
    EXPECT_FALSE(store.hasUserValue(QStringLiteral("appVersion"))) << "registration stores nothing";

    // A value written and read back from the file keeps its type (lists of dictionaries included).
    store.setObject(QStringLiteral("autoMarkRules"), SettingsDefaults::defaultAutoMarkRules());
    UserDefaults reread(dir.filePath(QStringLiteral("settings.plist")));
    const QVariantList rules = reread.arrayForKey(QStringLiteral("autoMarkRules"));
    ASSERT_EQ(rules.size(), 8);
    EXPECT_EQ(rules.first().toMap().value(QStringLiteral("isDropDown")).typeId(), QMetaType::Bool);
}

TEST(SettingsDefaults, AutoMarkRulesStartWithThePreferredFormat)
{
    const QVariantList rules = SettingsDefaults::defaultAutoMarkRules();
    const QStringList expectedKeys = {"preferFormat", "library", "dimension", "dpi", "size", "metadata", "date", "modDate"};
    ASSERT_EQ(rules.size(), expectedKeys.size());
    for (int i = 0; i < rules.size(); ++i) {
        const QVariantMap rule = rules[i].toMap();
        EXPECT_EQ(rule.value(QStringLiteral("key")).toString(), expectedKeys[i]);
        EXPECT_TRUE(rule.value(QStringLiteral("state")).toBool());
        const bool dropDown = i == 0 || i >= 6;
        EXPECT_EQ(rule.contains(QStringLiteral("isDropDown")), dropDown) << i;
        EXPECT_EQ(rule.contains(QStringLiteral("isMarkWithEarlier")), dropDown) << i;
    }
    const QVariantMap prefer = rules.first().toMap();
    EXPECT_EQ(prefer.value(QStringLiteral("name")).toString(), QStringLiteral("ID_PREFER_FORMAT"));
    const QString description = prefer.value(QStringLiteral("description")).toString();
    EXPECT_TRUE(description.contains(QLatin1String("jpeg"))) << description.toStdString();
    EXPECT_FALSE(description.contains(QLatin1String("DONOT_TRANSLATE")));
    EXPECT_EQ(rules[1].toMap().value(QStringLiteral("description")).toString(),
              QStringLiteral("ID_MARK_NONOLINEAER_PHOTOS"));
}

TEST(SettingsDefaults, ImageTypesKeepTheBuiltInEntriesWithOneRawGroup)
{
    const QVariantList types = SettingsDefaults::defaultImageTypes();
    ASSERT_EQ(types.size(), 21);
    EXPECT_EQ(types.first().toMap().value(QStringLiteral("key")).toString(), localizedString(QStringLiteral("ID_ICON_IMAGE")));
    EXPECT_FALSE(types.first().toMap().value(QStringLiteral("key")).toString().startsWith(QLatin1String("ID_")));
    int raws = 0;
    for (const QVariant &t : types) {
        const QVariantMap entry = t.toMap();
        EXPECT_TRUE(entry.value(QStringLiteral("state")).toBool());
        for (const QString &e : extensionsOf(entry))
            EXPECT_EQ(e, e.toLower());
        raws += entry.value(QStringLiteral("isRaw")).toBool() ? 1 : 0;
    }
    EXPECT_EQ(raws, 1);
    const QStringList raw = extensionsOf(types.last().toMap());
    EXPECT_TRUE(types.last().toMap().value(QStringLiteral("isRaw")).toBool());
    EXPECT_EQ(raw.size(), 50);
    EXPECT_EQ(raw.count(QStringLiteral("dng")), 2);
}

TEST(SettingsDefaults, VideoTypesAreUpperCaseAndExcludedFoldersFollowTheHome)
{
    const QVariantList videos = SettingsDefaults::defaultVideoTypes();
    ASSERT_EQ(videos.size(), 24);
    for (const QVariant &v : videos) {
        const QStringList extns = extensionsOf(v.toMap());
        ASSERT_EQ(extns.size(), 1);
        EXPECT_EQ(extns.first(), extns.first().toUpper());
        EXPECT_FALSE(v.toMap().value(QStringLiteral("isRaw")).toBool());
    }
    const QStringList excluded = SettingsDefaults::defaultExcludedFolders();
    EXPECT_TRUE(excluded.contains(QStringLiteral("/proc")));
    EXPECT_TRUE(excluded.contains(AppFolders::homeFolder() + QStringLiteral("/.local/share/Trash")));
    EXPECT_TRUE(excluded.contains(AppFolders::homeFolder() + QStringLiteral("/Dropbox")));
}

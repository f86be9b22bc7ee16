// Reset to defaults and clearing one source's cache.
#include <gtest/gtest.h>

#include <array>

#include <QDir>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "model/SqliteDBOperations.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "preferences/GeneralSettings.h"
#include "support/TestFiles.h"

namespace
{

class GeneralSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
        NotificationCenter::defaultCenter().addObserver(
            this, GeneralSettings::kPreferencesResetToDefaults, [this](const Notification &n) {
                ++posts;
                EXPECT_TRUE(n.userInfo.isEmpty());
            });
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(this); }

    int posts = 0;
};

QVariantList asVariants(const QStringList &strings)
{
    QVariantList list;
    for (const QString &s : strings)
        list.append(s);
    return list;
}

TEST_F(GeneralSettingsTest, ResetStoresTheTableWithItsTypesAndLeavesOtherKeys)
{
    UserDefaults &defaults = UserDefaults::standard();
    defaults.setObject("savedPaths", QVariantList { "/home/me/Pictures" });
    defaults.setObject("minimumFileSize", qlonglong(3));
    defaults.setObject("excludedFolders", QVariantList { "/mine" });
    defaults.setObject("allowVideoScanning", false);

    GeneralSettings::resetDefaults(defaults);
    EXPECT_EQ(posts, 1);
    // What the file holds, not what the store remembers.
    UserDefaults reread(defaults.filePath());
    const auto table = GeneralSettings::resetValues();
    ASSERT_EQ(table.size(), 25u);
    for (const auto &[key, value] : table) {
        ASSERT_TRUE(reread.hasUserValue(key)) << key.toStdString();
        EXPECT_EQ(reread.objectForKey(key), value) << key.toStdString();
    }
    EXPECT_EQ(reread.objectForKey("setInitialMatching").typeId(), QMetaType::Double);
    EXPECT_EQ(reread.objectForKey("setInitialMatching").toDouble(), 4.0);
    EXPECT_NE(reread.objectForKey("allowedGPSDistance").typeId(), QMetaType::Double);
    EXPECT_EQ(reread.integerForKey("allowedGPSDistance"), 10);
    EXPECT_EQ(reread.objectForKey("includeiPhotoLibInFolder"), QVariant(false));
    EXPECT_EQ(reread.objectForKey("savedPaths"), QVariant(QVariantList { "/home/me/Pictures" }));

    EXPECT_EQ(reread.arrayForKey("autoMarkRules"), SettingsDefaults::defaultAutoMarkRules());
    EXPECT_EQ(reread.arrayForKey("allowedExtensions"), SettingsDefaults::defaultImageTypes());
    EXPECT_EQ(reread.arrayForKey("allowedVideoExtensions"), SettingsDefaults::defaultVideoTypes());
    EXPECT_EQ(reread.arrayForKey("excludedFolders"), asVariants(SettingsDefaults::defaultExcludedFolders()));
}

TEST_F(GeneralSettingsTest, ResetWhenEverythingIsDefaultStillWritesAndPostsOnce)
{
    GeneralSettings::resetDefaults(UserDefaults::standard());
    GeneralSettings::resetDefaults(UserDefaults::standard());
    EXPECT_EQ(posts, 2);
    EXPECT_TRUE(UserDefaults::standard().hasUserValue("scanPhotosFrom"));
}

class ClearCacheTest : public ::testing::TestWithParam<int>
{
};

QString databasePath(int source)
{
    return SqliteDBOperations::getDbPathInLibrary(SqliteDBOperations::cacheFileNameForScanType(static_cast<ScanSource>(source)));
}

TEST_P(ClearCacheTest, RemovesOnlyThatSourcesDatabaseWithItsJournals)
{
    const QStringList suffixes { "", "-journal", "-wal", "-shm" };
    for (int source : { 0, 1, 2 }) {
        for (const QString &suffix : suffixes)
            ASSERT_TRUE(TestFiles::write(databasePath(source) + suffix));
    }
    const auto source = static_cast<ScanSource>(GetParam());
    const std::optional<qint64> removed = GeneralSettings::clearCache(source);
    for (int source : { 0, 1, 2 }) {
        for (const QString &suffix : suffixes)
            EXPECT_EQ(QFileInfo::exists(databasePath(source) + suffix), source != GetParam())
                << source << suffix.toStdString();
    }
    // The user is told how much went and for which source, that nothing was there, or which file stayed.
    EXPECT_EQ(removed, std::optional<qint64>(4));
    const QString sourceName = localizedString(QString::fromLatin1(
        std::array { "ID_FINDER", "ID_GOOGLE_DRIVE", "ID_DROPBOX" }[std::size_t(GetParam())]));
    const QString report = GeneralSettings::clearCacheReport(source, removed).informative;
    EXPECT_TRUE(report.contains(sourceName) && report.contains(QStringLiteral("4 bytes"))) << report.toStdString();
    const std::optional<qint64> again = GeneralSettings::clearCache(source);
    EXPECT_EQ(again, std::optional<qint64>(0));
    EXPECT_NE(GeneralSettings::clearCacheReport(source, again).informative, report);
    EXPECT_TRUE(GeneralSettings::clearCacheReport(source, std::nullopt).informative.contains(databasePath(GetParam())));
    for (int source : { 0, 1, 2 })
        QFile::remove(databasePath(source));
}

INSTANTIATE_TEST_SUITE_P(Sources, ClearCacheTest, ::testing::Values(0, 1, 2));

TEST(ClearCacheNames, EachSourceHasItsOwnFile)
{
    EXPECT_TRUE(databasePath(0).endsWith("/quennary.db"));
    EXPECT_TRUE(databasePath(1).endsWith("/Raza.db"));
    EXPECT_TRUE(databasePath(2).endsWith("/Qnydb.db"));
}

} // namespace

// Which chosen folders the Exclusions pane accepts, and the one alert it shows about the rest.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Trash.h"
#include "preferences/ExclusionRules.h"

namespace
{

class ScanListConflict : public ::testing::TestWithParam<std::pair<const char *, bool>>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        for (const char *folder : { "Pictures/2020", "Pic", "pictures", "Work/Photos" })
            ASSERT_TRUE(QDir(root.path()).mkpath(folder));
        ASSERT_TRUE(QFile::link(root.filePath("Work"), root.filePath("WorkLink")));
        scanList = { root.filePath("Pictures"), root.filePath("Work/Photos") };
    }

    QTemporaryDir root;
    QStringList scanList;
};

TEST_P(ScanListConflict, RefusesAScanFolderAndItsParentsByWholeComponents)
{
    const auto &[relative, refused] = GetParam();
    const QString folder = QString::fromLatin1(relative).isEmpty() ? root.path() : root.filePath(relative);
    EXPECT_EQ(ExclusionRules::isPathInScanList(folder, scanList), refused) << relative;
}

INSTANTIATE_TEST_SUITE_P(Folders, ScanListConflict,
    ::testing::Values(std::make_pair("", true), // the parent of both
        std::make_pair("Pictures", true), // the scan folder itself
        std::make_pair("Work/", true), // a parent written with a slash
        std::make_pair("WorkLink", true), // a parent reached through a link
        std::make_pair("Pictures/2020", false), // inside a scan folder
        std::make_pair("Pic", false), // a sibling whose name starts alike
        std::make_pair("pictures", false))); // another folder on a case-sensitive disk

TEST(ExclusionRules, AddsInOrderAndTellsWhyTheOthersWereLeftOut)
{
    const QStringList scanList { "/data/Pictures" };
    const QStringList current { "/data/old", "/data/b" };

    const auto taken = ExclusionRules::addFolders({ "/data/new", "/data/B", "/data/new" }, current, scanList);
    EXPECT_EQ(taken.exclusions, QStringList({ "/data/old", "/data/b", "/data/new", "/data/B" }));
    EXPECT_FALSE(taken.inScanList);
    EXPECT_TRUE(taken.alreadyExcluded); // the second "/data/new"

    const auto refused = ExclusionRules::addFolders({ "/data", "/data/old" }, current, scanList);
    EXPECT_EQ(refused.exclusions, current);
    ASSERT_TRUE(refused.inScanList && refused.alreadyExcluded);
    EXPECT_EQ(ExclusionRules::alertFor(true, true),
        (ExclusionRules::AlertKeys { "ID_ONE_OR_MORE_ITEMS_CANT_EXCLUDED", QString() }));
    EXPECT_EQ(ExclusionRules::alertFor(true, false),
        (ExclusionRules::AlertKeys { "ID_FOLDER_CANT_EXCLUDED", "ID_EITHER_FOLDER_OR_CONTENTS_EXIST" }));
    EXPECT_EQ(ExclusionRules::alertFor(false, true),
        (ExclusionRules::AlertKeys {
            "ID_FOLDER_CANT_ADDED_TO_EXCLUDEDLIST", "ID_FOLDER_WITH_SUBNAME_EXISTS" }));
    EXPECT_FALSE(ExclusionRules::alertFor(false, false));
}

TEST(ExclusionRules, TrashFoldersOfHomeAndVolumes)
{
    EXPECT_TRUE(ExclusionRules::isTrashFolder(Trash::homeTrashFolder()));
    EXPECT_TRUE(ExclusionRules::isTrashFolder(Trash::homeTrashFolder() + "/files"));
    EXPECT_TRUE(ExclusionRules::isTrashFolder("/media/disk/.Trash-1000"));
    EXPECT_TRUE(ExclusionRules::isTrashFolder("/media/disk/.Trash"));
    EXPECT_TRUE(ExclusionRules::isTrashFolder("/media/disk/.Trash/1000/files"));
    EXPECT_FALSE(ExclusionRules::isTrashFolder("/media/disk/Trashed photos"));
    EXPECT_TRUE(ExclusionRules::containsTrashFolder({ "/media/disk/a", "/media/disk/.Trash-1000" }));
    EXPECT_FALSE(ExclusionRules::containsTrashFolder({ "/media/disk/a" }));
}

} // namespace

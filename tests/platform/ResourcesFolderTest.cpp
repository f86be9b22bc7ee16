// The one lookup of the program's resources: installed below a prefix, or staged in the build tree.
#include <vector>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/AppFolders.h"

namespace {

struct Layout {
    const char *name;
    const char *programFolder; // relative to a temporary root
    std::vector<const char *> tables; // folders that receive strings/QNY_en.plist
    std::vector<const char *> emptyFolders; // resource folders without the string table
    const char *expected; // relative to the root; "" for not found
};

class ResourcesFolderLayouts : public ::testing::TestWithParam<Layout>
{
};

void touch(const QString &path)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST_P(ResourcesFolderLayouts, FindsTheFolderHoldingTheStringTable)
{
    const Layout &layout = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const char *folder : layout.tables)
        touch(root.filePath(QString::fromLatin1(folder) + QStringLiteral("/strings/QNY_en.plist")));
    for (const char *folder : layout.emptyFolders)
        ASSERT_TRUE(QDir().mkpath(root.filePath(QString::fromLatin1(folder) + QStringLiteral("/images"))));
    const QString program = root.filePath(QString::fromLatin1(layout.programFolder));
    ASSERT_TRUE(QDir().mkpath(program));

    const QString expected
        = *layout.expected ? QDir::cleanPath(root.filePath(QString::fromLatin1(layout.expected))) : QString();
    EXPECT_EQ(AppFolders::resourcesFolderFor(program), expected);
}

INSTANTIATE_TEST_SUITE_P(AppFolders, ResourcesFolderLayouts,
    ::testing::Values(Layout { "installed", "usr/bin", { "usr/share/quennary" }, {}, "usr/share/quennary" },
        Layout { "buildTreeProgram", "build", { "build/share/quennary" }, {}, "build/share/quennary" },
        Layout { "buildTreeTool", "build/tests", { "build/share/quennary" }, {}, "build/share/quennary" },
        Layout { "installedWinsOverANeighbour", "usr/bin", { "usr/share/quennary", "usr/bin/share/quennary" },
            {}, "usr/share/quennary" },
        Layout { "folderWithoutStringTable", "usr/bin", { "usr/bin/share/quennary" },
            { "usr/share/quennary" }, "usr/bin/share/quennary" },
        Layout { "nothingInstalled", "opt/bin", {}, { "opt/share/quennary" }, "" }),
    [](const ::testing::TestParamInfo<Layout> &info) { return std::string(info.param.name); });

TEST(AppFolders, EmptyProgramFolderFindsNothing)
{
    EXPECT_TRUE(AppFolders::resourcesFolderFor(QString()).isEmpty());
}

// Tests run from the build tree: the staged copy is what they find, with every kind of resource.
TEST(AppFolders, BuildTreeRunFindsTheStagedResources)
{
    const QString folder = AppFolders::resourcesFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.endsWith(QStringLiteral("/share/quennary"))) << folder.toStdString();
    for (const char *file :
        { "strings/QNY_en.plist", "db/quennary.db", "db/Raza.db", "db/Qnydb.db", "db/schema.sql" })
        EXPECT_TRUE(QFileInfo(AppFolders::resourcePath(QString::fromLatin1(file))).isFile()) << file;
    EXPECT_FALSE(QDir(folder + QStringLiteral("/images")).entryList({ QStringLiteral("*.svg") }).isEmpty());
}

// File operations report real sizes and real exit statuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/FileOperations.h"
#include "app/PrivilegedRunner.h"
#include "platform/AppFolders.h"
#include "support/TestFiles.h"

namespace
{

void writeFile(const QString &path, qsizetype size)
{
    ASSERT_TRUE(TestFiles::write(path, QByteArray(size, 'x')));
}

struct UnitCase {
    double bytes;
    const char *text;
};

class ApplicableUnit : public testing::TestWithParam<UnitCase>
{
};

class RecordingRunner : public PrivilegedRunner
{
public:
    Result run(const QString &program, const QStringList &arguments) override
    {
        ++calls;
        lastProgram = program;
        lastArguments = arguments;
        return next;
    }
    QString helperPath() const override { return QStringLiteral("/libexec/helper"); }
    int calls = 0;
    QString lastProgram;
    QStringList lastArguments;
    Result next { Outcome::Finished, 0 };
};

} // namespace

TEST_P(ApplicableUnit, StepsBy1024WhileStrictlyAbove)
{
    const QVariantMap names
        = { { "bytes", "B" }, { "KB", "KiB" }, { "MB", "MiB" }, { "GB", "GiB" }, { "TB", "TiB" } };
    EXPECT_EQ(FileOperations::convertBytesToApplicableUnit(names, GetParam().bytes),
        QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ApplicableUnit,
    testing::Values(UnitCase { 1024, "1024 B" }, UnitCase { 1025, "1.0 KiB" }, UnitCase { 1536, "1.5 KiB" },
        UnitCase { 1048576, "1024.0 KiB" }, UnitCase { 0, "0 B" },
        UnitCase { 1024.0 * 1024 * 1024 * 1024 * 2048, "2048.0 TiB" }));

TEST(FileOperations, ListingsAndSizesAreReal)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    writeFile(d.filePath(QStringLiteral("a.jpg")), 10);
    writeFile(d.filePath(QStringLiteral("sub/b.jpg")), 20);
    writeFile(d.filePath(QStringLiteral("X.photosLibrary/database/photos.db")), 5);
    d.mkpath(QStringLiteral("empty"));

    EXPECT_EQ(FileOperations::getFilesListInDirectory(dir.path()).size(), 3);
    EXPECT_EQ(FileOperations::getFilesListInDirectory(dir.path(), QStringLiteral("photoslibrary")),
        QStringList { d.filePath(QStringLiteral("X.photosLibrary")) });
    QStringList direct = FileOperations::getFilesFoldersListInDirectory(dir.path() + QLatin1Char('/'));
    direct.sort();
    EXPECT_EQ(direct, (QStringList { "X.photosLibrary", "a.jpg", "empty", "sub" }));
    EXPECT_TRUE(FileOperations::getFilesFoldersListInDirectory(dir.path()).isEmpty());
    EXPECT_EQ(
        FileOperations::getDirectorySize(d.filePath(QStringLiteral("empty"))), QStringLiteral("0.000000"));
    EXPECT_EQ(FileOperations::folderSizeUnix(dir.path()), QStringLiteral("35"));
    EXPECT_EQ(
        FileOperations::getSizeOfFileOrFolder(d.filePath(QStringLiteral("a.jpg"))), QStringLiteral("10"));
    EXPECT_EQ(FileOperations::fastFolderSize(d.filePath(QStringLiteral("missing"))), QStringLiteral("0"));
    EXPECT_TRUE(FileOperations::getItemAMCDates(d.filePath(QStringLiteral("a.jpg")))
                    .contains(QStringLiteral("cDate")));
}

TEST(FileOperations, DeletionReportsWhatReallyHappened)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    writeFile(d.filePath(QStringLiteral("sub/a")), 1);
    writeFile(d.filePath(QStringLiteral("b")), 1);
    EXPECT_TRUE(FileOperations::deleteDirectoryContents(dir.path(), nullptr));
    EXPECT_TRUE(FileOperations::getFilesListInDirectory(dir.path()).isEmpty());
    EXPECT_TRUE(d.exists(QStringLiteral("sub")));

    EXPECT_TRUE(FileOperations::deleteItemFromTerminalCommand(d.filePath(QStringLiteral("sub"))));
    EXPECT_FALSE(d.exists(QStringLiteral("sub")));
    // rm -rf of a path under a file cannot succeed: the real status is a failure.
    writeFile(d.filePath(QStringLiteral("file")), 1);
    EXPECT_FALSE(FileOperations::deleteItemFromTerminalCommand(d.filePath(QStringLiteral("file/below")))
        && QFileInfo::exists(d.filePath(QStringLiteral("file/below"))));
}

TEST(FileOperations, ElevatedRemovalAsksOnceAndPassesPathsAsArguments)
{
    RecordingRunner runner;
    FileOperations::setPrivilegedRunner(&runner);
    EXPECT_TRUE(FileOperations::removeFilesWithElevatedPrivilegesFromLocations({}));
    EXPECT_EQ(runner.calls, 0);
    EXPECT_TRUE(
        FileOperations::removeFilesWithElevatedPrivilegesFromLocations({ "/srv/a b", "/srv/c;rm -rf x" }));
    EXPECT_EQ(runner.calls, 1);
    EXPECT_EQ(runner.lastProgram, runner.helperPath());
    EXPECT_EQ(runner.lastArguments, (QStringList { "remove", "/srv/a b", "remove", "/srv/c;rm -rf x" }));
    runner.next = { PrivilegedRunner::Outcome::Finished, 1 };
    EXPECT_FALSE(FileOperations::removeFileWithElevatedPrivilegesFromLocation(QStringLiteral("/srv/x")));
    runner.next = { PrivilegedRunner::Outcome::Refused, -1 };
    EXPECT_FALSE(FileOperations::removeFileWithElevatedPrivilegesFromLocation(QStringLiteral("/srv/x")));
    FileOperations::setPrivilegedRunner(nullptr);
}

// A recursive removal of "/", a system root, the home folder, a parent of it, a relative path or a
// path that reaches the home folder through a link runs nothing, with rights or without. The
// removal without rights is only tried on the test's own home folder, so a fault costs nothing.
TEST(FileOperations, RecursiveRemovalsRefuseRootsAndTheHomeFolder)
{
    const QString home = AppFolders::homeFolder();
    writeFile(home + QStringLiteral("/keep/a"), 1);
    QTemporaryDir dir;
    const QDir d(dir.path());
    ASSERT_TRUE(QFile::link(home, d.filePath(QStringLiteral("home-link"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/"), d.filePath(QStringLiteral("root-link"))));
    const QStringList ownHome = { home, QFileInfo(home).path(), QStringLiteral("relative/x"),
        home + QStringLiteral("/keep/../keep"), d.filePath(QStringLiteral("home-link/..")) };
    for (const QString &path : ownHome)
        EXPECT_FALSE(FileOperations::deleteItemFromTerminalCommand(path)) << path.toStdString();
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/keep/a")));

    RecordingRunner runner;
    FileOperations::setPrivilegedRunner(&runner);
    QStringList refused = ownHome;
    refused << QStringLiteral("/") << QStringLiteral("/usr") << QStringLiteral("/usr/local/lib")
            << QDir::homePath() << d.filePath(QStringLiteral("root-link/etc"));
    for (const QString &path : refused)
        EXPECT_FALSE(FileOperations::removeFileWithElevatedPrivilegesFromLocation(path))
            << path.toStdString();
    EXPECT_FALSE(FileOperations::removeFilesWithElevatedPrivilegesFromLocations(
        { d.filePath(QStringLiteral("x")), QStringLiteral("/") }));
    EXPECT_EQ(runner.calls, 0);
    FileOperations::setPrivilegedRunner(nullptr);
}

TEST(FileOperations, LoginItemsAreAutostartEntries)
{
    QTemporaryDir dir;
    const QString app = dir.filePath(QStringLiteral("tool"));
    writeFile(app, 1);
    EXPECT_TRUE(FileOperations::addApplicationAsLoginItem(app));
    EXPECT_TRUE(FileOperations::getApplicationsListFromLoginItem().contains(app));
    EXPECT_TRUE(FileOperations::deleteApplicationFromLoginItem(app));
    EXPECT_FALSE(FileOperations::getApplicationsListFromLoginItem().contains(app));
}

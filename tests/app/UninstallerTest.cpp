// The uninstall removes exactly the user's Quennary files, inside a temporary home.
#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/RemoveItemFakeRunner.h"
#include "app/Uninstaller.h"
#include "platform/AppFolders.h"
#include "platform/LocalAlbumStore.h"
#include "support/TestFiles.h"

namespace {

using Outcome = PrivilegedRunner::Outcome;

// The listed paths that are not inside another one: files next to these lie outside every removal.
QStringList outermostPaths()
{
    const QStringList paths = Uninstaller::userPaths();
    QStringList outermost;
    for (const QString &path : paths) {
        const bool nested = std::any_of(paths.begin(), paths.end(),
            [&](const QString &other) { return path.startsWith(other + QLatin1Char('/')); });
        if (!nested)
            outermost << path;
    }
    return outermost;
}

// Points every application folder into a fresh temporary root for one test, and fills it: each
// listed path with content, and a file next to each that must survive.
class UninstallerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousRoot = AppFolders::rootOverride();
        AppFolders::setRootOverride(m_root.path());
    }
    void TearDown() override { AppFolders::setRootOverride(m_previousRoot); }

    void fillTree()
    {
        for (const QString &path : Uninstaller::userPaths())
            ASSERT_TRUE(TestFiles::write(path + QStringLiteral("/inner/file.db")));
        for (const QString &path : outermostPaths()) {
            ASSERT_TRUE(TestFiles::write(path + QStringLiteral(" sibling.txt")));
            ASSERT_TRUE(TestFiles::write(QFileInfo(path).path() + QStringLiteral("/other.txt")));
        }
        ASSERT_TRUE(TestFiles::write(AppFolders::settingsFilePath()));
        ASSERT_TRUE(TestFiles::write(AppFolders::logFilePath()));
        ASSERT_TRUE(TestFiles::write(AppFolders::homeFolder() + QStringLiteral("/Pictures/photo.jpg")));
        // A link inside a removed folder must not take its target along.
        ASSERT_TRUE(TestFiles::write(m_root.path() + QStringLiteral("/outside/keep.jpg")));
        ASSERT_TRUE(QFile::link(m_root.path() + QStringLiteral("/outside"),
            AppFolders::cachesFolder() + QStringLiteral("/link")));
    }

    void expectOnlyListedPathsGone()
    {
        for (const QString &path : Uninstaller::userPaths())
            EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
        for (const QString &path : outermostPaths()) {
            EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral(" sibling.txt"))) << qPrintable(path);
            EXPECT_TRUE(QFileInfo::exists(QFileInfo(path).path() + QStringLiteral("/other.txt")));
        }
        EXPECT_TRUE(QFileInfo::exists(AppFolders::homeFolder() + QStringLiteral("/Pictures/photo.jpg")));
        EXPECT_TRUE(QFileInfo::exists(m_root.path() + QStringLiteral("/outside/keep.jpg")));
    }

    std::shared_ptr<RemoveItemFakeRunner> runner = std::make_shared<RemoveItemFakeRunner>();

private:
    QTemporaryDir m_root;
    QString m_previousRoot;
};

} // namespace

TEST_F(UninstallerTest, RemovesExactlyTheListedPathsWithoutAskingForRights)
{
    fillTree();
    Uninstaller uninstaller(runner);
    EXPECT_TRUE(uninstaller.removeApplicationSupportFiles());
    expectOnlyListedPathsGone();
    EXPECT_TRUE(runner->calls().empty());
}

TEST_F(UninstallerTest, NothingToRemoveIsSuccess)
{
    Uninstaller uninstaller(runner);
    EXPECT_TRUE(uninstaller.removeApplicationSupportFiles());
    EXPECT_TRUE(runner->calls().empty());
}

TEST_F(UninstallerTest, WhatTheUserCannotRemoveGoesToOnePrivilegedRemoval)
{
    fillTree();
    const QStringList stubborn { AppFolders::cachesFolder(), AppFolders::logsFolder() };
    auto ownRights = [&](const QString &path) {
        return !stubborn.contains(path) && Uninstaller::removeWithUserRights(path);
    };
    auto real = std::make_shared<RemoveItemFakeRunner>(true);
    Uninstaller uninstaller(real, ownRights);
    EXPECT_TRUE(uninstaller.removeApplicationSupportFiles());
    expectOnlyListedPathsGone();
    // Both paths in one run of the helper: one password dialog.
    const std::vector<RemoveItemFakeRunner::Call> expected { { real->helperPath(),
        { QStringLiteral("remove"), stubborn[0], QStringLiteral("remove"), stubborn[1] } } };
    EXPECT_EQ(real->calls(), expected);
}

TEST_F(UninstallerTest, ReportsFailureWhenPathsAreLeft)
{
    fillTree();
    const QString stubborn = AppFolders::logsFolder();
    auto ownRights
        = [&](const QString &path) { return path != stubborn && Uninstaller::removeWithUserRights(path); };
    {
        // The prompt is refused: the path stays and no removal is attempted.
        runner->queue(Outcome::Refused, 126);
        Uninstaller uninstaller(runner, ownRights);
        EXPECT_FALSE(uninstaller.removeApplicationSupportFiles());
        EXPECT_EQ(runner->calls().size(), 1u);
        EXPECT_TRUE(QFileInfo::exists(stubborn));
    }
    {
        // The helper claims success but the path is still there.
        Uninstaller uninstaller(runner, ownRights);
        EXPECT_FALSE(uninstaller.removeApplicationSupportFiles());
        EXPECT_EQ(runner->calls().size(), 2u);
        EXPECT_TRUE(QFileInfo::exists(stubborn));
        // The note names what is left instead of pointing at a log.
        EXPECT_EQ(uninstaller.leftOver(), QStringList { stubborn });
    }
}

// A disk mounted inside a folder of ours (where the test may mount) is not emptied: the folder is left.
TEST_F(UninstallerTest, AMountInsideIsLeftWithWhatItShows)
{
    fillTree();
    const QString photos = AppFolders::homeFolder() + QStringLiteral("/Pictures");
    const QByteArray disk = QFile::encodeName(AppFolders::cachesFolder() + QStringLiteral("/disk"));
    if (!QDir().mkpath(disk) || ::mount(QFile::encodeName(photos), disk, nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "this test may not mount";
    runner->queue(Outcome::Refused, 126);
    EXPECT_FALSE(Uninstaller(runner).removeApplicationSupportFiles());
    ::umount2(disk, MNT_DETACH);
    EXPECT_TRUE(QFileInfo::exists(photos + QStringLiteral("/photo.jpg")));
}

TEST(UninstallerUrl, OnlyWebAddressesMakeAPage)
{
    const QString page = QStringLiteral("https://example.org/after-uninstall/?lang=en");
    EXPECT_EQ(Uninstaller::afterUninstallUrl(page), QUrl(page));
    EXPECT_EQ(Uninstaller::afterUninstallUrl(QStringLiteral(" http://example.org/a ")),
        QUrl(QStringLiteral("http://example.org/a")));
    for (const char *bad : {"", "   ", "after-uninstall/", "example.org/a", "https://",
             "http://exa mple.org/", "file:///etc/passwd", "javascript:alert(1)", "smb://host/share"})
        EXPECT_TRUE(Uninstaller::afterUninstallUrl(QString::fromLatin1(bad)).isEmpty()) << bad;
}

// The question and the last note name the album file of marked library items when there is one, and
// tell of the program what is so for how this copy was installed.
TEST_F(UninstallerTest, TheTextsNameTheAlbumFileAndHowThisCopyWasInstalled)
{
    QTemporaryDir system;
    const QString program = system.filePath(QStringLiteral("usr/bin/quennary"));
    const QString lists = system.filePath(QStringLiteral("info"));
    ASSERT_TRUE(TestFiles::write(program));
    const QString album = LocalAlbumStore::defaultFilePath();
    for (const bool packaged : { false, true }) {
        if (packaged) {
            ASSERT_TRUE(TestFiles::write(
                lists + QStringLiteral("/quennary.list"), "/usr\n" + program.toUtf8() + "\n"));
        }
        for (const bool withAlbum : { false, true }) {
            QFile::remove(album);
            if (withAlbum) {
                ASSERT_TRUE(TestFiles::write(album));
            }
            const QString question = Uninstaller::confirmationText(program, lists);
            EXPECT_EQ(question.contains(QStringLiteral("“") + album + QStringLiteral("”")), withAlbum)
                << question.toStdString();
            EXPECT_EQ(question.contains(QStringLiteral("until you remove its package")), packaged)
                << question.toStdString();
            EXPECT_EQ(question.contains(program), !packaged) << question.toStdString();
        }
        const QString note = Uninstaller::packageRemovalNote(program, lists);
        EXPECT_TRUE(note.startsWith(QStringLiteral("Your Quennary settings"))) << note.toStdString();
        EXPECT_EQ(note.contains(QStringLiteral("\"sudo apt remove quennary\"")), packaged)
            << note.toStdString();
        EXPECT_EQ(note.contains(QStringLiteral("“") + program + QStringLiteral("”")), !packaged)
            << note.toStdString();
    }
}

// File facts, MD5 digests and the Trash, on files the tests make.
#include <gtest/gtest.h>

#include <atomic>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "platform/FileFacts.h"
#include "platform/KnownTrashes.h"
#include "platform/ScanMounts.h"
#include "platform/Md5.h"
#include "platform/Trash.h"
#include "support/TestFiles.h"

namespace {

QString writeFile(const QDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(TestFiles::write(path, content));
    return path;
}

struct Md5Case
{
    const char *name;
    QByteArray content;
    const char *digest;
};

class Md5OfContent : public testing::TestWithParam<Md5Case>
{
};

} // namespace

TEST_P(Md5OfContent, MatchesTheKnownDigest)
{
    QTemporaryDir dir;
    const QString path = writeFile(QDir(dir.path()), QStringLiteral("f"), GetParam().content);
    EXPECT_EQ(Md5::ofFile(path).value_or(QStringLiteral("none")), QString::fromLatin1(GetParam().digest));
}

INSTANTIATE_TEST_SUITE_P(
    Files, Md5OfContent,
    testing::Values(Md5Case{"empty", QByteArray(), "d41d8cd98f00b204e9800998ecf8427e"},
                    Md5Case{"abc", QByteArray("abc"), "900150983cd24fb0d6963f7d28e17f72"},
                    // Longer than one read chunk, so the chunks must be chained correctly.
                    Md5Case{"million_a", QByteArray(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"}),
    [](const testing::TestParamInfo<Md5Case> &info) { return std::string(info.param.name); });

TEST(Md5, GivesNoDigestForMissingUnreadableOrStoppedFiles)
{
    QTemporaryDir dir;
    EXPECT_FALSE(Md5::ofFile(dir.filePath(QStringLiteral("missing"))).has_value());
    // Opening a folder works but reading it fails: a read error must not pass for the end of file.
    EXPECT_FALSE(Md5::ofFile(dir.path()).has_value());
    // Reading this file fails with an I/O error even for root.
    EXPECT_FALSE(Md5::ofFile(QStringLiteral("/proc/self/mem")).has_value());
    const QString path = writeFile(QDir(dir.path()), QStringLiteral("f"), QByteArray("abc"));
    std::atomic<bool> stop{true};
    EXPECT_FALSE(Md5::ofFile(path, &stop).has_value());
    stop = false;
    EXPECT_TRUE(Md5::ofFile(path, &stop).has_value());
}

TEST(FileFacts, SizeDatesAndIdentity)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString path = writeFile(d, QStringLiteral("a.jpg"), QByteArray(1234, 'x'));
    EXPECT_EQ(FileFacts::size(path), 1234);
    EXPECT_FALSE(FileFacts::size(dir.path()).has_value());
    EXPECT_FALSE(FileFacts::size(d.filePath(QStringLiteral("missing"))).has_value());

    // A copy that kept an old modification time: the creation date is that earlier time.
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(FileFacts::modificationTimeSeconds(path), 1000000000);
    EXPECT_EQ(FileFacts::creationDate(path), old);
    // The one-call form agrees with the single facts; a folder has no size, a missing file nothing.
    const std::optional<FileAttributes> facts = FileFacts::attributes(path);
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->size, 1234);
    EXPECT_EQ(facts->modificationDate, old);
    EXPECT_EQ(facts->creationDate, old);
    EXPECT_EQ(facts->changeDate, FileFacts::changeDate(path));
    EXPECT_EQ(FileFacts::attributes(dir.path())->size, 0);
    EXPECT_FALSE(FileFacts::attributes(d.filePath(QStringLiteral("missing"))).has_value());

    const QString link = d.filePath(QStringLiteral("link.jpg"));
    ASSERT_TRUE(QFile::link(path, link));
    const QString hard = d.filePath(QStringLiteral("hard.jpg"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(hard).constData()), 0);
    const QString copy = d.filePath(QStringLiteral("copy.jpg"));
    ASSERT_TRUE(QFile::copy(path, copy));
    EXPECT_EQ(FileFacts::identity(path), FileFacts::identity(link));
    EXPECT_EQ(FileFacts::identity(path), FileFacts::identity(hard));
    EXPECT_NE(FileFacts::identity(path), FileFacts::identity(copy));
    EXPECT_FALSE(FileFacts::isImmutable(path));
    EXPECT_FALSE(FileFacts::isNetworkVolume(path));
}

// A locked file is known by the flag the file system keeps; read with the other facts where the
// file system reports it there, it must agree with asking the file itself.
TEST(FileFacts, ImmutableFlagReadWithTheOtherFactsAgreesWithTheFilesOwn)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString path = writeFile(d, QStringLiteral("locked.jpg"), "x");
    if (QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("+i"), path }) != 0)
        GTEST_SKIP() << "this file system or user cannot set the immutable flag";
    const std::optional<FileAttributes> locked = FileFacts::attributes(path);
    const bool lockedAsked = FileFacts::isImmutable(path);
    QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("-i"), path });
    ASSERT_TRUE(locked.has_value());
    EXPECT_TRUE(lockedAsked);
    EXPECT_TRUE(locked->immutable.value_or(true));
    const std::optional<FileAttributes> unlocked = FileFacts::attributes(path);
    ASSERT_TRUE(unlocked.has_value());
    EXPECT_FALSE(FileFacts::isImmutable(path));
    EXPECT_FALSE(unlocked->immutable.value_or(false));
}

TEST(FileFacts, PackagesAreFoldersWithAPackageExtension)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    for (const char *name : {"Lib.photoslibrary", "Old.photolibrary", "M.migratedphotolibrary", "X.app",
                             "Y.BUNDLE", "plain", "not.package"})
        d.mkdir(QString::fromLatin1(name));
    writeFile(d, QStringLiteral("file.app"), "x");
    EXPECT_TRUE(FileFacts::isPackage(d.filePath(QStringLiteral("Lib.photoslibrary"))));
    EXPECT_TRUE(FileFacts::isPackage(d.filePath(QStringLiteral("Old.photolibrary"))));
    EXPECT_TRUE(FileFacts::isPackage(d.filePath(QStringLiteral("M.migratedphotolibrary"))));
    EXPECT_TRUE(FileFacts::isPackage(d.filePath(QStringLiteral("X.app"))));
    EXPECT_TRUE(FileFacts::isPackage(d.filePath(QStringLiteral("Y.BUNDLE"))));
    EXPECT_FALSE(FileFacts::isPackage(d.filePath(QStringLiteral("plain"))));
    EXPECT_FALSE(FileFacts::isPackage(d.filePath(QStringLiteral("not.package"))));
    EXPECT_FALSE(FileFacts::isPackage(d.filePath(QStringLiteral("file.app"))));
}

class TrashTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        // A data folder that does not exist yet: the case in which Qt reports a false success.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
    }
    void TearDown() override
    {
        if (m_savedDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_savedDataHome);
    }
    QTemporaryDir m_home;
    QByteArray m_savedDataHome;
};

TEST_F(TrashTest, MovesIntoTheHomeTrashEvenWhenTheDataFolderWasMissing)
{
    QTemporaryDir files;
    const QString path = writeFile(QDir(files.path()), QStringLiteral("p.jpg"), "x");
    QString inTrash;
    ASSERT_TRUE(Trash::moveToTrash(path, &inTrash));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(inTrash));
    EXPECT_TRUE(inTrash.startsWith(Trash::homeTrashFolder() + QStringLiteral("/files/")));
    EXPECT_FALSE(Trash::moveToTrash(path)) << "a file that is gone cannot be trashed twice";
}

// A Trash that cannot hold the file fails it at once with a reason, and nothing is written into the
// current folder instead.
TEST_F(TrashTest, AnUnusableTrashFailsAtOnceAndWritesNowhereElse)
{
    QTemporaryDir files, current;
    const QString path = writeFile(QDir(files.path()), QStringLiteral("p.jpg"), "x"),
                  saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    for (const char *inTheWay : { "data/Trash/info", "data/Trash", "data" }) {
        QDir(m_home.path()).removeRecursively();
        ASSERT_TRUE(TestFiles::write(m_home.filePath(inTheWay), "a file"));
        QString why;
        EXPECT_FALSE(Trash::moveToTrash(path, nullptr, &why) || !why.contains("cannot be made")) << inTheWay;
        EXPECT_TRUE(QFile::exists(path) && QDir(current.path()).isEmpty());
    }
    QDir::setCurrent(saved);
}

TEST_F(TrashTest, TellsTrashFoldersApart)
{
    EXPECT_TRUE(Trash::isInsideTrashFolder(Trash::homeTrashFolder() + QStringLiteral("/files/a.jpg")));
    EXPECT_TRUE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk/.Trash-1000/files/a.jpg")));
    EXPECT_TRUE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk/.Trash/1000/files/a.jpg")));
    EXPECT_TRUE(
        Trash::isInsideTrashFolder(QStringLiteral("/backup/home/bob/.local/share/Trash/files/a.jpg")));
    EXPECT_TRUE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk/.Trash/a.jpg")));
    EXPECT_FALSE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk/share/Trash/a.jpg")));
    EXPECT_FALSE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk/Trash stuff/a.jpg")));
    // An older desktop's ".Trash-<user name>", other systems' Trashes in any case, a sandbox's, a snap's.
    for (const char *trash : { "/.Trash-x", "/.trash-1000", "/.Trashes/501", "/$Recycle.Bin/S-1-5",
             "/RECYCLER", "/recycled", "/#recycle", "/@Recycle", "/.recycle", "/.var/app/org.x.V/data/Trash",
             "/snap/v/1/.local/share/Trash", "/.TrashBin", "/.globaltrash", "/.recyclebin",
             "/.Gallery2/recycle", "/.Dropbox.Cache", "/.STVersions", "/.syncarchive", "/.Debris",
             "/.INSYNC-trash", "/.synologyworkingdirectory", "/.SYNC/archive", "/.Snapshot", "/.SNAPSHOTS",
             "/~Snapshot", "/#SNAPSHOT", "/@recently-snapshot", "/.ZFS", "/@.Snapshots",
             "/@gmt-2024.01.02-03.04.05", "/backups.BACKUPDB", "/.mobilebackups", "/.documentrevisions-v100",
             "/Daily.0", "/ALPHA.12", "/TimeShift/Snapshots", "/timeshift-btrfs/SNAPSHOTS-daily",
             "/BackInTime/h/u/1/20240102-030405-123", "/FileHistory/b/PC/DATA", "/APPDATA_oc1a2/Preview",
             "/.Cache/Thumbnails", "/storage/cache/thumbnails", "/@EADIR", "/.@__Thumb", "/.WDMC",
             "/.Thumbnails", "/.SH_thumbnails", "/.dtrash", "/.DTrash/files", "/.cache/darktable", "/.Cache",
             "/.local/share/geeqie/trash", "/Geeqie/Trash" })
        EXPECT_TRUE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk%1/a.jpg").arg(trash))) << trash;
    // A common word away from its system's place; a cloud's bin without the live "files" beside it.
    for (const char *folder : { "/Trashes", "/recycle", "/.var/app/org.x.V/cache/Trash", "/.Trash-",
             "/Gallery2/recycle", "/files_trashbin", "/sync/Archive", "/snapshots", "/daily.x", "/cache",
             "/geeqie", "/trash", "/.cache-old" })
        EXPECT_FALSE(Trash::isInsideTrashFolder(QStringLiteral("/media/disk%1/a.jpg").arg(folder))) << folder;
    EXPECT_FALSE(Trash::isInsideTrashFolder(QDir::currentPath() + QStringLiteral("/files/a.jpg")));
    EXPECT_FALSE(Trash::isInsideTrashFolder(QString()));
}

// The cache folder the environment names holds no photo of the user's, whatever its name; one set to
// the home or above it names no cache.
TEST_F(TrashTest, TheUsersCacheFolderIsLeftOutWhereverItIs)
{
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    const auto restore = qScopeGuard([&] {
        if (saved.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", saved);
    });
    const QString home = QDir::homePath();
    const std::tuple<QString, QString, bool> rows[]
        = { { "/srv/bob/tmp-cache", "/srv/bob/tmp-cache/x/a.jpg", true },
              { "/srv/bob/tmp-cache/", "/srv/bob/tmp-cache/a.jpg", true },
              { "/srv/bob/tmp-cache", "/srv/bob/tmp-cache-2/a.jpg", false },
              { home, home + "/Pictures/a.jpg", false }, { "/", home + "/Pictures/a.jpg", false } };
    for (const auto &[cache, photo, leftOut] : rows) {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        EXPECT_EQ(Trash::isInsideTrashFolder(photo), leftOut)
            << qPrintable(cache) << " " << qPrintable(photo);
    }
}

// A photo whose own folder may not be changed stays, and the refusal names that folder, not the
// Trash.
TEST_F(TrashTest, AnItemOfAFolderThatCannotBeChangedIsToldAsSuch)
{
    const QString folder = m_home.filePath("read-only");
    const QString path = folder + "/a.jpg";
    ASSERT_TRUE(TestFiles::write(path, "a photo"));
    // Read-only for this user; the administrator writes in any folder but one locked against changes.
    const bool locked = ::getuid() == 0
        ? QProcess::execute("chattr", { "+i", folder }) == 0
        : QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto unlock = qScopeGuard([&] {
        QProcess::execute("chattr", { "-i", folder });
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    if (!locked)
        GTEST_SKIP() << "this file system cannot lock the folder";
    const TrashMove done = Trash::move(path, nullptr);
    EXPECT_EQ(done.result, TrashMove::Result::FolderLocked) << qPrintable(done.why);
    EXPECT_TRUE(done.why.startsWith("its folder cannot be changed")) << qPrintable(done.why);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(QDir(Trash::homeTrashFolder() + "/info").isEmpty());
}

TEST_F(TrashTest, TellsAMountedBackupArchiveByItsFourFoldersSideBySide)
{
    const QString archive = m_home.filePath("archive");
    for (const char *view : { "ids", "snapshots", "hosts", "tags" })
        ASSERT_TRUE(QDir().mkpath(archive + "/" + view));
    for (const char *view : { "ids/1a2b", "SNAPSHOTS/latest", "hosts/pc/2024", "tags/weekly" })
        EXPECT_TRUE(Trash::isInsideTrashFolder(archive + "/" + view + "/a.jpg")) << view;
    // Three of the four are a user's folders like any others.
    ASSERT_TRUE(QDir(archive).rmdir("tags"));
    for (const char *view : { "ids/1a2b", "snapshots/latest", "hosts/pc/2024" })
        EXPECT_FALSE(Trash::isInsideTrashFolder(archive + "/" + view + "/a.jpg")) << view;
}

TEST(KnownTrashes, ReadsMountPointsWithTheirEscapesAndWithoutAutomounts)
{
    const QByteArray table = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                             "40 22 8:17 / /media/my\\040card rw shared:2 - vfat /dev/sdb1 rw\n"
                             "41 22 0:44 / /net/home rw - autofs systemd-1 rw\n"
                             "42 22 0:45 /x /mnt/back\\134slash rw - tmpfs tmpfs rw\nbroken line\n";
    EXPECT_EQ(KnownTrashes::mountPoints(table), QStringList({ "/", "/media/my card", "/mnt/back\\slash" }));
}

// A link to a file in a Trash known only by its identity is told as held, like the file itself.
TEST(KnownTrashes, ALinkIntoATrashIsHeldWhereverTheLinkLies)
{
    QTemporaryDir dir;
    const QString trashed = writeFile(QDir(dir.path()), QStringLiteral("bin/files/a.jpg"), "x");
    const QString link = dir.filePath(QStringLiteral("photos/a.jpg"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("photos"))));
    ASSERT_TRUE(QFile::link(trashed, link));
    const ScanMounts mounts = ScanMounts::survey({}, dir.filePath(QStringLiteral("bin")), QByteArray(), 0, nullptr);
    EXPECT_TRUE(mounts.holds(trashed, nullptr).answer.value_or(false));
    EXPECT_TRUE(mounts.holds(link, nullptr).answer.value_or(false));
    EXPECT_FALSE(mounts.holds(dir.filePath(QStringLiteral("photos")), nullptr).answer.value_or(true));
}

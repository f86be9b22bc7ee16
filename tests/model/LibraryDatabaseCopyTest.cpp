// The private copy of a library database never waits on a fifo in the library's place, and is one
// read's own: no other copy's end reaches it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <memory>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/LibraryCopyFolder.h"
#include "model/LibraryDatabaseCopy.h"
#include "platform/AppFolders.h"
#include "platform/Descriptor.h"
#include "support/TestFiles.h"

TEST(LibraryDatabaseCopy, AFifoDatabaseOrCompanionIsRefusedNotWaitedOn)
{
    for (const char *fifoSuffix : { "", "-wal" }) {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
        if (*fifoSuffix) {
            QFile out(database);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write("database");
        }
        const QString fifo = database + QLatin1String(fifoSuffix);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const LibraryDatabaseCopy copy(database);
        EXPECT_FALSE(QFileInfo::exists(copy.path() + QLatin1String(fifoSuffix))) << fifoSuffix;
        EXPECT_EQ(QFileInfo(copy.path()).isFile(), *fifoSuffix != '\0') << fifoSuffix;
    }
}

// A caches folder that others may write in takes no copy of the library's data.
TEST(LibraryDatabaseCopy, NoCopyGoesIntoACachesFolderOthersMayWrite)
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
    ASSERT_TRUE(TestFiles::write(database, "database"));
    ASSERT_TRUE(AppFolders::ensureFolder(AppFolders::cachesFolder()));
    QFile::setPermissions(AppFolders::cachesFolder(), QFileDevice::Permissions(0x7777));
    const QString copied = LibraryDatabaseCopy(database).path();
    const bool leftThere = QFileInfo::exists(AppFolders::cachesFolder() + QStringLiteral("/Photos.sqlite"));
    QFile::setPermissions(AppFolders::cachesFolder(), QFileDevice::Permissions(0x7700));
    EXPECT_TRUE(copied.isEmpty());
    EXPECT_FALSE(leftThere);
}

// The copy writes only data: holes of a sparse database stay holes, written zeros become holes,
// and data beyond the copy's bound leaves no copy. Only data is read, so 4 GiB cost nothing.
TEST(LibraryDatabaseCopy, HolesStayHolesAndDataIsBounded)
{
    const QByteArray data(2 << 20, '\x02');
    const struct {
        qint64 apparentSize;
        QByteArray data;
        qint64 maxDataBytes;
        qint64 maxAllocated; // -1: no copy
    } cases[] = {
        { qint64(4) << 30, QByteArray(16384, '\x01'), LibraryDatabaseCopy::kMaxDataBytes, 16384 + 65536 },
        { 8 << 20, QByteArray(8 << 20, '\0'), LibraryDatabaseCopy::kMaxDataBytes, 65536 },
        { 2 << 20, data, 1 << 20, -1 },
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
        ASSERT_TRUE(TestFiles::write(database, c.data) && QFile::resize(database, c.apparentSize));
        const LibraryDatabaseCopy copy(database, c.maxDataBytes);
        EXPECT_EQ(copy.tooLarge(), c.maxAllocated < 0) << c.apparentSize;
        struct stat info = {};
        const bool copied = ::stat(QFile::encodeName(copy.path()).constData(), &info) == 0;
        EXPECT_EQ(copied, c.maxAllocated >= 0) << c.apparentSize;
        if (copied) {
            EXPECT_EQ(info.st_size, c.apparentSize);
            EXPECT_LE(qint64(info.st_blocks) * 512, c.maxAllocated) << c.apparentSize;
        }
    }
}

// A read's copy whose end comes late (on the thread a bounded look left behind), after the next
// read of the same library made its own: the later copy keeps every file.
TEST(LibraryDatabaseCopy, ACopyEndingLateLeavesALaterCopyWhole)
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
    for (const QString &suffix : LibraryDatabaseCopy::companionSuffixes())
        ASSERT_TRUE(TestFiles::write(database + suffix, "data"));
    auto earlier = std::make_unique<LibraryDatabaseCopy>(database);
    const LibraryDatabaseCopy later(database);
    earlier.reset();
    for (const QString &suffix : LibraryDatabaseCopy::companionSuffixes())
        EXPECT_EQ(TestFiles::read(later.path() + suffix), "data") << suffix.toStdString();
}

// Folders a crashed run left, with or without their lock file, are cleared when the next read makes
// its own; one that another process's read holds by its lock, or a read of this one, stays.
TEST(LibraryDatabaseCopy, FoldersNoReadHoldsAreClearedAtTheNextRead)
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
    const QString parent = LibraryCopyFolder::parentFolder();
    const QString bare = parent + "/read-bare", unlocked = parent + "/read-unlocked",
                  locked = parent + "/read-locked";
    ASSERT_TRUE(TestFiles::write(database) && TestFiles::write(bare + "/Photos.sqlite")
        && TestFiles::write(unlocked + "/.held") && TestFiles::write(locked + "/.held"));
    const Descriptor elsewhere(::open(QFile::encodeName(locked + "/.held").constData(), O_RDWR | O_CLOEXEC));
    ASSERT_EQ(::flock(elsewhere.get(), LOCK_EX | LOCK_NB), 0);
    auto held = std::make_unique<LibraryDatabaseCopy>(database);
    const LibraryDatabaseCopy next(database);
    EXPECT_FALSE(QFileInfo::exists(bare) || QFileInfo::exists(unlocked));
    EXPECT_TRUE(
        QFileInfo::exists(locked) && QFileInfo::exists(held->path()) && QFileInfo::exists(next.path()));
    const QString heldFolder = QFileInfo(held->path()).absolutePath();
    held.reset();
    EXPECT_FALSE(QFileInfo::exists(heldFolder));
    EXPECT_TRUE(AppFolders::removeEntry(locked));
}

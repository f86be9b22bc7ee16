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

#include "LibraryTestLibrary.h"
#include "model/LibraryCopyFolder.h"
#include "model/LibraryDatabaseCopy.h"
#include "model/LibraryQuery.h"
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

// Two reads of one library, the first copy's end coming late (on the thread a bounded look left
// behind) after the second read made its copy: the second keeps every file and reads its item, which
// lies only in the "-wal" companion.
TEST(LibraryDatabaseCopy, ACopyEndingLateLeavesALaterCopyWhole)
{
    QTemporaryDir dir;
    LibraryTestLibrary library(dir.path(), LibraryTestLibrary::Layout::PhotosStore);
    library.holdChangesInWal();
    LibraryTestLibrary::Item item;
    item.fileName = QStringLiteral("only-in-wal.jpg");
    library.addItem(item);
    ASSERT_TRUE(TestFiles::write(library.databasePath() + QStringLiteral(".lock")));
    auto earlier = std::make_unique<LibraryDatabaseCopy>(library.databasePath());
    const LibraryDatabaseCopy later(library.databasePath());
    earlier.reset();
    for (const QString &suffix : LibraryDatabaseCopy::companionSuffixes())
        EXPECT_TRUE(QFileInfo::exists(later.path() + suffix)) << suffix.toStdString();
    SqliteConnection connection;
    ASSERT_TRUE(connection.open(later.path(), SqliteConnection::Mode::ReadOnly));
    LibraryQueryOptions options;
    options.markedAlbumName = QStringLiteral("Marked");
    EXPECT_EQ(LibraryQuery::items(connection, library.libraryPath(), options).size(), 1);
}

// Folders of reads that a crashed run left are cleared when the next read makes its own; those a
// read holds, in this process or (by its lock) in another, stay until that read ends.
TEST(LibraryDatabaseCopy, FoldersLeftByACrashedRunAreClearedAndHeldOnesKept)
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
    ASSERT_TRUE(TestFiles::write(database, "database"));
    const QString parent = LibraryCopyFolder::parentFolder();
    const QString crashedBare = parent + QStringLiteral("/read-crashedA"),
                  crashedLock = parent + QStringLiteral("/read-crashedB"),
                  otherProcess = parent + QStringLiteral("/read-elsewhere");
    for (const QString &folder : { crashedBare, crashedLock, otherProcess })
        ASSERT_TRUE(TestFiles::write(folder + QStringLiteral("/Photos.sqlite"), "copy"));
    ASSERT_TRUE(TestFiles::write(crashedLock + QStringLiteral("/.held"), ""));
    ASSERT_TRUE(TestFiles::write(otherProcess + QStringLiteral("/.held"), ""));
    // Another process's read holds its lock through a descriptor of its own.
    const Descriptor elsewhere(
        ::open(QFile::encodeName(otherProcess + QStringLiteral("/.held")).constData(), O_RDWR | O_CLOEXEC));
    ASSERT_EQ(::flock(elsewhere.get(), LOCK_EX | LOCK_NB), 0);

    auto held = std::make_unique<LibraryDatabaseCopy>(database);
    auto next = std::make_unique<LibraryDatabaseCopy>(database);
    EXPECT_FALSE(QFileInfo::exists(crashedBare));
    EXPECT_FALSE(QFileInfo::exists(crashedLock));
    EXPECT_TRUE(QFileInfo::exists(otherProcess + QStringLiteral("/Photos.sqlite")));
    EXPECT_TRUE(QFileInfo::exists(held->path()));
    EXPECT_TRUE(QFileInfo::exists(next->path()));
    const QString heldFolder = QFileInfo(held->path()).absolutePath();
    held.reset();
    next.reset();
    EXPECT_FALSE(QFileInfo::exists(heldFolder));
    EXPECT_TRUE(AppFolders::removeEntry(otherProcess));
}

// The private copy of a library database never waits on a fifo in the library's place.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/LibraryDatabaseCopy.h"
#include "platform/AppFolders.h"
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

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

namespace
{

qint64 allocatedBytes(const QString &path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? qint64(info.st_blocks) * 512 : -1;
}

} // namespace

// The copy writes only data: holes of a sparse database stay holes, written zeros become holes,
// and data beyond the copy's bound leaves no copy. Only data is read, so 4 GiB cost nothing.
TEST(LibraryDatabaseCopy, HolesStayHolesAndDataIsBounded)
{
    struct Case {
        const char *name;
        qint64 apparentSize;
        QByteArray data;
        qint64 maxDataBytes;
        bool copied;
    };
    QByteArray random(2 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < random.size(); ++i)
        random[i] = char((i * 2654435761u) >> 13);
    const Case cases[] = {
        { "sparse4GiB", qint64(4) << 30, QByteArray("SQLite format 3").leftJustified(16384, '\x01'),
            LibraryDatabaseCopy::kMaxDataBytes, true },
        { "writtenZeros", 8 << 20, QByteArray(8 << 20, '\0'), LibraryDatabaseCopy::kMaxDataBytes, true },
        { "dataOverTheBound", 2 << 20, random, 1 << 20, false },
        { "dataAtTheBound", 2 << 20, random, 2 << 20, true },
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString database = dir.filePath(QStringLiteral("Photos.sqlite"));
        ASSERT_TRUE(TestFiles::write(database, c.data));
        ASSERT_TRUE(QFile::resize(database, c.apparentSize));
        const LibraryDatabaseCopy copy(database, c.maxDataBytes);
        EXPECT_EQ(QFileInfo::exists(copy.path()), c.copied) << c.name;
        EXPECT_EQ(copy.tooLarge(), !c.copied) << c.name;
        if (!c.copied)
            continue;
        EXPECT_EQ(QFileInfo(copy.path()).size(), c.apparentSize) << c.name;
        QFile original(database), copied(copy.path());
        ASSERT_TRUE(original.open(QIODevice::ReadOnly) && copied.open(QIODevice::ReadOnly));
        EXPECT_EQ(copied.read(c.data.size()), original.read(c.data.size())) << c.name;
        const bool zeros = c.data.count('\0') == c.data.size();
        EXPECT_LE(allocatedBytes(copy.path()), (zeros ? 0 : c.data.size()) + 65536) << c.name;
    }
}

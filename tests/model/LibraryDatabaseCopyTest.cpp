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

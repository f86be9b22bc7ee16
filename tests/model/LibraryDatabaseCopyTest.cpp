// The private copy of a library database never waits on a fifo in the library's place.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/LibraryDatabaseCopy.h"

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

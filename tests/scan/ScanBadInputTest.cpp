// Whole scans of generated trees that once produced wrong groups: pictures that look the same but
// are not the same bytes, names that are not valid UTF-8, files rewritten behind the cache's back.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "ScanTestSupport.h"
#include "model/SqliteConnection.h"
#include "model/SqliteDBOperations.h"
#include "model/SqliteStatement.h"

using namespace ScanTestSupport;

namespace
{

qint64 cacheCount(const char *sql)
{
    SqliteConnection connection;
    const QString path
        = SqliteDBOperations::getDbPathInLibrary(SqliteDBOperations::cacheFileNameForScanType(0));
    if (!connection.open(path, SqliteConnection::Mode::ReadOnly))
        return -1;
    SqliteStatement count(connection, sql);
    return count.isValid() && count.step() == SQLITE_ROW ? count.columnInt64(0) : -1;
}

ScanOptions exactWithBmp()
{
    ScanOptions o = options(true);
    o.allowedExtensions.append(QStringLiteral("bmp"));
    return o;
}

} // namespace

// Uncompressed pictures of one size that differ in one pixel, a small square or a line of text keep
// the fingerprint of the original; only the true copy is an exact duplicate. A warm scan takes the
// sums from the cache.
TEST(ScanBadInputTest, ExactScanGroupsOnlyIdenticalBytes)
{
    QTemporaryDir dir;
    const QImage original = makePhoto(7, 320, 240).convertToFormat(QImage::Format_RGB888);
    ASSERT_TRUE(writeImage(original, dir.filePath("original.bmp")));
    ASSERT_TRUE(QFile::copy(dir.filePath("original.bmp"), dir.filePath("copy.bmp")));
    QImage pixel = original;
    pixel.setPixelColor(100, 100, QColor(255, 255, 255));
    ASSERT_TRUE(writeImage(pixel, dir.filePath("pixel.bmp")));
    QImage square = original;
    QPainter(&square).fillRect(10, 10, 6, 6, Qt::red);
    ASSERT_TRUE(writeImage(square, dir.filePath("square.bmp")));
    QImage stamped = original;
    {
        QPainter painter(&stamped);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(200, 230), QStringLiteral("NOT THE SAME"));
    }
    ASSERT_TRUE(writeImage(stamped, dir.filePath("stamped.bmp")));
    ASSERT_EQ(QFileInfo(dir.filePath("stamped.bmp")).size(), QFileInfo(dir.filePath("original.bmp")).size());

    const QList<QStringList> expected { { "copy.bmp", "original.bmp" } };
    const ScanResult cold = runScan(exactWithBmp(), { folderNode(dir.path()) });
    EXPECT_EQ(relativeGroups(cold.groups, dir.path()), expected);
    EXPECT_EQ(cacheCount("SELECT count(*) FROM md5Table"), 5);

    const ScanResult warm = runScan(exactWithBmp(), { folderNode(dir.path()) });
    EXPECT_EQ(relativeGroups(warm.groups, dir.path()), expected);
    EXPECT_EQ(warm.decoded, 0);
    // A similar scan still groups them all: they look the same.
    ScanOptions similar = options(false);
    similar.allowedExtensions.append(QStringLiteral("bmp"));
    const ScanResult looks = runScan(similar, { folderNode(dir.path()) });
    ASSERT_EQ(looks.groups.size(), 1);
    EXPECT_EQ(looks.groups.front().size(), 5);
}

// "u\xFF.jpg" decodes to the same text as "u\uFFFD.jpg": the undecodable name is passed over, so
// the unique photo is neither read twice nor its own duplicate, also inside an undecodable folder.
TEST(ScanBadInputTest, ANameThatIsNotUtf8NeverStandsForAnotherFile)
{
    QTemporaryDir dir;
    const QString twin = dir.filePath(QStringLiteral("u") + QChar(0xFFFD) + QStringLiteral(".jpg"));
    ASSERT_TRUE(writeImage(makePhoto(11), twin));
    ASSERT_TRUE(writeImage(makePhoto(12), dir.filePath("other.jpg")));
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::rename((folder + "/other.jpg").constData(), (folder + "/u\xFF.jpg").constData()), 0);
    ASSERT_EQ(::mkdir((folder + "/d\xFE").constData(), 0700), 0);
    ASSERT_TRUE(QFile::copy(twin, dir.filePath("inside.jpg")));
    ASSERT_EQ(::rename((folder + "/inside.jpg").constData(), (folder + "/d\xFE/inside.jpg").constData()), 0);

    for (const bool exact : { false, true }) {
        const ScanResult result = runScan(options(exact), { folderNode(dir.path()) });
        EXPECT_EQ(result.records, QStringList { twin }) << exact;
        EXPECT_TRUE(result.groups.isEmpty()) << exact;
    }
}

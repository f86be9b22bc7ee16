// Whole scans of generated trees that once produced wrong groups: pictures that look the same but
// are not the same bytes, names that are not valid UTF-8, files rewritten behind the cache's back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "ScanTestSupport.h"
#include "model/SqliteConnection.h"
#include "model/SqliteDBOperations.h"
#include "model/SqliteStatement.h"
#include "support/TestFiles.h"

using namespace ScanTestSupport;

namespace
{

qint64 cacheCount(const char *sql)
{
    SqliteConnection connection;
    const QString path = SqliteDBOperations::getDbPathInLibrary(
        SqliteDBOperations::cacheFileNameForScanType(ScanSource::thisComputer));
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
    // Scans of other tests in this process may have stored sums before.
    const qint64 sumsBefore = std::max<qint64>(0, cacheCount("SELECT count(*) FROM md5Table"));
    const ScanResult cold = runScan(exactWithBmp(), { folderNode(dir.path()) });
    EXPECT_EQ(relativeGroups(cold.groups, dir.path()), expected);
    EXPECT_EQ(cacheCount("SELECT count(*) FROM md5Table"), sumsBefore + 5);

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
// The photo and the folder passed over are counted for the end of the scan; other files are not.
TEST(ScanBadInputTest, ANameThatIsNotUtf8NeverStandsForAnotherFile)
{
    QTemporaryDir dir;
    const QString twin = dir.filePath(QStringLiteral("u") + QChar(0xFFFD) + QStringLiteral(".jpg"));
    ASSERT_TRUE(writeImage(makePhoto(11), twin));
    ASSERT_TRUE(writeImage(makePhoto(12), dir.filePath("other.jpg")));
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::rename((folder + "/other.jpg").constData(), (folder + "/u\xFF.jpg").constData()), 0);
    ASSERT_EQ(::mkdir((folder + "/d\xFE").constData(), 0700), 0);
    ASSERT_TRUE(TestFiles::write(dir.filePath("notes.txt"), "x"));
    ASSERT_EQ(::rename((folder + "/notes.txt").constData(), (folder + "/n\xFD.txt").constData()), 0);
    ASSERT_TRUE(QFile::copy(twin, dir.filePath("inside.jpg")));
    ASSERT_EQ(::rename((folder + "/inside.jpg").constData(), (folder + "/d\xFE/inside.jpg").constData()), 0);

    for (const bool exact : { false, true }) {
        const ScanResult result = runScan(options(exact), { folderNode(dir.path()) });
        EXPECT_EQ(result.records, QStringList { twin }) << exact;
        EXPECT_TRUE(result.groups.isEmpty()) << exact;
        EXPECT_EQ(result.walkReport.skippedForName, 2) << exact;
        EXPECT_EQ(result.walkReport.firstSkippedForNameFolder, dir.path()) << exact;
    }
    // Names the temporary folder's own removal cannot spell.
    ::unlink((folder + "/u\xFF.jpg").constData());
    ::unlink((folder + "/n\xFD.txt").constData());
    ::unlink((folder + "/d\xFE/inside.jpg").constData());
    ::rmdir((folder + "/d\xFE").constData());
}

namespace
{

bool cacheExec(const char *sql)
{
    SqliteConnection connection;
    const QString path = SqliteDBOperations::getDbPathInLibrary(
        SqliteDBOperations::cacheFileNameForScanType(ScanSource::thisComputer));
    const bool done = connection.open(path, SqliteConnection::Mode::ReadWrite) && connection.exec(sql);
    if (!done)
        ADD_FAILURE() << connection.errorMessage().toStdString();
    return done;
}

// Rewrites `path` in place with the bytes of `from`, then puts its old modification time back.
bool rewriteKeepingTime(const QString &path, const QString &from)
{
    const QDateTime modified = QFileInfo(path).lastModified();
    QFile source(from);
    QFile target(path);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = source.readAll();
    return target.write(bytes) == bytes.size()
        && target.setFileTime(modified, QFileDevice::FileModificationTime);
}

} // namespace

// A photo rewritten with the same size and its old modification time set back is read again
// (its inode change time moved), in both modes.
TEST(ScanBadInputTest, ARewrittenFileIsNotMatchedByItsOldFingerprint)
{
    for (const bool exact : { false, true }) {
        QTemporaryDir dir;
        ScanOptions o = exact ? exactWithBmp() : options(false);
        o.allowedExtensions.append(QStringLiteral("bmp"));
        ASSERT_TRUE(
            writeImage(makePhoto(21).convertToFormat(QImage::Format_RGB888), dir.filePath("one.bmp")));
        ASSERT_TRUE(
            writeImage(makePhoto(22).convertToFormat(QImage::Format_RGB888), dir.filePath("two.bmp")));
        ASSERT_TRUE(QFile::copy(dir.filePath("one.bmp"), dir.filePath("twin.bmp")));
        const QList<QStringList> before { { "one.bmp", "twin.bmp" } };
        EXPECT_EQ(relativeGroups(runScan(o, { folderNode(dir.path()) }).groups, dir.path()), before);

        ASSERT_TRUE(rewriteKeepingTime(dir.filePath("twin.bmp"), dir.filePath("two.bmp")));
        const ScanResult after = runScan(o, { folderNode(dir.path()) });
        const QList<QStringList> expected { { "twin.bmp", "two.bmp" } };
        EXPECT_EQ(relativeGroups(after.groups, dir.path()), expected) << exact;
        // An exact scan never read two.bmp whole before: its ends differed from the others'.
        EXPECT_EQ(after.decoded, exact ? 2 : 1) << exact;
    }
}

// A cache made before rows kept the change time: the column is added, every old row is stale once,
// and the next scan reads nothing again.
TEST(ScanBadInputTest, ACacheWithoutChangeTimesIsMigratedAndItsRowsReadAgain)
{
    QTemporaryDir dir;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(writeImage(makePhoto(30 + i), dir.filePath(QStringLiteral("p%1.jpg").arg(i))));
    ASSERT_TRUE(QFile::copy(dir.filePath("p0.jpg"), dir.filePath("p0-copy.jpg")));
    const ScanResult first = runScan(options(false), { folderNode(dir.path()) });
    ASSERT_EQ(first.decoded, 4);
    ASSERT_TRUE(cacheExec("ALTER TABLE ExfInfo DROP COLUMN changeTime"));

    const ScanResult migrated = runScan(options(false), { folderNode(dir.path()) });
    EXPECT_EQ(migrated.decoded, 4);
    EXPECT_EQ(migrated.groups, first.groups);
    EXPECT_EQ(cacheCount("SELECT count(*) FROM ExfInfo WHERE changeTime IS NOT NULL"), 4);
    EXPECT_EQ(runScan(options(false), { folderNode(dir.path()) }).decoded, 0);
}

// Fifos and devices where a regular file was expected: every reader gives up at once with one log
// line instead of waiting for a writer that never comes or reading without end. A fault here hangs
// the test rather than failing it, which the test runner's time limit reports.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "platform/ImageDensity.h"
#include "platform/ImageSource.h"
#include "platform/Log.h"
#include "platform/Md5.h"
#include "platform/PropertyList.h"
#include "platform/QtImageDecoder.h"
#include "platform/RegularFile.h"
#include "platform/UserDefaults.h"
#include "support/TestFiles.h"

namespace
{

enum class Kind { Fifo, DevZeroLink };

QString makeSpecial(const QTemporaryDir &dir, const QString &name, Kind kind)
{
    const QString path = dir.filePath(name);
    if (kind == Kind::Fifo)
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        EXPECT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path));
    return path;
}

class SpecialFile : public ::testing::TestWithParam<Kind>
{
};

} // namespace

TEST_P(SpecialFile, ReadersRefuseIt)
{
    QTemporaryDir dir;
    const QString photo = makeSpecial(dir, QStringLiteral("photo.jpg"), GetParam());
    EXPECT_FALSE(RegularFile::openForReading(photo).isValid());
    EXPECT_FALSE(Md5::ofFile(photo).has_value());
    EXPECT_FALSE(ImageSource(photo).isValid());
    EXPECT_TRUE(ImageSource(photo).thumbnail(64).isNull());
    EXPECT_TRUE(ImageSource(photo).properties().isEmpty());
    EXPECT_FALSE(ImageDensity::read(photo).has_value());
    EXPECT_FALSE(QtImageDecoder::readHeader(photo).isValid());
    EXPECT_TRUE(QtImageDecoder::decodeScaled(photo, 64).isNull());
    EXPECT_FALSE(PropertyList::readFile(photo).has_value());
    QString error;
    EXPECT_FALSE(RegularFile::copy(photo, dir.filePath(QStringLiteral("copy")), &error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("copy"))));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFile, ::testing::Values(Kind::Fifo, Kind::DevZeroLink));

// Reads stop at the size the file had when opened.
TEST(RegularFile, ReadsAndCopiesAreBoundedAndWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bin"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray(300000, 'x'));
    out.close();
    EXPECT_EQ(RegularFile::readAll(path, 300000).value_or(QByteArray()).size(), 300000);
    EXPECT_FALSE(RegularFile::readAll(path, 299999).has_value());
    QString error;
    ASSERT_TRUE(RegularFile::copy(path, dir.filePath(QStringLiteral("b.bin")), &error));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("b.bin"))).size(), 300000);
    EXPECT_EQ(Md5::ofFile(path), Md5::ofFile(dir.filePath(QStringLiteral("b.bin"))));
}

// The program's own log and settings file made fifos: the start goes on without them.
TEST(SpecialFile, ALogOrSettingsFifoDoesNotBlockTheStart)
{
    AppFolders::ensureFolder(AppFolders::logsFolder());
    QFile::remove(AppFolders::logFilePath());
    ASSERT_EQ(::mkfifo(QFile::encodeName(AppFolders::logFilePath()).constData(), 0600), 0);
    Log::line(QStringLiteral("nobody reads this"));
    QFile::remove(AppFolders::logFilePath());

    QTemporaryDir dir;
    const QString settings = makeSpecial(dir, QStringLiteral("settings.plist"), Kind::Fifo);
    UserDefaults store(settings);
    store.registerDefaults({ { QStringLiteral("level"), 4.0 } });
    EXPECT_EQ(store.doubleForKey(QStringLiteral("level")), 4.0);
    store.setObject(QStringLiteral("level"), 5.0);
    EXPECT_TRUE(QFileInfo(settings).isFile());
}

TEST(RegularFile, AMissingFileIsReadAsNothingWithoutALogLine)
{
    QFile::remove(AppFolders::logFilePath());
    EXPECT_FALSE(PropertyList::readFile(QStringLiteral("/nonexistent/marked-albums.plist")).has_value());
    EXPECT_FALSE(TestFiles::read(AppFolders::logFilePath()).contains("marked-albums.plist"));
}

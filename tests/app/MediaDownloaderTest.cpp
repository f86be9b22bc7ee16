// Cloud names become safe file names, and downloads never leave stale or partial files behind.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "app/MediaDownloader.h"

namespace
{

struct NameCase {
    const char *name;
    const char *safe; // nullptr: refused
};

class SanitisedNames : public testing::TestWithParam<NameCase>
{
};

QString fileUrl(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}

// Downloads block, so they are refused on the GUI thread; local files need no event loop here.
template <typename Call> auto offGuiThread(Call call)
{
    decltype(call()) result;
    std::thread worker([&] { result = call(); });
    worker.join();
    return result;
}

} // namespace

TEST_P(SanitisedNames, BecomeOneFileNameOrAreRefused)
{
    const std::optional<QString> safe
        = MediaDownloader::sanitizedFileName(QString::fromUtf8(GetParam().name));
    if (!GetParam().safe) {
        EXPECT_FALSE(safe.has_value());
        return;
    }
    ASSERT_TRUE(safe.has_value());
    EXPECT_EQ(*safe, QString::fromUtf8(GetParam().safe));
}

INSTANTIATE_TEST_SUITE_P(Names, SanitisedNames,
    testing::Values(NameCase { "A1_x.jpg", "A1_x.jpg" }, NameCase { "../../etc/passwd", ".._.._etc_passwd" },
        NameCase { "a/b", "a_b" }, NameCase { ".", nullptr }, NameCase { "..", nullptr },
        NameCase { "", nullptr }, NameCase { "Grüße.heic", "Grüße.heic" }));

TEST(MediaDownloader, NulAndOverlongNamesAreMadeSafeAndPathsStayInTheFolder)
{
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    EXPECT_EQ(MediaDownloader::sanitizedFileName(withNul), QStringLiteral("a_b"));
    EXPECT_LE(MediaDownloader::sanitizedFileName(QString(300, QChar(0x00e9)))->toUtf8().size(), 255);
    QTemporaryDir dir;
    const auto path = MediaDownloader::targetPath(dir.path(), QStringLiteral("../x.jpg"));
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(QFileInfo(*path).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
}

TEST(MediaDownloader, WritesAFreshCopyAndDropsALeftoverWhenTheDownloadFails)
{
    QTemporaryDir source;
    QTemporaryDir target;
    const QString folder = target.filePath(QStringLiteral("thumbnails"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString imagePath = source.filePath(QStringLiteral("remote.png"));
    ASSERT_TRUE(image.save(imagePath));

    const auto written = offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(fileUrl(imagePath) + QStringLiteral("=s220"),
            QStringLiteral("A1"), QStringLiteral("x.png"), folder);
    });
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, QDir(folder).filePath(QStringLiteral("A1_x.png")));

    // The same name again, but the source is gone: the earlier copy must not pass for the new one.
    QFile::remove(imagePath);
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(
            fileUrl(imagePath), QStringLiteral("A1"), QStringLiteral("x.png"), folder);
    }).has_value());
    EXPECT_FALSE(QFile::exists(*written));

    // Content that is not an image is not taken as one.
    const QString textPath = source.filePath(QStringLiteral("t.txt"));
    QFile text(textPath);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an image");
    text.close();
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(
            fileUrl(textPath), QStringLiteral("B"), QStringLiteral("t"), folder);
    }).has_value());
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::download(QStringLiteral("::not a url"), folder, QStringLiteral("n"));
    }).has_value());
    // On the GUI thread a download would freeze the window: it is refused.
    QImage(4, 4, QImage::Format_RGB32).save(imagePath);
    EXPECT_FALSE(MediaDownloader::download(fileUrl(imagePath), folder, QStringLiteral("gui")).has_value());
}

TEST(MediaDownloader, ATimeoutOrAStopRequestEndsADownloadThatNeverAnswers)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString url = QStringLiteral("http://127.0.0.1:%1/x.jpg").arg(silent.serverPort());
    QTemporaryDir target;
    std::atomic<bool> stop { false };
    std::atomic<int> finished { 0 };
    std::optional<QString> timedOut, stopped;
    // The server needs this thread's event loop, so the blocking downloads run on their own threads.
    std::thread byTimeout([&] {
        timedOut = MediaDownloader::download(url, target.path(), QStringLiteral("a"), nullptr, 300);
        ++finished;
    });
    std::thread byStop([&] {
        stopped = MediaDownloader::download(url, target.path(), QStringLiteral("b"), &stop);
        ++finished;
    });
    stop = true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished == 2)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    byTimeout.join();
    byStop.join();
    EXPECT_FALSE(timedOut.has_value());
    EXPECT_FALSE(stopped.has_value());
}

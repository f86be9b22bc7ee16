// Cloud names become safe file names, downloads never leave stale or partial files behind, and a
// hostile link or answer is refused or cut off within its bounds.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "app/MediaDownloader.h"
#include "platform/AppFolders.h"
#include "platform/HttpClient.h"
#include "platform/StaticTokenSource.h"
#include "support/FakeHttpServer.h"
#include "support/TestFiles.h"

namespace
{

struct NameCase {
    const char *name;
    const char *safe; // nullptr: refused
};

class SanitisedNames : public testing::TestWithParam<NameCase>
{
};

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
    FakeHttpServer server;
    QTemporaryDir target;
    const QString folder = target.filePath(QStringLiteral("thumbnails"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    server.script("GET", QStringLiteral("/remote.png"),
        { FakeResponse::typed(200, "image/png", png), FakeResponse::text(404, "gone") });
    server.script("GET", QStringLiteral("/t.txt"), { FakeResponse::text(200, "not an image") });
    const QString link = server.base() + QStringLiteral("/remote.png");

    const auto written = offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(link + QStringLiteral("=s220"), { server.url() },
            QStringLiteral("A1"), QStringLiteral("x.png"), folder, png.size());
    });
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, QDir(folder).filePath(QStringLiteral("A1_x.png")));
    EXPECT_EQ(TestFiles::openToOthers({ folder }), QStringList());

    // The same name again, but the source is gone: the earlier copy must not pass for the new one.
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(
            link, { server.url() }, QStringLiteral("A1"), QStringLiteral("x.png"), folder, png.size());
    }).has_value());
    EXPECT_FALSE(QFile::exists(*written));

    // Content that is not an image is not taken as one, nor kept.
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(server.base() + QStringLiteral("/t.txt"), { server.url() },
            QStringLiteral("B"), QStringLiteral("t"), folder, 12);
    }).has_value());
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("B_t"))));
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::download(QStringLiteral("::not a url"), {}, folder, QStringLiteral("n"), 0);
    }).has_value());
    // A folder of the program's that others may write in takes no copy.
    server.script("GET", QStringLiteral("/own.png"), { FakeResponse::typed(200, "image/png", png) });
    const QString own = AppFolders::thumbnailsFolder();
    ASSERT_TRUE(AppFolders::ensureFolder(own));
    QFile::setPermissions(own, QFileDevice::Permissions(0x7777));
    const auto shared = offGuiThread([&] {
        return MediaDownloader::downloadDriveImage(server.base() + QStringLiteral("/own.png"), { server.url() },
            QStringLiteral("C"), QStringLiteral("x.png"), own, png.size());
    });
    QFile::setPermissions(own, QFileDevice::Permissions(0x7700));
    EXPECT_FALSE(shared.has_value());
    EXPECT_FALSE(QFile::exists(QDir(own).filePath(QStringLiteral("C_x.png"))));
    // On the GUI thread a download would freeze the window: it is refused.
    EXPECT_FALSE(
        MediaDownloader::download(link, { server.url() }, folder, QStringLiteral("gui"), 0).has_value());
}

// Links and answers a hostile listing or server may give: none leaves a file or runs unbounded.
struct HostileCase {
    const char *name;
    FakeResponse answer;
    qint64 listedBytes;
    HttpResponse::Failure failure;
    const char *link = nullptr; // instead of the server's
};

class HostileDownloads : public testing::TestWithParam<HostileCase>
{
};

TEST_P(HostileDownloads, FailWithoutAFileAndWithinTheirBounds)
{
    const HostileCase c = GetParam();
    FakeHttpServer server;
    server.script("GET", QStringLiteral("/f"), { c.answer });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.jpg"));
    const HttpResponse response = offGuiThread([&] {
        // Silence may last longer than a trickle's pause, so only the deadline can cut one. The token
        // is the server's: it may not follow a redirect to another host.
        HttpClient client(HttpClient::Options { HttpClient::Mode::blocking,
            std::make_shared<StaticTokenSource>(QStringLiteral("t"), QList<QUrl> { server.url() }), {},
            2000 });
        HttpRequest request
            = HttpRequest::get(c.link ? QUrl(QString::fromUtf8(c.link)) : server.url(QStringLiteral("/f")));
        request.limitToListedSize(c.listedBytes, 500);
        return MediaDownloader::saveTo(client, request, path);
    });
    EXPECT_EQ(response.failure, c.failure) << response.describe().toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

namespace
{

FakeResponse body(const QByteArray &bytes, bool announced, int trickleMs = 0)
{
    FakeResponse answer = FakeResponse::text(200, bytes);
    answer.omitLength = !announced;
    answer.trickleMs = trickleMs;
    return answer;
}

FakeResponse redirectTo(const QByteArray &location)
{
    FakeResponse answer = FakeResponse::text(302, {});
    answer.headers.append(qMakePair(QByteArray("Location"), location));
    return answer;
}

using F = HttpResponse::Failure;
const QByteArray kFourMb(4 << 20, 'x');

} // namespace

INSTANTIATE_TEST_SUITE_P(Answers, HostileDownloads,
    testing::Values(HostileCase { "pastTheListedSize", body(kFourMb, false), 700 * 1024, F::tooLarge },
        HostileCase { "announcedPastIt", body(kFourMb, true), 700 * 1024, F::tooLarge },
        HostileCase { "unlistedPastTheCap", body(kFourMb, false), 0, F::tooLarge },
        HostileCase { "trickle", body(QByteArray(1000, 'x'), true, 100), 10, F::timeout },
        HostileCase { "redirectToAFile", redirectTo("file:///etc/passwd"), 10, F::status },
        HostileCase { "redirectToPlainHttp", redirectTo("http://192.0.2.1/f"), 10, F::refused },
        HostileCase { "tokenToAnotherHost", redirectTo("https://localhost:1/f"), 10, F::refused },
        HostileCase { "fileLink", {}, 10, F::refused, "file:///proc/self/environ" },
        HostileCase { "plainHttpLink", {}, 10, F::refused, "http://192.0.2.1/x=s220" },
        HostileCase { "noHost", {}, 10, F::refused, "https:///x" }),
    [](const auto &info) { return std::string(info.param.name); });

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
        timedOut = MediaDownloader::download(
            url, { QUrl(url) }, target.path(), QStringLiteral("a"), 10, nullptr, 300);
        ++finished;
    });
    std::thread byStop([&] {
        stopped
            = MediaDownloader::download(url, { QUrl(url) }, target.path(), QStringLiteral("b"), 10, &stop);
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

// A refused data folder linked to a folder of the user's: a download's pre-removal takes nothing there.
TEST(MediaDownloader, ARefusedDataFolderLeadingToTheUsersFolderLosesNothing)
{
    FakeHttpServer server;
    server.script("GET", QStringLiteral("/f"), { FakeResponse::typed(200, "image/png", "png") });
    QTemporaryDir dir;
    const QString previous = AppFolders::rootOverride();
    TestFiles::write(dir.filePath("docs/thumbnails/C_x.png"), "mine");
    QDir(dir.path()).mkpath("data");
    QFile::setPermissions(dir.filePath("data"), QFileDevice::Permissions(0x7777));
    QFile::link(dir.filePath("docs"), dir.filePath("data/Quennary"));
    AppFolders::setRootOverride(dir.path());
    EXPECT_FALSE(offGuiThread([&] {
        return MediaDownloader::download(
            server.base() + "/f", { server.url() }, AppFolders::thumbnailsFolder(), "C_x.png", 3);
    }).has_value());
    AppFolders::setRootOverride(previous);
    EXPECT_EQ(QFileInfo(dir.filePath("docs/thumbnails/C_x.png")).size(), 4);
}

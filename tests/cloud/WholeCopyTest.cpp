// A cloud copy is whole or there is none: a broken, compressed or lying answer leaves no file.
// Dropbox copies are held to their listed size and content hash, Drive's re-encoded images to the
// length their answer announces; a Drive link reaches plain http only at the configured address.
#include <gtest/gtest.h>

#include <thread>

#include <QDir>
#include <QTemporaryDir>

#include "app/MediaDownloader.h"
#include "cloud/DropboxContentHash.h"
#include "cloud/DropboxTestSupport.h"
#include "support/NaturalPhoto.h"

namespace
{

const QByteArray kPicture = NaturalPhoto::jpegBytes(7, 160, 120, 95);

struct CopyCase {
    const char *name;
    void (*shape)(FakeResponse &);
    bool dropboxKept;
    bool driveKept;
};

class WholeCopies : public testing::TestWithParam<CopyCase>
{
};

bool driveCopy(const QUrl &link, const QUrl &configured, const QString &folder)
{
    std::optional<QString> path;
    std::thread([&] {
        path = MediaDownloader::downloadDriveImage(
            link.toString() + "=s220", { configured }, "id", "a.jpg", folder, kPicture.size());
    }).join();
    return path.has_value();
}

} // namespace

TEST_P(WholeCopies, AreKeptAndAnythingLessLeavesNoFile)
{
    const CopyCase c = GetParam();
    QTemporaryDir dir;
    DropboxFixture f;
    f.account.addFile(QStringLiteral("/a.jpg"), kPicture);
    f.account.shapeDownloads(c.shape);
    FakeResponse answer = FakeResponse::typed(200, "image/jpeg", kPicture);
    c.shape(answer);
    f.server.script("GET", QStringLiteral("/img"), { answer });
    ASSERT_TRUE(f.scan({ dropboxFolder(QStringLiteral("Dropbox")) }));
    ASSERT_EQ(f.delegate.records.size(), 1);
    ImageFileInfo &listed = *f.delegate.records.first();
    std::thread([&] { f.handler->downloadFile(listed, dir.path()); }).join();
    EXPECT_EQ(!listed.localThumbPath.isEmpty(), c.dropboxKept);
    EXPECT_EQ(driveCopy(f.server.url(QStringLiteral("/img")), f.server.url(), dir.path()), c.driveKept);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), int(c.dropboxKept) + int(c.driveKept));
    for (const char *path : { "/img", "/2/files/download" })
        EXPECT_EQ(f.server.requests(QLatin1String(path)).value(0).header("Accept-Encoding").toStdString(), "identity");
}

// Drive's images are re-encoded: only the listing's exact size or hash tells other bytes of the same
// length from the whole picture; a head is told by its length or by its missing closing marker.
INSTANTIATE_TEST_SUITE_P(Answers, WholeCopies,
    testing::Values(CopyCase { "whole", [](FakeResponse &) {}, true, true },
        CopyCase { "cutChunkedBody", [](FakeResponse &a) { a.chunked = a.closeEarly = true; }, false, false },
        CopyCase { "compressedBody",
            [](FakeResponse &a) {
                a.body = qCompress(a.body).mid(4);
                a.headers.append(qMakePair(QByteArray("Content-Encoding"), QByteArray("deflate")));
                a.closeEarly = true;
            },
            false, false },
        CopyCase { "shortContentLength", [](FakeResponse &a) { a.announcedLength = 1000; }, false, false },
        CopyCase { "longContentLength", [](FakeResponse &a) { a.announcedLength = a.body.size() + 1000; },
            false, false },
        CopyCase { "noContentLength", [](FakeResponse &a) { a.omitLength = true; }, true, false },
        CopyCase {
            "partialContent", [](FakeResponse &a) { a.status = 206, a.body.truncate(1000); }, false, false },
        CopyCase { "lyingHash", [](FakeResponse &a) { a.body[a.body.size() / 2] = ~a.body[a.body.size() / 2]; },
            false, true }),
    [](const testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.name); });

// The digest of several 4 MiB blocks, fed in pieces that straddle them, is the provider's.
TEST(DropboxContentHash, IsTheProvidersOverSeveralBlocks)
{
    QByteArray content(9 * 1024 * 1024 + 3, '\0');
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = char(i * 7 % 251);
    DropboxContentHash digest;
    for (qsizetype at = 0; at < content.size(); at += 1000003)
        digest.addData(QByteArrayView(content).sliced(at, std::min<qsizetype>(1000003, content.size() - at)));
    EXPECT_EQ(digest.result(), FakeDropbox::contentHash(content));
}

// Not another service on this machine, not even through a redirect from the configured address.
TEST(DriveLinks, TakePlainHttpOnlyToTheConfiguredAddress)
{
    FakeHttpServer drive, local;
    QTemporaryDir dir;
    for (FakeHttpServer *server : { &drive, &local })
        server->script("GET", QStringLiteral("/img"), { FakeResponse::typed(200, "image/jpeg", kPicture) });
    FakeResponse hop = FakeResponse::text(302, {});
    hop.headers.append(qMakePair(QByteArray("Location"), local.url(QStringLiteral("/img")).toEncoded()));
    drive.script("GET", QStringLiteral("/hop"), { hop });
    EXPECT_TRUE(driveCopy(drive.url(QStringLiteral("/img")), drive.url(), dir.path()));
    EXPECT_FALSE(driveCopy(local.url(QStringLiteral("/img")), drive.url(), dir.path()));
    EXPECT_FALSE(driveCopy(drive.url(QStringLiteral("/hop")), drive.url(), dir.path()));
    EXPECT_EQ(local.totalHits(), 0);
}

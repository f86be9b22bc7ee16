// A cloud copy is whole or there is none: a broken, compressed or lying answer leaves no file and
// no local copy. Dropbox copies are held to the size and content hash of their listing, Drive's
// re-encoded images to the length their answer announces; a Drive link from a listing reaches no
// other service on this machine.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/MediaDownloader.h"
#include "cloud/DriveService.h"
#include "cloud/DriveSource.h"
#include "cloud/DropboxTestSupport.h"
#include "cloud/FakeDrive.h"
#include "cloud/GoogleSignIn.h"
#include "model/GDFoldersList.h"

namespace
{

const QByteArray &picture()
{
    static const QByteArray jpeg = noiseJpeg(7, QSize(160, 120));
    return jpeg;
}

struct CopyCase {
    const char *name;
    std::function<void(FakeResponse &)> shape;
    bool dropboxKept;
    bool driveKept;
};

class WholeCopies : public testing::TestWithParam<CopyCase>
{
};

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

TEST_P(WholeCopies, AreKeptAndAnythingLessLeavesNoFile)
{
    const CopyCase c = GetParam();
    QTemporaryDir dir;
    const QString dropboxFolder = dir.filePath(QStringLiteral("dropbox"));
    const QString driveFolder = dir.filePath(QStringLiteral("drive"));
    DropboxFixture f;
    f.account.addFile(QStringLiteral("/a.jpg"), picture());
    f.account.shapeDownloads(c.shape);
    ASSERT_TRUE(f.scan({ ::dropboxFolder(QStringLiteral("Dropbox")) }));
    ASSERT_EQ(f.delegate.records.size(), 1);
    ImageFileInfo &listed = *f.delegate.records.first();
    FakeResponse answer = FakeResponse::typed(200, "image/jpeg", picture());
    c.shape(answer);
    f.server.script("GET", QStringLiteral("/img"), { answer });

    std::optional<QString> drive;
    std::thread([&] {
        f.handler->downloadFile(listed, dropboxFolder);
        drive = MediaDownloader::downloadDriveImage(f.server.base() + QStringLiteral("/img=s220"),
            { f.server.url() }, QStringLiteral("id"), QStringLiteral("a.jpg"), driveFolder, picture().size());
    }).join();

    EXPECT_EQ(!listed.localThumbPath.isEmpty(), c.dropboxKept);
    EXPECT_EQ(filesIn(dropboxFolder).size(), c.dropboxKept ? 1 : 0)
        << filesIn(dropboxFolder).join(' ').toStdString();
    EXPECT_EQ(drive.has_value(), c.driveKept);
    EXPECT_EQ(filesIn(driveFolder).size(), c.driveKept ? 1 : 0)
        << filesIn(driveFolder).join(' ').toStdString();
    if (c.dropboxKept) {
        QFile copy(listed.localThumbPath);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), picture());
    }
    for (const RecordedRequest &request : f.server.requests()) {
        if (request.method == "GET" || request.path.endsWith(QLatin1String("/download"))) {
            EXPECT_EQ(request.header("Accept-Encoding").toStdString(), "identity")
                << request.path.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, WholeCopies,
    testing::Values(CopyCase { "whole", [](FakeResponse &) {}, true, true },
        CopyCase { "cutChunkedBody",
            [](FakeResponse &a) {
                a.chunked = true;
                a.closeEarly = true;
            },
            false, false },
        CopyCase { "compressedBody",
            [](FakeResponse &a) {
                a.body = qCompress(a.body).mid(4);
                a.headers.append(qMakePair(QByteArray("Content-Encoding"), QByteArray("deflate")));
                a.closeEarly = true;
            },
            false, false },
        // Drive's images are re-encoded, so only the provider's exact size can tell a head from a
        // whole picture; a head that decodes passes there.
        CopyCase { "shortContentLength", [](FakeResponse &a) { a.announcedLength = 1000; }, false, true },
        CopyCase { "noContentLength", [](FakeResponse &a) { a.omitLength = true; }, true, false },
        CopyCase { "longContentLength", [](FakeResponse &a) { a.announcedLength = a.body.size() + 1000; },
            false, false },
        // Same size, other bytes: only a content hash tells, and Drive's images have none.
        CopyCase { "lyingHash",
            [](FakeResponse &a) { a.body[a.body.size() / 2] = char(a.body[a.body.size() / 2] ^ 0x55); },
            false, true }),
    [](const testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.name); });

namespace
{

struct LinkCase {
    const char *name;
    const char *path; // on the configured Drive address, or on another service when `elsewhere`
    bool elsewhere;
    bool fetched;
};

class DriveLinks : public testing::TestWithParam<LinkCase>
{
};

} // namespace

// A listing's image link reaches plain http only at the Drive address the program was set up with,
// never another service on this machine, not even by a redirect.
TEST_P(DriveLinks, UsePlainHttpOnlyToTheConfiguredAddress)
{
    const LinkCase c = GetParam();
    FakeHttpServer drive;
    FakeHttpServer local;
    const FakeResponse image = FakeResponse::typed(200, "image/jpeg", picture());
    drive.script("GET", QStringLiteral("/img"), { image });
    local.script("GET", QStringLiteral("/img"), { image });
    FakeResponse hop = FakeResponse::text(302, {});
    hop.headers.append(qMakePair(QByteArray("Location"), local.url(QStringLiteral("/img")).toEncoded()));
    drive.script("GET", QStringLiteral("/hop"), { hop });
    DriveService service(FakeDrive::serviceSettings(drive));
    GoogleSignIn signIn(service, GoogleSignIn::Settings());
    QString rootId;
    DriveSource source(service, rootId, signIn);

    auto file = std::make_shared<DriveFile>();
    file->identifier = QStringLiteral("x");
    file->name = QStringLiteral("x.jpg");
    file->thumbnailLink = (c.elsewhere ? local : drive).url(QLatin1String(c.path)).toString() + "=s220";
    ImageFileInfo record;
    record.scanType = ScanSource::googleDrive;
    record.fileSize = quint64(picture().size());
    record.dFolderList = std::make_shared<GDFoldersList>();
    record.dFolderList->setFolderId(QStringLiteral("x"));
    record.dFolderList->setFolderName(QStringLiteral("x.jpg"));
    record.dFolderList->setDriveFile(file);
    const std::atomic<bool> stop { false };
    std::thread([&] { source.fetchLocalCopy(record, stop); }).join();

    EXPECT_EQ(!record.localThumbPath.isEmpty(), c.fetched);
    EXPECT_EQ(local.totalHits(), 0);
}

INSTANTIATE_TEST_SUITE_P(Links, DriveLinks,
    testing::Values(LinkCase { "configuredAddress", "/img", false, true },
        LinkCase { "anotherLocalService", "/img", true, false },
        LinkCase { "redirectToAnotherLocalService", "/hop", false, false }),
    [](const testing::TestParamInfo<LinkCase> &info) { return std::string(info.param.name); });

// Runs a scan's Dropbox listing against a local fake that never ends it: every page brings a
// thousand new photos with realistic names, paths, revisions and content hashes, and promises more.
// The listing runs with the program's own bounds and hands its records to the scan's receiver, as in
// the program. Prints how it ended, the records the scan got, the time and the process's peak RSS.
//
//   quennary-listing-memory [dropbox|drive] [path bytes per entry, default realistic]
#include <atomic>
#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/resource.h>

#include "cloud/CloudListingReceiver.h"
#include "cloud/DriveService.h"
#include "cloud/DriveSource.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/FakeDrive.h"
#include "cloud/GoogleSignIn.h"
#include "model/CloudScanFoldersList.h"
#include "platform/StaticTokenSource.h"
#include "support/FakeHttpServer.h"

namespace
{

QJsonObject photo(int n, int pathBytes)
{
    const QString folder = pathBytes > 0 ? QStringLiteral("/") + QString(pathBytes, QLatin1Char('p'))
                                         : QStringLiteral("/Camera Uploads/%1").arg(2010 + n % 15);
    const QString name
        = QStringLiteral("IMG_%1_%2.jpg").arg(20100101 + n % 1231).arg(n, 6, 10, QLatin1Char('0'));
    const QString hash
        = QStringLiteral("%1").arg(quint64(n) * 0x9e3779b97f4a7c15ULL, 16, 16, QLatin1Char('0'));
    return QJsonObject { { ".tag", "file" }, { "name", name },
        { "path_lower", (folder + "/" + name).toLower() }, { "path_display", folder + "/" + name },
        { "id", QStringLiteral("id:a4ayc_80_OEAAAAA%1").arg(n, 8, 10, QLatin1Char('0')) },
        { "client_modified", "2019-01-01T12:34:56Z" }, { "server_modified", "2019-01-02T08:00:00Z" },
        { "rev", QStringLiteral("a1c%1").arg(n, 9, 16, QLatin1Char('0')) }, { "size", 2000000 + n },
        { "is_downloadable", true }, { "content_hash", hash + hash + hash + hash },
        { "media_info",
            QJsonObject { { ".tag", "metadata" },
                { "metadata",
                    QJsonObject { { ".tag", "photo" },
                        { "dimensions", QJsonObject { { "height", 3024 }, { "width", 4032 } } },
                        { "time_taken", "2019-01-01T12:34:56Z" } } } } } };
}

QJsonObject driveFile(int n, int pathBytes)
{
    const QString name = pathBytes > 0
        ? QString(pathBytes, QLatin1Char('p')) + QStringLiteral("%1.jpg").arg(n)
        : QStringLiteral("IMG_%1.jpg").arg(n, 6, 10, QLatin1Char('0'));
    const QString id = QStringLiteral("1a2B3c4D5e6F7g8H9i0J%1").arg(n, 13, 10, QLatin1Char('0'));
    return QJsonObject { { "id", id }, { "name", name }, { "mimeType", "image/jpeg" }, { "size", "2000000" },
        { "md5Checksum", QStringLiteral("%1").arg(n, 32, 16, QLatin1Char('0')) }, { "fileExtension", "jpg" },
        { "createdTime", "2019-01-01T12:34:56.000Z" }, { "modifiedTime", "2019-01-02T08:00:00.000Z" },
        { "parents", QJsonArray { "folder" } },
        { "thumbnailLink", QStringLiteral("https://lh3.example.com/u/0/d/%1=s220").arg(id) },
        { "imageMediaMetadata",
            QJsonObject { { "width", 4032 }, { "height", 3024 }, { "cameraMake", "Maker" },
                { "cameraModel", "Model 7" }, { "isoSpeed", 100 }, { "focalLength", 4.2 } } } };
}

// A listing's end: how, how many records, how long.
CloudListingReceiver::Callbacks reporting(
    QCoreApplication &app, const QElapsedTimer &clock, const std::atomic<int> &pages)
{
    return { {}, {}, [&](const RecordList &records, const QString &failure) {
                std::printf("ended after %lld ms with %lld records, %d pages: %s\n", clock.elapsed(),
                    qint64(records.size()), pages.load(), qPrintable(failure));
                app.quit();
            } };
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool drive = argc > 1 && QByteArray(argv[1]) == "drive";
    const int pathBytes = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    FakeHttpServer server;
    std::atomic<int> pages { 0 };
    const auto endless = [&pages, pathBytes, drive](const RecordedRequest &) {
        const int page = pages++;
        QJsonArray entries;
        for (int i = 0; i < 1000; ++i)
            entries.append(drive ? driveFile(page * 1000 + i, pathBytes) : photo(page * 1000 + i, pathBytes));
        const QJsonObject body { { drive ? "files" : "entries", entries },
            { drive ? "nextPageToken" : "cursor", QStringLiteral("c%1").arg(page) }, { "has_more", true } };
        return FakeResponse::json(200, QJsonDocument(body).toJson(QJsonDocument::Compact));
    };
    server.handle("POST", QStringLiteral("/2/files/list_folder"), endless);
    server.handle("POST", QStringLiteral("/2/files/list_folder/continue"), endless);
    server.handle("GET", QStringLiteral("/drive/v3/files"), endless);

    const QUrl base(server.base());
    DropBoxHandler::Options options;
    options.bases = { base, base };
    options.tokens = std::make_shared<StaticTokenSource>(QStringLiteral("token"), QList<QUrl> { base });
    DriveService service(FakeDrive::serviceSettings(server));
    GoogleSignIn signIn(service, GoogleSignIn::Settings());
    QString rootId = QStringLiteral("root-id");
    const std::shared_ptr<CloudSource> source = drive
        ? std::shared_ptr<CloudSource>(std::make_shared<DriveSource>(service, rootId, signIn))
        : std::make_shared<DropBoxHandler>(options);
    QElapsedTimer clock;
    CloudListingReceiver receiver(reporting(app, clock, pages));
    FilePathNode node;
    node.state = 1;
    node.cloudFolder = std::make_shared<CloudScanFoldersList>();
    node.cloudFolder->folderPath = QStringLiteral("Dropbox/Camera Uploads");
    node.dFolderList = std::make_shared<GDFoldersList>();
    node.dFolderList->setFolderId(QStringLiteral("folder"));
    node.dFolderList->setFolderName(QStringLiteral("Camera Uploads"));
    node.dFolderList->driveFile()->identifier = QStringLiteral("folder");
    node.dFolderList->driveFile()->parents = { rootId };
    receiver.beginScan({}, 0);
    clock.start();
    source->startListing({ { node }, { QStringLiteral("jpg") }, {},
                             { 0, 0, drive ? ScanSource::googleDrive : ScanSource::dropbox, 4 } },
        receiver);
    app.exec();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS %ld MB\n", usage.ru_maxrss / 1024);
    return 0;
}

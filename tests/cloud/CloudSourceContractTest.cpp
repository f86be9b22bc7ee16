// Both cloud sources against loopback fakes, through the one CloudSource contract and receiver:
// endless or failing listings end as failures, and one tree gives the same records and paths.
#include <gtest/gtest.h>

#include "cloud/CloudListingReceiver.h"
#include "cloud/DriveListing.h"
#include "cloud/DriveSource.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/FakeDrive.h"
#include "cloud/GoogleSignIn.h"
#include "model/CloudScanFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/StaticTokenSource.h"
#include "support/FakeDropbox.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kMaxPages = 20;
// The Dropbox listing's other bounds: entries held, pages in a row without a new one; and the bytes
// either listing may hold.
constexpr int kMaxEntries = 5000;
constexpr int kMaxPagesWithoutNew = 10;
constexpr qint64 kMaxHeldBytes = 16 * 1024 * 1024;

struct Rig {
    explicit Rig(bool drive)
        : isDrive(drive)
        , service(FakeDrive::serviceSettings(server))
        , signIn(service, GoogleSignIn::Settings())
    {
        auto driveSource = std::make_shared<DriveSource>(service, rootId, signIn);
        driveSource->setMaxListingPages(kMaxPages);
        driveSource->setMaxHeldBytes(kMaxHeldBytes);
        const QUrl base(server.base());
        DropBoxHandler::Options options { { base, base },
            std::make_shared<StaticTokenSource>(QStringLiteral("token-1"), QList<QUrl> { base }), 10000,
            { kMaxPages, kMaxEntries, kMaxPagesWithoutNew, kMaxHeldBytes } };
        source
            = drive ? std::shared_ptr<CloudSource>(driveSource) : std::make_shared<DropBoxHandler>(options);
    }
    // Lists the chosen folders (path, Drive id, Drive parent) to their end.
    bool list(const QList<QStringList> &folders, const ScanPeriodOptions &period = {}, qint64 minimum = 0)
    {
        std::vector<FilePathNode> nodes;
        for (const QStringList &f : folders) {
            FilePathNode node;
            node.state = 1;
            node.cloudFolder = std::make_shared<CloudScanFoldersList>();
            node.cloudFolder->folderPath = QStringLiteral("Dropbox") + f[0];
            auto file = std::make_shared<DriveFile>();
            file->identifier = f[1];
            file->name = f[0].section(QLatin1Char('/'), -1);
            file->mimeType = QString::fromLatin1(FakeDrive::kFolder);
            file->parents = { f[2] };
            node.dFolderList = std::make_shared<GDFoldersList>();
            node.dFolderList->setFolderId(f[1]);
            node.dFolderList->setDriveFile(file);
            nodes.push_back(node);
        }
        receiver.beginScan(period, minimum);
        source->startListing({ nodes, { QStringLiteral("jpg") }, {},
                                 { 0, minimum, isDrive ? ScanSource::googleDrive : ScanSource::dropbox, 4 } },
            receiver);
        return TestEvents::waitFor([this] { return ends > 0; }, 60000);
    }

    bool isDrive;
    FakeHttpServer server;
    QString rootId = QStringLiteral("0AROOT");
    DriveService service;
    GoogleSignIn signIn;
    std::shared_ptr<CloudSource> source;
    QStringList paths;
    QString failure;
    int ends = 0;
    CloudListingReceiver receiver { { {}, {}, [this](const RecordList &records, const QString &why) {
                                         for (const auto &record : records)
                                             paths.append(record->filePath);
                                         paths.sort();
                                         failure = why;
                                         ++ends;
                                     } } };
};

// Pages that always have a successor (fresh or alternating tokens; no files, a thousand new ones
// on every page, the same thousand again, or a thousand new ones with paths of kilobytes), or a
// refusal.
class ListingEnds : public testing::TestWithParam<std::tuple<bool, int>>
{
};

TEST_P(ListingEnds, AsAFailureWithItsReasonWithinItsBounds)
{
    const auto [drive, mode] = GetParam();
    Rig rig(drive);
    auto pages = std::make_shared<std::atomic<int>>(0);
    const auto answer = [drive, mode, pages](const RecordedRequest &) {
        if (mode == 2)
            return FakeResponse::json(drive ? 404 : 409, R"({"error_summary":"path/not_found/"})");
        const int n = (*pages)++;
        QJsonArray files;
        const QString stem = mode >= 5 ? QString(4000, QLatin1Char('n')) : QString();
        for (int i = 0, id = mode != 4 ? n * 1000 : 0; mode >= 3 && i < 1000; ++i, ++id)
            files.append(QJsonObject { { ".tag", mode == 6 ? "folder" : "file" },
                { "id", QString::number(id) },
                { "mimeType", mode == 6 ? DriveFileJson::kFolderMimeType : "image/jpeg" },
                { "fileExtension", "jpg" }, { "name", QStringLiteral("%1%2.jpg").arg(stem).arg(id) },
                { "path_lower", QStringLiteral("/a/%1%2.jpg").arg(stem).arg(id) }, { "md5Checksum", "0" } });
        QJsonObject body { { drive ? "files" : "entries", files }, { "has_more", true },
            { drive ? "nextPageToken" : "cursor", QStringLiteral("t%1").arg(mode == 1 ? n % 2 : n) } };
        return FakeResponse::json(200, QJsonDocument(body).toJson(QJsonDocument::Compact));
    };
    for (const char *path : { "/drive/v3/files", "/2/files/list_folder", "/2/files/list_folder/continue" })
        rig.server.handle(drive ? "GET" : "POST", QString::fromLatin1(path), answer);
    if (drive && mode == 6) // each folder asks for a page: a lower bound comes before the pages'
        static_cast<DriveSource &>(*rig.source).setMaxHeldBytes(64 * 1024);
    ASSERT_TRUE(rig.list({ { "/A", "a", rig.rootId } }));
    TestEvents::waitFor([] { return false; }, 100);
    EXPECT_EQ(rig.ends, 1);
    EXPECT_FALSE(rig.failure.isEmpty());
    EXPECT_LE(pages->load(), drive ? kMaxPages : kMaxPagesWithoutNew + 1);
    EXPECT_LE(rig.paths.size(), drive ? kMaxPages * 1000 : kMaxEntries);
    // What the listing held never passed its bound by more than one entry (a record with its texts),
    // and counted at least the records it gave.
    const qint64 peak = drive ? static_cast<DriveSource &>(*rig.source).listing().peakHeldBytes()
                              : static_cast<DropBoxHandler &>(*rig.source).peakHeldBytes();
    EXPECT_LE(peak, kMaxHeldBytes + 64 * 1024);
    EXPECT_GE(peak, rig.paths.size() * qint64(sizeof(ImageFileInfo)));
    // Names of kilobytes reach the byte bound first, told as memory, not as the folders' size.
    EXPECT_TRUE(mode < 5 || (rig.paths.size() < 1000 && rig.failure.contains("MB of memory")))
        << rig.failure.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    BothProviders, ListingEnds, testing::Combine(testing::Bool(), testing::Values(0, 1, 2, 3, 4, 5, 6)));

class SameTree : public testing::TestWithParam<bool>
{
};

// Trips holds a recent photo, one from 2010 and one below the minimum size; its chosen sub-folder
// Sub holds a photo that Drive also files under a folder it cannot read.
TEST_P(SameTree, GivesTheSameRecordsAndPathsUnderTheRoot)
{
    Rig rig(GetParam());
    FakeDropbox dropbox(rig.server);
    FakeDrive drive(rig.server);
    drive.rootId = rig.rootId;
    drive.addFolder(QStringLiteral("root"), QStringLiteral("t"), QStringLiteral("Trips"));
    drive.addFolder(QStringLiteral("t"), QStringLiteral("s"), QStringLiteral("Sub"));
    const QDateTime recent = QDateTime::currentDateTimeUtc().addDays(-1);
    const QDateTime old(QDate(2010, 5, 1), QTime(12, 0), QTimeZone::utc());
    for (const auto &[path, size, created] :
        { std::tuple { "Trips/new.jpg", 5000, recent }, std::tuple { "Trips/old.jpg", 5000, old },
            std::tuple { "Trips/tiny.jpg", 10, recent }, std::tuple { "Trips/Sub/g.jpg", 5000, recent } }) {
        const QString name = QString::fromLatin1(path).section(QLatin1Char('/'), -1);
        const bool sub = QString::fromLatin1(path).contains(QLatin1String("Sub"));
        dropbox.addFile(QStringLiteral("/") + QLatin1String(path), QByteArray(size, 'p'), created);
        drive.add(sub ? QStringLiteral("s") : QStringLiteral("t"),
            QJsonObject { { "id", name }, { "name", name }, { "fileExtension", "jpg" },
                { "size", QString::number(size) }, { "md5Checksum", "0123456789abcdef" },
                { "createdTime", created.toString(Qt::ISODate) },
                { "parents", sub ? QJsonArray { "unreadable", "s" } : QJsonArray { "t" } } });
    }
    ScanPeriodOptions lastWeek { true, 2, 2 };
    ASSERT_TRUE(rig.list({ { "/Trips", "t", rig.rootId }, { "/Trips/Sub", "s", "t" } }, lastWeek, 1000));
    EXPECT_TRUE(rig.failure.isEmpty()) << rig.failure.toStdString();
    const QString root = GetParam() ? QStringLiteral("My Drive") : QStringLiteral("Dropbox");
    EXPECT_EQ(rig.paths, QStringList({ root + "/Trips/Sub/g.jpg", root + "/Trips/new.jpg" }));
}

INSTANTIATE_TEST_SUITE_P(BothProviders, SameTree, testing::Bool());

} // namespace

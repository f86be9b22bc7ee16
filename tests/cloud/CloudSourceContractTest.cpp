// Both cloud sources against their loopback fakes, through the one CloudSource contract and the one
// receiver: listings that never end or fail are reported as failures, and one tree gives the same
// records and display paths from either provider.
#include <gtest/gtest.h>

#include "cloud/CloudListingReceiver.h"
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

enum class Provider { dropbox, drive };
constexpr int kMaxPages = 20;

struct Rig {
    explicit Rig(Provider p)
        : provider(p)
        , service(FakeDrive::serviceSettings(server))
        , signIn(service, GoogleSignIn::Settings())
    {
        if (provider == Provider::drive) {
            auto drive = std::make_shared<DriveSource>(service, rootId, signIn);
            drive->setMaxListingPages(kMaxPages);
            source = drive;
            return;
        }
        DropBoxHandler::Options options;
        options.bases = { QUrl(server.base()), QUrl(server.base()) };
        options.tokens = std::make_shared<StaticTokenSource>(QStringLiteral("token-1"), QList<QUrl> { options.bases.api });
        options.maxListingPages = kMaxPages;
        source = std::make_shared<DropBoxHandler>(options);
    }
    // Lists `nodes` to the end; false when no end came.
    bool list(const std::vector<FilePathNode> &nodes, const ScanPeriodOptions &period = {}, qint64 minimum = 0)
    {
        receiver.beginScan(period, minimum);
        const RecordSettings settings { 0, minimum, std::uint8_t(provider == Provider::drive ? 1 : 2), 4 };
        source->startListing({ nodes, { QStringLiteral("jpg") }, {}, settings }, receiver);
        return TestEvents::waitFor([this] { return ends > 0; }, 20000);
    }
    // A chosen folder: the Dropbox path, or the Drive folder with its parent.
    FilePathNode folder(const QString &path, const QString &id = {}, const QString &parent = {}) const
    {
        FilePathNode node;
        node.state = 1;
        if (provider == Provider::dropbox) {
            node.cloudFolder = std::make_shared<CloudScanFoldersList>();
            node.cloudFolder->folderPath = QStringLiteral("Dropbox") + path;
            return node;
        }
        auto file = std::make_shared<DriveFile>();
        file->identifier = id;
        file->name = path.section(QLatin1Char('/'), -1);
        file->mimeType = QString::fromLatin1(FakeDrive::kFolder);
        file->parents = { parent };
        node.dFolderList = std::make_shared<GDFoldersList>();
        node.dFolderList->setFolderId(id);
        node.dFolderList->setFolderName(*file->name);
        node.dFolderList->setDriveFile(file);
        return node;
    }
    QStringList paths() const
    {
        QStringList out;
        for (const auto &record : records)
            out.append(record->filePath.section(QLatin1Char('/'), 1));
        out.sort();
        return out;
    }

    Provider provider;
    FakeHttpServer server;
    QString rootId = QStringLiteral("0AROOT");
    DriveService service;
    GoogleSignIn signIn;
    std::shared_ptr<CloudSource> source;
    RecordList records;
    QString failure;
    int ends = 0;
    CloudListingReceiver receiver { { {}, {}, [this](const RecordList &r, const QString &why) {
                                         records = r;
                                         failure = why;
                                         ++ends;
                                     } } };
};

enum class Endless { freshTokens, twoTokens, refused };

// The page answer of `provider` for page `n`: always one more page, or an error.
FakeResponse endlessPage(Provider provider, Endless mode, int n)
{
    if (mode == Endless::refused)
        return FakeResponse::json(provider == Provider::drive ? 404 : 409, R"({"error_summary":"path/not_found/"})");
    const QString token = QStringLiteral("t%1").arg(mode == Endless::twoTokens ? n % 2 : n);
    const QString page = provider == Provider::drive
        ? QStringLiteral(R"({"files":[],"nextPageToken":"%1"})").arg(token)
        : QStringLiteral(R"({"entries":[],"cursor":"%1","has_more":true})").arg(token);
    return FakeResponse::json(200, page.toUtf8());
}

class ListingEnds : public testing::TestWithParam<std::tuple<Provider, Endless>>
{
};

TEST_P(ListingEnds, AsAFailureWithItsReasonWithinThePageLimit)
{
    const auto [provider, mode] = GetParam();
    Rig rig(provider);
    auto pages = std::make_shared<std::atomic<int>>(0);
    const auto answer = [provider, mode, pages](const RecordedRequest &) { return endlessPage(provider, mode, (*pages)++); };
    for (const char *path : { "/drive/v3/files", "/2/files/list_folder", "/2/files/list_folder/continue" })
        rig.server.handle(provider == Provider::drive ? "GET" : "POST", QString::fromLatin1(path), answer);
    ASSERT_TRUE(rig.list({ rig.folder(QStringLiteral("/A"), QStringLiteral("a"), rig.rootId) }));
    TestEvents::waitFor([] { return false; }, 100);
    EXPECT_EQ(rig.ends, 1);
    EXPECT_FALSE(rig.failure.isEmpty());
    EXPECT_LE(pages->load(), kMaxPages);
}

INSTANTIATE_TEST_SUITE_P(BothProviders, ListingEnds,
    testing::Combine(testing::Values(Provider::dropbox, Provider::drive),
        testing::Values(Endless::freshTokens, Endless::twoTokens, Endless::refused)));

class SameTree : public testing::TestWithParam<Provider>
{
};

// Trips holds a recent photo, one from 2010 and one below the minimum size; its sub-folder Sub is
// chosen too and holds a photo that Drive also files under a folder it cannot read.
TEST_P(SameTree, GivesTheSameRecordsAndPathsUnderTheRoot)
{
    Rig rig(GetParam());
    const QDateTime recent = QDateTime::currentDateTimeUtc().addDays(-1);
    const QDateTime old(QDate(2010, 5, 1), QTime(12, 0), QTimeZone::utc());
    struct File {
        const char *folder, *name;
        int size;
        QDateTime created;
    };
    const File files[] = { { "Trips", "new.jpg", 5000, recent }, { "Trips", "old.jpg", 5000, old },
        { "Trips", "tiny.jpg", 10, recent }, { "Trips/Sub", "g.jpg", 5000, recent } };
    FakeDropbox dropbox(rig.server);
    FakeDrive drive(rig.server);
    drive.rootId = rig.rootId;
    drive.addFolder(QStringLiteral("root"), QStringLiteral("t"), QStringLiteral("Trips"));
    drive.addFolder(QStringLiteral("t"), QStringLiteral("s"), QStringLiteral("Sub"));
    for (const File &f : files) {
        const QString folder = QString::fromLatin1(f.folder);
        const QString id = QString::fromLatin1(f.name);
        dropbox.addFile(QLatin1Char('/') + folder + QLatin1Char('/') + id, QByteArray(f.size, 'p'), f.created);
        const QString parent = folder.endsWith(QLatin1String("Sub")) ? QStringLiteral("s") : QStringLiteral("t");
        drive.add(parent,
            QJsonObject { { "id", id }, { "name", id }, { "mimeType", "image/jpeg" }, { "fileExtension", "jpg" },
                { "size", QString::number(f.size) }, { "md5Checksum", "0123456789abcdef0123456789abcdef" },
                { "createdTime", f.created.toString(Qt::ISODate) },
                { "parents", parent == QLatin1String("s") ? QJsonArray { "unreadable", "s" } : QJsonArray { "t" } } });
    }
    ScanPeriodOptions lastWeek;
    lastWeek.enabled = true;
    lastWeek.filesFromDate = 2;
    lastWeek.photosFrom = 2;
    ASSERT_TRUE(rig.list({ rig.folder(QStringLiteral("/Trips"), QStringLiteral("t"), rig.rootId),
                             rig.folder(QStringLiteral("/Trips/Sub"), QStringLiteral("s"), QStringLiteral("t")) },
        lastWeek, 1000));
    EXPECT_TRUE(rig.failure.isEmpty()) << rig.failure.toStdString();
    EXPECT_EQ(rig.paths(), QStringList({ QStringLiteral("Trips/Sub/g.jpg"), QStringLiteral("Trips/new.jpg") }));
    for (const auto &record : rig.records)
        EXPECT_TRUE(record->filePath.startsWith(GetParam() == Provider::drive ? "My Drive/" : "Dropbox/"));
}

INSTANTIATE_TEST_SUITE_P(BothProviders, SameTree, testing::Values(Provider::dropbox, Provider::drive));

} // namespace

// The Drive listing of a scan against a fake Drive on 127.0.0.1: what it lists and offers, the
// display paths it builds, pages, and the one start of the hashing stage however it ends.
#include <gtest/gtest.h>

#include "app/ScanGlobals.h"
#include "cloud/DriveListing.h"
#include "cloud/DriveService.h"
#include "cloud/FakeDrive.h"
#include "model/ImageFileInfo.h"
#include "support/FakeHttpServer.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;
const QString kFiles = QStringLiteral("/drive/v3/files");

QJsonObject photo(const QString &id, const QString &name, const QString &extension = QStringLiteral("jpg"),
    const QString &md5 = QStringLiteral("0123456789abcdef0123456789abcdef"))
{
    QJsonObject file { { "id", id }, { "name", name }, { "mimeType", "image/jpeg" }, { "size", "5000000000" },
        { "thumbnailLink", "http://127.0.0.1:1/thumb=s220" } };
    if (!extension.isEmpty())
        file.insert(QStringLiteral("fileExtension"), extension);
    if (!md5.isEmpty())
        file.insert(QStringLiteral("md5Checksum"), md5);
    return file;
}

struct Recorder {
    DriveListing::Callbacks callbacks()
    {
        return { [this](const std::shared_ptr<GDFoldersList> &entry) { offered.push_back(entry); },
            [this](const QString &why) {
                ++starts;
                failure = why;
            } };
    }
    std::vector<std::shared_ptr<GDFoldersList>> offered;
    int starts = 0;
    QString failure;
};

struct ListingRig {
    explicit ListingRig(int timeoutMs = 5000)
        : drive(server)
        , service(FakeDrive::serviceSettings(server, timeoutMs, true))
        , listing(service, rootId)
    {
    }
    static FilePathNode entry(const QString &id, const QString &name, const QString &parent = QString())
    {
        auto folder = std::make_shared<GDFoldersList>();
        folder->setFolderId(id);
        folder->setFolderName(name);
        auto file = std::make_shared<DriveFile>();
        if (id != QLatin1String("root")) {
            file->identifier = id;
            file->name = name;
            file->mimeType = QString::fromLatin1(FakeDrive::kFolder);
            if (!parent.isEmpty())
                file->parents = { parent };
        }
        folder->setDriveFile(file);
        FilePathNode node;
        node.state = 1;
        node.dFolderList = folder;
        return node;
    }
    bool run(std::vector<FilePathNode> nodes, int maxPages = CloudSource::kMaxListingPages)
    {
        listing.fetchFilesFromSelectedFolders(
            { std::move(nodes), { QStringLiteral("jpg") }, &stop, maxPages }, recorder.callbacks());
        return TestEvents::waitFor([this] { return recorder.starts > 0; }, kWaitMs);
    }
    QStringList paths()
    {
        QStringList result;
        for (const auto &entry : recorder.offered) {
            auto record = ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(
                entry, RecordSettings { 0, 0, ScanSource::googleDrive, 4 });
            listing.buildDriveFilePath(*record);
            result.append(record->filePath);
        }
        result.sort();
        return result;
    }

    FakeHttpServer server;
    FakeDrive drive;
    DriveService service;
    QString rootId;
    DriveListing listing;
    Recorder recorder;
    std::atomic<bool> stop { false };
};

} // namespace

TEST(DriveListing, MyDriveListsTheWholeTreeThroughRootWithPathsFromTheRoot)
{
    ListingRig rig;
    rig.drive.add(QStringLiteral("root"), photo(QStringLiteral("x"), QStringLiteral("x.jpg")));
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    rig.drive.add(
        QStringLiteral("a"), photo(QStringLiteral("y"), QStringLiteral("y.JPG"), QStringLiteral("JPG")));
    rig.drive.addFolder(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("B"));
    rig.drive.add(QStringLiteral("b"), photo(QStringLiteral("z"), QStringLiteral("z.jpg")));
    rig.drive.add(
        QStringLiteral("b"), photo(QStringLiteral("n"), QStringLiteral("n.jpg"), QStringLiteral("jpg"), {}));
    rig.drive.add(
        QStringLiteral("b"), photo(QStringLiteral("p"), QStringLiteral("p.png"), QStringLiteral("png")));
    ASSERT_TRUE(rig.run({ ListingRig::entry(QStringLiteral("root"), QStringLiteral("My Drive")) }));
    EXPECT_EQ(rig.recorder.starts, 1);
    EXPECT_EQ(rig.rootId, rig.drive.rootId);
    EXPECT_EQ(rig.paths(),
        QStringList({ QStringLiteral("My Drive/A/B/z.jpg"), QStringLiteral("My Drive/A/y.JPG"),
            QStringLiteral("My Drive/x.jpg") }));
    EXPECT_EQ(rig.recorder.offered.front()->driveFile()->size.value_or(0), 5000000000LL);
    const RecordedRequest first = rig.server.requests(kFiles).first();
    EXPECT_EQ(first.queryValue(QStringLiteral("q")), QStringLiteral("trashed=false and 'root' in parents"));
    EXPECT_EQ(first.queryValue(QStringLiteral("pageSize")), QStringLiteral("100"));
    EXPECT_EQ(first.queryValue(QStringLiteral("fields")), QString::fromLatin1(DriveListing::kFileFields));
}

TEST(DriveListing, AListedSubFolderIsListedOnceAndAFileInTwoFoldersIsOfferedOnce)
{
    ListingRig rig;
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    rig.drive.addFolder(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("B"));
    rig.drive.add(QStringLiteral("b"), photo(QStringLiteral("z"), QStringLiteral("z.jpg")));
    rig.drive.add(QStringLiteral("a"), photo(QStringLiteral("z"), QStringLiteral("z.jpg")));
    ASSERT_TRUE(rig.run({ ListingRig::entry(QStringLiteral("a"), QStringLiteral("A"), rig.drive.rootId),
        ListingRig::entry(QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a")) }));
    EXPECT_EQ(rig.recorder.starts, 1);
    EXPECT_EQ(rig.recorder.offered.size(), 1u);
    int bQueries = 0;
    for (const RecordedRequest &request : rig.server.requests(kFiles))
        bQueries += FakeDrive::parentOf(request.queryValue(QStringLiteral("q"))) == QLatin1String("b");
    EXPECT_EQ(bQueries, 1);
}

TEST(DriveListing, PagesOfOneHundredAreFollowedPastEmptyPages)
{
    ListingRig rig;
    rig.drive.addEmptyPagesBefore(QStringLiteral("a"), 1);
    for (int i = 0; i < 250; ++i)
        rig.drive.add(
            QStringLiteral("a"), photo(QStringLiteral("f%1").arg(i), QStringLiteral("f%1.jpg").arg(i)));
    ASSERT_TRUE(
        rig.run({ ListingRig::entry(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("u")) }));
    EXPECT_EQ(rig.recorder.offered.size(), 250u);
    EXPECT_EQ(rig.server.hits(kFiles), 4);
    EXPECT_TRUE(rig.recorder.failure.isEmpty());
    // A alone, its parent and the root unreadable: the path starts at A.
    EXPECT_EQ(rig.paths().first(), QStringLiteral("A/f0.jpg"));
}

class ListingEnding : public testing::TestWithParam<int>
{
};

TEST_P(ListingEnding, AFailedSilentOrForeignPageEndsTheListingOnceAsFailed)
{
    ListingRig rig(300);
    rig.drive.add(QStringLiteral("a"), photo(QStringLiteral("x"), QStringLiteral("x.jpg")));
    for (int i = 0; i < 120; ++i)
        rig.drive.add(
            QStringLiteral("b"), photo(QStringLiteral("b%1").arg(i), QStringLiteral("b%1.jpg").arg(i)));
    const FakeResponse answers[] = { FakeResponse::json(500, "{}"), FakeResponse::silence(),
        FakeResponse::json(200, R"({"kind":"drive#about"})") };
    rig.drive.failFolder(QStringLiteral("c"), answers[GetParam()]);
    ASSERT_TRUE(rig.run({ ListingRig::entry(QStringLiteral("a"), QStringLiteral("A")),
        ListingRig::entry(QStringLiteral("b"), QStringLiteral("B")),
        ListingRig::entry(QStringLiteral("c"), QStringLiteral("C")) }));
    TestEvents::waitFor([] { return false; }, 50);
    EXPECT_EQ(rig.recorder.starts, 1);
    EXPECT_TRUE(rig.recorder.failure.contains(QLatin1String("c"))) << rig.recorder.failure.toStdString();
    EXPECT_EQ(rig.listing.recusiveCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(ErrorSilenceOrNoList, ListingEnding, testing::Values(0, 1, 2));

TEST(DriveListing, StopMidListingAsksForNothingMoreAndStartsOnce)
{
    ListingRig rig;
    for (int i = 0; i < 250; ++i)
        rig.drive.add(
            QStringLiteral("a"), photo(QStringLiteral("f%1").arg(i), QStringLiteral("f%1.jpg").arg(i)));
    rig.stop = true;
    ASSERT_TRUE(rig.run({ ListingRig::entry(QStringLiteral("a"), QStringLiteral("A")) }));
    TestEvents::waitFor([] { return false; }, 50);
    EXPECT_EQ(rig.recorder.starts, 1);
    EXPECT_TRUE(rig.recorder.offered.empty());
    EXPECT_EQ(rig.server.hits(kFiles), 1);
}

TEST(DriveListing, AnEmptyOrUncheckedListStartsAtOnceAndAnEarlierListingIsIgnored)
{
    ListingRig rig;
    for (int i = 0; i < 150; ++i)
        rig.drive.add(
            QStringLiteral("a"), photo(QStringLiteral("f%1").arg(i), QStringLiteral("f%1.jpg").arg(i)));
    FilePathNode unchecked = ListingRig::entry(QStringLiteral("a"), QStringLiteral("A"));
    unchecked.state = 0;
    rig.listing.fetchFilesFromSelectedFolders(
        { { ListingRig::entry(QStringLiteral("a"), QStringLiteral("A")) }, { QStringLiteral("jpg") },
            nullptr },
        {});
    ASSERT_TRUE(rig.run({ unchecked }));
    TestEvents::waitFor([] { return false; }, 200);
    EXPECT_EQ(rig.recorder.starts, 1);
    EXPECT_TRUE(rig.recorder.offered.empty());
}

// Library items into the album: batches of 99, counting only what the album took, Stop in the
// hand-over, finding and making the album, the scripts' text, and the local album store.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/ScanGlobals.h"
#include "model/PhotosNode.h"
#include "platform/LocalAlbumStore.h"
#include "platform/PropertyList.h"
#include "removal/FakePhotosBridge.h"
#include "removal/LibraryAlbumRoute.h"
#include "removal/PhotosAlbum.h"
#include "removal/RemovalFixture.h"
#include "removal/RemovalRoutes.h"
#include "removal/RemovalRun.h"

using namespace RemovalFixture;

namespace
{

const QString kLibrary = QStringLiteral("/home/u/Pictures/Photos Library.photoslibrary");
const QString kAlbum = QStringLiteral("Duplicate Marked Photos");

std::shared_ptr<ImageFileInfo> libraryItem(const QString &id, bool marked)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->filePath = kLibrary + QStringLiteral("/originals/") + id + QStringLiteral(".jpg");
    r->fileName = id + QStringLiteral(".jpg");
    r->fileSize = 1000;
    r->match = 1.0f;
    r->isPhotosNode = true;
    r->libraryPath = kLibrary;
    r->photosInfo = std::make_shared<PhotosNode>();
    r->photosInfo->uuIDRkVersion = id;
    r->isMark = marked;
    return r;
}

class LibraryAlbumTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto route = std::make_shared<LibraryAlbumRoute>(bridge, kAlbum);
        route->waitBeforeScript = [] {};
        libraryRoute = route;
        routes->setRoute(RemovalRoutes::Kind::LibraryAlbum, route);
    }

    // `count` groups, each a kept item and a marked one.
    void showMarkedItems(int count)
    {
        std::vector<std::shared_ptr<DuplicatesGroup>> groups;
        for (int i = 0; i < count; ++i) {
            auto marked = libraryItem(QStringLiteral("m%1").arg(i), true);
            markedItems.push_back(marked);
            groups.push_back(groupOf({ libraryItem(QStringLiteral("k%1").arg(i), false), marked }));
        }
        show(state, groups);
        state.isPhotosLibrayMarkedForTrash = true;
    }

    void runToEnd()
    {
        run = std::make_unique<RemovalRun>(state, routes);
        ASSERT_TRUE(run->start());
        ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }));
    }

    std::vector<qsizetype> batchSizes() const
    {
        std::vector<qsizetype> sizes;
        for (const auto &batch : bridge->batches)
            sizes.push_back(batch.size());
        return sizes;
    }

    std::shared_ptr<FakePhotosBridge> bridge = std::make_shared<FakePhotosBridge>();
    std::shared_ptr<LibraryAlbumRoute> libraryRoute;
    std::shared_ptr<RemovalRoutes> routes = std::make_shared<RemovalRoutes>();
    std::vector<std::shared_ptr<ImageFileInfo>> markedItems;
    ResultState state;
    std::unique_ptr<RemovalRun> run;
};

struct BatchCase {
    int items;
    std::vector<qsizetype> batches;
};

class LibraryBatchTest : public LibraryAlbumTest, public ::testing::WithParamInterface<BatchCase>
{
};

TEST_P(LibraryBatchTest, HandsOverInBatchesOf99AndCountsEveryItemAdded)
{
    showMarkedItems(GetParam().items);
    runToEnd();
    EXPECT_EQ(batchSizes(), GetParam().batches);
    EXPECT_EQ(state.countTrashed, GetParam().items);
    EXPECT_TRUE(state.isPhotosAppTrashed);
    EXPECT_EQ(state.dictPhotos.value(kLibrary).toList().size(), GetParam().items);
    EXPECT_TRUE(state.arrGroups.empty());
    for (const auto &item : markedItems)
        EXPECT_TRUE(item->photosInfo->isMovedToTrashAlbum.value_or(false));
    EXPECT_EQ(bridge->opened, QStringList({ kLibrary }));
}

INSTANTIATE_TEST_SUITE_P(Removal, LibraryBatchTest,
    ::testing::Values(BatchCase { 1, { 1 } }, BatchCase { 99, { 99 } }, BatchCase { 100, { 99, 1 } }));

TEST_F(LibraryAlbumTest, AFailingBatchStaysMarkedAndUncounted)
{
    bridge->failingBatch = 1;
    showMarkedItems(100);
    runToEnd();
    EXPECT_EQ(state.countTrashed, 99);
    ASSERT_EQ(run->summary().failed.size(), 1u);
    EXPECT_EQ(run->summary().failed.front().reason, QStringLiteral("not added to the album"));
    EXPECT_TRUE(markedItems.back()->isMark);
    EXPECT_FALSE(markedItems.back()->isTrashed);
    EXPECT_EQ(state.arrGroups.size(), 1u);
}

TEST_F(LibraryAlbumTest, AnItemTheLibraryLacksIsPassedOver)
{
    bridge->missing = { QStringLiteral("m1") };
    showMarkedItems(3);
    runToEnd();
    EXPECT_EQ(state.countTrashed, 2);
    EXPECT_TRUE(markedItems[1]->isMark && !markedItems[1]->isTrashed);
    EXPECT_EQ(batchSizes(), std::vector<qsizetype>({ 2 }));
}

TEST_F(LibraryAlbumTest, StopDuringTheHandOverStillHandsOverTheCurrentBatch)
{
    int lookups = 0;
    bridge->onLookup = [&] {
        if (++lookups == 120)
            run->requestStop();
    };
    showMarkedItems(150);
    runToEnd();
    EXPECT_EQ(batchSizes(), std::vector<qsizetype>({ 99, 21 }));
    EXPECT_EQ(state.countTrashed, 120);
    EXPECT_TRUE(markedItems.back()->isMark);
}

TEST_F(LibraryAlbumTest, AMissingAlbumIsMadeAndAPermissionRefusalIsRecorded)
{
    showMarkedItems(2);
    runToEnd();
    ASSERT_EQ(bridge->scripts.size(), 2);
    EXPECT_EQ(bridge->scripts.front(), PhotosAlbum::createAlbumScript(kAlbum));
    EXPECT_EQ(state.countTrashed, 2);

    bridge->containers = QStringList();
    bridge->createError = PhotosAlbum::kNotAuthorized;
    bridge->batches.clear();
    ResultState again;
    show(again, { groupOf({ libraryItem("k", false), libraryItem("m", true) }) });
    RemovalRun second(again, routes);
    ASSERT_TRUE(second.start());
    ASSERT_TRUE(waitUntil([&] { return !second.isRunning(); }));
    EXPECT_TRUE(libraryRoute->ending().notAuthorized);
    EXPECT_FALSE(libraryRoute->ending().albumFailed);
    EXPECT_TRUE(bridge->batches.empty());
    EXPECT_EQ(again.countTrashed, 0);
}

// Another program finds each item by its path in the library; an album file of an earlier version,
// with bare identifiers, is still read and added to.
TEST_F(LibraryAlbumTest, TheAlbumFileNamesEachItemByItsPathAndIdentifier)
{
    QTemporaryDir dir;
    auto store = std::make_shared<LocalAlbumStore>(dir.filePath(QStringLiteral("marked-albums.plist")));
    ASSERT_TRUE(PropertyList::writeFile(store->filePath(),
        QVariantMap { { kLibrary, QVariantMap { { kAlbum, QVariantList { QStringLiteral("old") } } } } }));
    auto route = std::make_shared<LibraryAlbumRoute>(store, kAlbum);
    route->waitBeforeScript = [] {};
    routes->setRoute(RemovalRoutes::Kind::LibraryAlbum, route);
    showMarkedItems(2);
    runToEnd();
    const auto items = PropertyList::readFile(store->filePath())->toMap()[kLibrary].toMap()[kAlbum].toList();
    EXPECT_EQ(items.value(1).toMap(), QVariantMap({ { "identifier", "m0" }, { "path", "originals/m0.jpg" } }));
    EXPECT_EQ(store->albumItems(kLibrary, kAlbum), QStringList({ "old", "m0", "m1" }));
}

TEST(PhotosAlbum, IsFoundByExactAndByLocaleAwareName)
{
    FakePhotosBridge bridge;
    const QString composed = QStringLiteral("Caf\u00e9 duplicates"),
                  decomposed = QStringLiteral("Cafe\u0301 duplicates");
    bridge.containers = QStringList { "Holidays", decomposed };
    EXPECT_TRUE(PhotosAlbum(bridge, decomposed).isAlbumFound());
    EXPECT_TRUE(PhotosAlbum(bridge, composed).isAlbumFound());
    EXPECT_FALSE(PhotosAlbum(bridge, QStringLiteral("Other")).isAlbumFound());
    bridge.containers.reset();
    EXPECT_FALSE(PhotosAlbum(bridge, decomposed).isAlbumFound());
}

TEST(PhotosAlbum, ScriptsAreTheFixedLinesWithEscapedValues)
{
    EXPECT_EQ(PhotosAlbum::createAlbumScript(kAlbum),
        "tell application \"Photos\" \n delay 3\n make new album named \"Duplicate Marked Photos\"\n end "
        "tell");
    EXPECT_EQ(PhotosAlbum::identifierList({ "A1" }), "{\"A1\"}");
    EXPECT_EQ(PhotosAlbum::identifierList({ "A1", "", "B/2" }), "{\"A1\",\"B/2\"}");
    EXPECT_EQ(PhotosAlbum::createAlbumScript("say \"hi\" \\ bye").split('\n').at(2),
        " make new album named \"say \\\"hi\\\" \\\\ bye\"");
    const QStringList lines = PhotosAlbum::addToAlbumScript(kAlbum, { "x" }).split('\n');
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[2], " set target_album_name to \"Duplicate Marked Photos\" ");
    EXPECT_EQ(lines[4], " set imageId to {\"x\"} ");
    EXPECT_EQ(lines[12], " add imageList to container named target_album_name ");
}

TEST(PhotosAlbum, NotRunningShowsTheAlertAndRunsNoScript)
{
    FakePhotosBridge bridge;
    bridge.running = false;
    PhotosAlbum album(bridge, kAlbum);
    int alerts = 0;
    album.showNotRunningAlert = [&] { ++alerts; };
    EXPECT_FALSE(album.createPhotosAlbum());
    EXPECT_EQ(alerts, 1);
    EXPECT_TRUE(bridge.scripts.isEmpty());
}

TEST(LocalAlbumStore, KeepsTheAlbumInItsOwnFileAndLeavesTheLibraryAlone)
{
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("Fixture.photoslibrary"));
    ASSERT_TRUE(TestFiles::write(library + QStringLiteral("/database/Photos.sqlite"), QByteArray(4096, 'd')));
    ASSERT_TRUE(TestFiles::write(library + QStringLiteral("/originals/a.jpg"), QByteArray(2048, 'a')));
    const auto snapshot = [&] {
        QStringList state;
        for (const QString &name :
            { QStringLiteral("/database/Photos.sqlite"), QStringLiteral("/originals/a.jpg") }) {
            QFile f(library + name);
            state.append(f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().toHex()) : QString());
            state.append(QString::number(QFileInfo(library + name).lastModified().toMSecsSinceEpoch()));
        }
        state.append(QDir(library).entryList(QDir::AllEntries | QDir::NoDotAndDotDot));
        return state;
    };
    const QStringList before = snapshot();
    LocalAlbumStore store(dir.filePath(QStringLiteral("support/marked-albums.plist")));
    ASSERT_TRUE(store.isRunning());
    ASSERT_TRUE(store.openLibrary(library));
    EXPECT_EQ(store.containerNames(), QStringList());
    PhotosAlbum album(store, kAlbum);
    album.waitBeforeScript = [] {};
    ASSERT_TRUE(album.createPhotosAlbum());
    EXPECT_TRUE(album.isAlbumFound());
    EXPECT_EQ(album.moveDuplicateImagesToDuplicateMarkedPhotosAlbumWithID({ "id1", "id2" }),
        QStringList({ "id1", "id2" }));
    album.moveDuplicateImagesToDuplicateMarkedPhotosAlbumWithID({ "id2", "id3" });
    // A second store reads what the first wrote.
    LocalAlbumStore reread(store.filePath());
    EXPECT_EQ(reread.albumItems(library, kAlbum), QStringList({ "id1", "id2", "id3" }));
    EXPECT_EQ(snapshot(), before);
}

} // namespace

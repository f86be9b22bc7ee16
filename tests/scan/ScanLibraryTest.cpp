// Photo libraries and nested sources in a scan: items become records through the library reader, one
// library per scan, and a file that two ticked entries reach is one record.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "app/LocalizedString.h"
#include "model/LibraryTestLibrary.h"
#include "scan/NoPhotosMessage.h"

// The synthetic library of the reader's own tests, built into this test binary as well.
#include "model/LibraryTestLibrary.cpp"

using namespace ScanTestSupport;

namespace
{

// A library whose two items are byte-identical photos, plus one distinct photo, with its database
// at `databaseName` when given.
std::unique_ptr<LibraryTestLibrary> makeLibrary(const QString &folder, int seed,
    LibraryTestLibrary::Layout layout = LibraryTestLibrary::Layout::PhotosStore,
    const QString &databaseName = {})
{
    auto library = std::make_unique<LibraryTestLibrary>(folder, layout, databaseName);
    const QString originals = library->libraryPath()
        + (layout == LibraryTestLibrary::Layout::IPhoto ? QStringLiteral("/Masters/A/")
                                                        : QStringLiteral("/originals/A/"));
    const QStringList names { QStringLiteral("one.jpg"), QStringLiteral("two.jpg"),
        QStringLiteral("three.jpg") };
    EXPECT_TRUE(writeImage(makePhoto(seed), originals + names[0]));
    EXPECT_TRUE(QFile::copy(originals + names[0], originals + names[1]));
    EXPECT_TRUE(writeImage(makePhoto(seed + 1), originals + names[2]));
    for (const QString &name : names) {
        LibraryTestLibrary::Item item;
        item.fileName = name;
        item.size = QFile(originals + name).size();
        item.created = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
        item.added = item.created;
        library->addItem(item);
    }
    return library;
}

FilePathNode libraryNode(const QString &path)
{
    FilePathNode node = folderNode(path);
    node.nodeType = GlobalObjects::NodeType::nodeTypePhotos;
    return node;
}

} // namespace

TEST(ScanLibraryTest, OnlyTheFirstTickedLibraryIsRead)
{
    QTemporaryDir first, second;
    const auto a = makeLibrary(first.path(), 10);
    const auto b = makeLibrary(second.path(), 20);
    const ScanResult result
        = runScan(options(false), { libraryNode(a->libraryPath()), libraryNode(b->libraryPath()) });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.records.size(), 3);
    ASSERT_EQ(result.groups.size(), 1);
    EXPECT_EQ(relativeGroups(result.groups, a->libraryPath()),
        (QList<QStringList> { { "originals/A/one.jpg", "originals/A/two.jpg" } }));
}

TEST(ScanLibraryTest, ALibraryInsideAFolderIsReadOnlyWhenAllowed)
{
    QTemporaryDir dir;
    const auto library = makeLibrary(dir.path(), 30);
    ASSERT_TRUE(writeImage(makePhoto(40), dir.filePath("loose.jpg")));
    for (const bool allowed : { false, true }) {
        ScanOptions o = options(false);
        o.includePhotosLibInFolder = allowed;
        const ScanResult result = runScan(o, { folderNode(dir.path()) });
        EXPECT_EQ(result.records.size(), allowed ? 4 : 1) << allowed;
    }
}

// Each entry's tick decides whether it is scanned, whatever entry holds it or lies inside it, and
// a file reached through two ticked entries is one record, never its own duplicate.
TEST(ScanLibraryTest, EachFileIsOneRecordOfTheTickedEntries)
{
    QTemporaryDir dir;
    const auto library = makeLibrary(dir.path(), 80);
    ASSERT_TRUE(writeImage(makePhoto(90), dir.filePath("plain/sub/x.jpg")));
    const FilePathNode plain = folderNode(dir.filePath("plain")), sub = folderNode(dir.filePath("plain/sub"));
    FilePathNode unticked = plain;
    unticked.state = 0;
    const FilePathNode inLibrary = folderNode(library->libraryPath() + QStringLiteral("/originals/A"));
    const FilePathNode wholeLibrary = libraryNode(library->libraryPath());
    const std::vector<std::pair<std::vector<FilePathNode>, int>> cases { { { plain, sub }, 1 },
        { { unticked, sub }, 1 }, { { fileNode(dir.filePath("plain/sub/x.jpg")), sub }, 1 },
        { { wholeLibrary, inLibrary }, 3 }, { { inLibrary, wholeLibrary }, 3 } };
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(runScan(options(false), cases[i].first).records.size(), cases[i].second) << i;
}

// Libraries laid out as they are written: the database of photos under the name and letter case
// its writer gives it, beside a database of settings only; one with the settings alone cannot be
// read, and says so with its database named.
TEST(ScanLibraryTest, LibrariesAreReadAsTheyAreWritten)
{
    using Layout = LibraryTestLibrary::Layout;
    const struct {
        Layout layout;
        const char *database;
        const char *settings;
        int records;
    } cases[] = { { Layout::PhotosStore, "database/Photos.sqlite", "database/photos.db", 3 },
        { Layout::PhotosStore, "database/Photos.sqlite", nullptr, 3 },
        { Layout::OlderPhotosStore, "Database/Photos.db", nullptr, 3 },
        { Layout::IPhoto, "database/apdb/Library.apdb", nullptr, 3 },
        { Layout::PhotosStore, "database/Photos.sqlite.bak", "database/photos.db", 0 } };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const auto library = makeLibrary(dir.path(), 50, c.layout, QLatin1String(c.database));
        if (c.settings)
            LibraryTestLibrary::writeSettingsDatabase(library->libraryPath() + QLatin1Char('/') + c.settings);
        const ScanResult result = runScan(options(false), { libraryNode(library->libraryPath()) });
        EXPECT_EQ(result.records.size(), c.records) << c.database;
        EXPECT_EQ(result.groups.size(), c.records > 0 ? 1 : 0) << c.database;
        const WalkReport &report = result.walkReport;
        EXPECT_EQ(report.unreadableLibrary, c.records > 0 ? QString() : library->libraryPath()) << c.database;
        if (c.records > 0)
            continue;
        EXPECT_EQ(report.unreadableLibraryDatabase, library->libraryPath() + QLatin1Char('/') + c.settings);
        EXPECT_NE(NoPhotosMessage::messageText(report),
            localizedString(QStringLiteral("ID_NO_PHOTOS_DETECTED_AT_PATH")));
        EXPECT_TRUE(NoPhotosMessage::informativeText(report, 0).contains(report.unreadableLibraryDatabase));
    }
}

// Library items that the date window leaves out are counted as a folder's files are: only those
// the scan would otherwise take (a video is not, in a scan of photos).
TEST(ScanLibraryTest, ItemsOutsideTheDateWindowAreCounted)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
    const struct {
        int field;
        QDateTime added;
        int records;
        int outside;
    } cases[] = { { LibraryDateWindow::kCaptureDate, old, 0, 3 },
        { LibraryDateWindow::kDateAdded, old, 0, 3 }, { LibraryDateWindow::kDateAdded, now, 3, 0 },
        { LibraryDateWindow::kCaptureOrAdded, old, 0, 3 } };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        LibraryTestLibrary library(dir.path(), LibraryTestLibrary::Layout::PhotosStore);
        const QString originals = library.libraryPath() + QStringLiteral("/originals/A/");
        for (int i = 0; i < 4; ++i) {
            const QString name = i < 3 ? QStringLiteral("p%1.jpg").arg(i) : QStringLiteral("clip.mov");
            ASSERT_TRUE(i == 3 ? QFile(originals + name).open(QIODevice::WriteOnly)
                               : writeImage(makePhoto(60 + i), originals + name));
            LibraryTestLibrary::Item item;
            item.fileName = name;
            item.created = old;
            item.added = c.added;
            library.addItem(item);
        }
        ScanOptions o = options(false);
        o.period.enabled = true;
        o.period.filesFromDate = c.field;
        o.period.photosFrom = 4;
        const ScanResult result = runScan(o, { libraryNode(library.libraryPath()) });
        EXPECT_EQ(result.records.size(), c.records) << c.field << c.added.toString().toStdString();
        EXPECT_EQ(result.walkReport.outsideScanPeriod, c.outside)
            << c.field << c.added.toString().toStdString();
    }
}

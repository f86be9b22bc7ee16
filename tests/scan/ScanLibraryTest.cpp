// Photo libraries and nested sources in a scan: items become records through the library reader, one
// library per scan, and a file that two ticked entries reach is one record.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "app/CommonFunc.h"
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

// Libraries laid out as they are written, the database under its writer's name and letter case,
// beside one of settings only or a second spelling, are read through a scan; with the settings
// alone, the library is named unreadable with its database.
TEST(ScanLibraryTest, LibrariesAreReadAsTheyAreWritten)
{
    using Layout = LibraryTestLibrary::Layout;
    const std::tuple<Layout, const char *, const char *> cases[]
        = { { Layout::PhotosStore, "database/Photos.sqlite", "database/photos.db" },
              { Layout::PhotosStore, "database/Photos.sqlite", "database/photos.sqlite" },
              { Layout::PhotosStore, "database/Photos.sqlite", nullptr },
              { Layout::OlderPhotosStore, "DATABASE/photos.DB", nullptr },
              { Layout::IPhoto, "database/apdb/Library.apdb", nullptr },
              { Layout::PhotosStore, "database/Photos.sqlite.bak", "database/photos.db" } };
    for (const auto &[layout, database, settings] : cases) {
        QTemporaryDir dir;
        const auto library = makeLibrary(dir.path(), 50, layout, QLatin1String(database));
        const QString settingsPath = library->libraryPath() + QLatin1Char('/') + QLatin1String(settings);
        if (settings)
            LibraryTestLibrary::writeSettingsDatabase(settingsPath);
        const bool readable = !QLatin1String(database).endsWith(QLatin1String(".bak"));
        // What Add asks of a library before it takes it.
        EXPECT_TRUE(CommonFunc::hasPhotosLibraryDatabase(library->libraryPath())) << database;
        const ScanResult result = runScan(options(false), { libraryNode(library->libraryPath()) });
        EXPECT_EQ(result.groups.size(), readable ? 1 : 0) << database;
        EXPECT_EQ(result.walkReport.unreadableLibraryDatabase, readable ? QString() : settingsPath);
        EXPECT_EQ(NoPhotosMessage::informativeText(result.walkReport, 0).contains(settingsPath), !readable);
        EXPECT_EQ(NoPhotosMessage::messageText(result.walkReport)
                == localizedString("ID_NO_PHOTOS_DETECTED_AT_PATH"),
            readable);
    }
}

// Library items that the date window leaves out are counted as a folder's files are: only those
// the scan would otherwise take (no video in a scan of photos).
TEST(ScanLibraryTest, ItemsOutsideTheDateWindowAreCounted)
{
    const std::tuple<int, int, int> cases[] = { { LibraryDateWindow::kCaptureDate, 4, 3 },
        { LibraryDateWindow::kDateAdded, 4, 3 }, { LibraryDateWindow::kCaptureDate, 6, 0 } };
    for (const auto &[field, from, outside] : cases) {
        QTemporaryDir dir;
        const auto library = makeLibrary(dir.path(), 60);
        LibraryTestLibrary::Item clip;
        clip.fileName = QStringLiteral("clip.mov");
        library->addItem(clip);
        ScanOptions o = options(false);
        o.period = { true, field, from };
        const ScanResult result = runScan(o, { libraryNode(library->libraryPath()) });
        EXPECT_EQ(result.walkReport.outsideScanPeriod, outside) << field << from;
        EXPECT_EQ(result.records.size(), 3 - outside) << field << from;
    }
}

// Library items whose file is not in the library are left out and counted, and the end of the scan
// names the first; a library whose query cannot run, or whose database is no file, is told
// unreadable with the database's or the system's words; one whose query fails part way is scanned
// with the items before and told so.
TEST(ScanLibraryTest, ItemsWithoutTheirFileAndAFailingQueryAreTold)
{
    // The sizes of the items from `row` on overflow as they are read: the query fails at that row.
    const auto failingFrom = [](int row) {
        return QByteArrayLiteral("ALTER TABLE ZADDITIONALASSETATTRIBUTES RENAME TO Kept; "
                                 "CREATE VIEW ZADDITIONALASSETATTRIBUTES AS SELECT Z_PK, ZASSET, "
                                 "CASE WHEN ZASSET >= ")
            + QByteArray::number(row)
            + " THEN abs(-9223372036854775807 - 1) ELSE ZORIGINALFILESIZE END AS ZORIGINALFILESIZE, "
              "ZORIGINALFILENAME, ZALLOWEDFORANALYSIS FROM Kept";
    };
    const struct {
        int removed;
        QByteArray damage;
        int records;
        const char *says;
    } cases[] = {
        { 1, "", 2, "One item of the photo library was not compared: its original file \"" },
        { 3, "", 0, "3 items of the photo library were not compared" },
        { 0, "DROP TABLE ZADDITIONALASSETATTRIBUTES", 0,
            "could not be queried (no such table: ZADDITIONALASSETATTRIBUTES)" },
        { 0, failingFrom(1), 0, "could not be queried (integer overflow)" },
        { 0, failingFrom(3), 2, "failed part way (integer overflow). Only the 2 items read before" },
        { 0, "folder", 0, "could not be copied to be read (not a regular file" },
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const auto library = makeLibrary(dir.path(), 70);
        const QString originals = library->libraryPath() + QStringLiteral("/originals/A/");
        for (const char *name : QList<const char *> { "three.jpg", "two.jpg", "one.jpg" }.mid(0, c.removed))
            ASSERT_TRUE(QFile::remove(originals + QLatin1String(name)));
        if (c.damage == "folder")
            ASSERT_TRUE(QFile::remove(library->databasePath()) && QDir().mkdir(library->databasePath()));
        else
            library->run(c.damage.constData());
        const ScanResult result = runScan(options(false), { libraryNode(library->libraryPath()) });
        EXPECT_EQ(result.records.size(), c.records) << c.says;
        EXPECT_EQ(result.walkReport.libraryFilesMissing, c.removed);
        const bool unreadable = !c.damage.isEmpty() && c.records == 0;
        EXPECT_EQ(NoPhotosMessage::messageText(result.walkReport)
                == localizedString("ID_NO_PHOTOS_DETECTED_AT_PATH"),
            !unreadable)
            << c.says;
        const QString told = NoPhotosMessage::skippedFoldersText(result.walkReport);
        EXPECT_TRUE(told.contains(QLatin1String(c.says))
            && told.contains(c.damage.isEmpty() ? originals : library->databasePath()))
            << told.toStdString();
    }
}

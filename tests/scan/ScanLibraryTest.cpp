// Photo libraries and nested sources in a scan: items become records through the library reader, one
// library per scan, and a file that two ticked entries reach is one record.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "model/LibraryTestLibrary.h"

// The synthetic library of the reader's own tests, built into this test binary as well.
#include "model/LibraryTestLibrary.cpp"

using namespace ScanTestSupport;

namespace
{

// A library whose two items are byte-identical photos, plus one distinct photo.
std::unique_ptr<LibraryTestLibrary> makeLibrary(const QString &folder, int seed,
    const QDateTime &dated = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC))
{
    auto library = std::make_unique<LibraryTestLibrary>(folder, LibraryTestLibrary::Layout::PhotosStore);
    const QString originals = library->libraryPath() + QStringLiteral("/originals/A/");
    const QStringList names { QStringLiteral("one.jpg"), QStringLiteral("two.jpg"),
        QStringLiteral("three.jpg") };
    EXPECT_TRUE(writeImage(makePhoto(seed), originals + names[0]));
    EXPECT_TRUE(QFile::copy(originals + names[0], originals + names[1]));
    EXPECT_TRUE(writeImage(makePhoto(seed + 1), originals + names[2]));
    for (const QString &name : names) {
        LibraryTestLibrary::Item item;
        item.fileName = name;
        item.size = QFile(originals + name).size();
        item.created = dated;
        item.added = dated;
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

namespace
{

struct NestedEntry {
    const char *path; // below the test folder
    GlobalObjects::NodeType type;
    bool ticked;
};

struct NestedCase {
    const char *name;
    QList<NestedEntry> entries;
    QStringList records;
};

class NestedSourcesTest : public ::testing::TestWithParam<NestedCase>
{
};

constexpr auto kFolder = GlobalObjects::NodeType::nodeTypefolder;
constexpr auto kFile = GlobalObjects::NodeType::nodeTypefile;
constexpr auto kLibrary = GlobalObjects::NodeType::nodeTypePhotos;
const QStringList kLibraryItems { "Test.photoslibrary/originals/A/one.jpg",
    "Test.photoslibrary/originals/A/three.jpg", "Test.photoslibrary/originals/A/two.jpg" };

} // namespace

// Each entry's tick decides whether it is scanned, whatever entry holds it or lies inside it, and
// a file reached through two ticked entries is one record, never its own duplicate.
TEST_P(NestedSourcesTest, EachFileIsOneRecordOfTheTickedEntries)
{
    QTemporaryDir dir;
    const auto library = makeLibrary(dir.path(), 80);
    ASSERT_TRUE(writeImage(makePhoto(90), dir.filePath("plain/sub/x.jpg")));
    ASSERT_TRUE(QFile::copy(dir.filePath("plain/sub/x.jpg"), dir.filePath("plain/sub/y.jpg")));
    std::vector<FilePathNode> nodes;
    for (const NestedEntry &entry : GetParam().entries) {
        FilePathNode node = folderNode(dir.filePath(QString::fromLatin1(entry.path)));
        node.nodeType = entry.type;
        node.state = entry.ticked ? 1 : 0;
        nodes.push_back(node);
    }
    const ScanResult result = runScan(options(false), nodes);
    ASSERT_TRUE(result.finished);
    QStringList records;
    for (const QString &path : result.records)
        records.append(QDir(dir.path()).relativeFilePath(path));
    records.sort();
    EXPECT_EQ(records, GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Entries, NestedSourcesTest,
    ::testing::Values(NestedCase { "FolderAndTheFolderInsideIt",
                          { { "plain", kFolder, true }, { "plain/sub", kFolder, true } },
                          { "plain/sub/x.jpg", "plain/sub/y.jpg" } },
        NestedCase { "InnerFolderFirst", { { "plain/sub", kFolder, true }, { "plain", kFolder, true } },
            { "plain/sub/x.jpg", "plain/sub/y.jpg" } },
        NestedCase { "UntickedParentLetsItsTickedChildScan",
            { { "plain", kFolder, false }, { "plain/sub", kFolder, true } },
            { "plain/sub/x.jpg", "plain/sub/y.jpg" } },
        NestedCase {
            "UntickedEntriesOnly", { { "plain", kFolder, false }, { "plain/sub", kFolder, false } }, {} },
        NestedCase { "FileAndItsFolder",
            { { "plain/sub/x.jpg", kFile, true }, { "plain/sub", kFolder, true } },
            { "plain/sub/x.jpg", "plain/sub/y.jpg" } },
        NestedCase { "LibraryAndAFolderInsideIt",
            { { "Test.photoslibrary", kLibrary, true }, { "Test.photoslibrary/originals/A", kFolder, true } },
            kLibraryItems },
        NestedCase { "FolderInsideALibraryListedFirst",
            { { "Test.photoslibrary/originals/A", kFolder, true }, { "Test.photoslibrary", kLibrary, true } },
            kLibraryItems }),
    [](const auto &info) { return std::string(info.param.name); });

namespace
{

struct LibraryDateCase {
    const char *name;
    int dateKind; // the stored "scanFilesFromDate"
    int period; // the stored "scanPhotosFrom": 0 today, 1 yesterday
    int libraryDaysAgo; // capture and added dates in the library
    int records;
};

class LibraryDateKindTest : public ::testing::TestWithParam<LibraryDateCase>
{
};

} // namespace

// A library's items by each date kind; their files were all written today.
TEST_P(LibraryDateKindTest, ItemsPassByTheChosenDate)
{
    const LibraryDateCase &c = GetParam();
    QTemporaryDir dir;
    const auto library
        = makeLibrary(dir.path(), 100, QDateTime::currentDateTimeUtc().addDays(-c.libraryDaysAgo));
    ScanOptions o = options(false);
    o.period.enabled = true;
    o.period.filesFromDate = c.dateKind;
    o.period.photosFrom = c.period;
    const ScanResult result = runScan(o, { libraryNode(library->libraryPath()) });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.records.size(), c.records);
}

INSTANTIATE_TEST_SUITE_P(Kinds, LibraryDateKindTest,
    ::testing::Values(LibraryDateCase { "CapturedLongAgo", 0, 0, 2000, 0 },
        LibraryDateCase { "CreatedTodayWhateverTheLibrarySays", 2, 0, 2000, 3 },
        LibraryDateCase { "NotCreatedYesterday", 2, 1, 1, 0 },
        LibraryDateCase { "AddedLongAgo", 1, 0, 2000, 0 },
        LibraryDateCase { "CapturedOrAddedLongAgo", 3, 0, 2000, 0 }),
    [](const auto &info) { return std::string(info.param.name); });

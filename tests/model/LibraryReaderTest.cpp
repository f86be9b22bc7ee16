// The photo-library reader on synthetic libraries of all three database layouts: exclusion of
// trashed items and of the marked-duplicates album, date windows, awkward rows, and the private
// copies of the database being removed afterwards.
#include <gtest/gtest.h>

#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "LibraryTestLibrary.h"
#include "app/CommonFunc.h"
#include "model/DBOperations.h"
#include "model/LibraryCopyFolder.h"
#include "model/LibraryDatabaseCopy.h"
#include "platform/AppFolders.h"
#include "platform/UserDefaults.h"
#include "support/TestFiles.h"
#include "support/Unprivileged.h"

using Layout = LibraryTestLibrary::Layout;
using Item = LibraryTestLibrary::Item;

namespace
{

const QString kAlbum = QStringLiteral("Duplicate Marked 'Photos' 100%");

std::string layoutName(Layout layout)
{
    switch (layout) {
    case Layout::PhotosStore:
        return "PhotosStore";
    case Layout::OlderPhotosStore:
        return "OlderPhotosStore";
    default:
        return "IPhoto";
    }
}

QStringList namesOf(const QList<QVariantMap> &items)
{
    QStringList names;
    for (const QVariantMap &item : items)
        names.append(QDir(item.value(QStringLiteral("imagePath")).toString()).dirName());
    return names;
}

Item item(const QString &name, const QDateTime &created = QDateTime(), const QDateTime &added = QDateTime())
{
    Item made;
    made.fileName = name;
    made.created = created.isValid() ? created : QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
    made.added = added.isValid() ? added : made.created;
    return made;
}

LibraryQueryOptions options(bool exactTitle, const LibraryDateWindow &window = LibraryDateWindow())
{
    LibraryQueryOptions made;
    made.markedAlbumName = kAlbum;
    made.matchAlbumByExactTitle = exactTitle;
    made.window = window;
    return made;
}

// The files a read left in the caches folder, at any depth, but for the lock reads take turns by.
QStringList copiesLeft()
{
    QStringList left;
    QDirIterator files(
        AppFolders::cachesFolder(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path != LibraryCopyFolder::parentFolder() + QStringLiteral("/.lock"))
            left.append(path);
    }
    return left;
}

class LibraryReaderTest : public ::testing::TestWithParam<Layout>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QStringList cacheCopies() const { return copiesLeft(); }

    QTemporaryDir m_folder;
};

TEST_P(LibraryReaderTest, ListsUntrashedItemsOutsideTheMarkedAlbum)
{
    LibraryTestLibrary library(m_folder.path(), GetParam());
    library.addItem(item(QStringLiteral("photo.jpg")));
    library.addItem(item(QStringLiteral("clip.mov")));
    Item trashed = item(QStringLiteral("trashed.jpg"));
    trashed.trashed = true;
    library.addItem(trashed);
    const qint64 marked = library.addItem(item(QStringLiteral("marked.jpg")));
    const qint64 decoyItem = library.addItem(item(QStringLiteral("decoy.jpg")));
    library.putInAlbum(marked, library.addAlbum(kAlbum));
    // Differs only in case and in what a LIKE pattern would let through: must not count.
    library.putInAlbum(decoyItem, library.addAlbum(QStringLiteral("duplicate marked 'photos' 100_")));

    for (const bool exactTitle : { true, false }) {
        const QList<QVariantMap> items = DBOperations::fetchData(library.libraryPath(), options(exactTitle));
        EXPECT_EQ(namesOf(items), QStringList({ "photo.jpg", "clip.mov", "decoy.jpg" })) << exactTitle;
    }
    EXPECT_TRUE(cacheCopies().isEmpty());
}

TEST_P(LibraryReaderTest, ItemCarriesPathSizeAndIdentifiers)
{
    LibraryTestLibrary library(m_folder.path(), GetParam());
    Item described = item(QStringLiteral("one.heic"));
    described.directory = QStringLiteral("F");
    described.size = 4321;
    described.description = QStringLiteral("at the beach");
    library.addItem(described);
    const QList<QVariantMap> items = DBOperations::fetchData(library.libraryPath(), options(true));
    ASSERT_EQ(items.size(), 1);
    const QVariantMap &one = items.first();
    const bool iPhoto = GetParam() == Layout::IPhoto;
    EXPECT_EQ(one.value("imagePath").toString(),
        library.libraryPath()
            + (iPhoto ? QStringLiteral("/Masters/F/one.heic") : QStringLiteral("/originals/F/one.heic")));
    EXPECT_EQ(one.value("fileSize").toULongLong(), 4321u);
    EXPECT_EQ(one.value("originalFileName").toString(),
        iPhoto ? QStringLiteral("one.heic") : QStringLiteral("IMG_one.heic"));
    EXPECT_EQ(one.value("uuidRKVersion").toString(), QStringLiteral("UUID-one.heic"));
    EXPECT_EQ(one.value("uuid").toString(), QStringLiteral("UUID-one.heic"));
    EXPECT_EQ(one.value("modelId").toString(), iPhoto ? QStringLiteral("1") : QString());
    EXPECT_EQ(one.value("description").toString(), iPhoto ? QStringLiteral("at the beach") : QString());
}

TEST_P(LibraryReaderTest, RowsItCannotReadArePassedOver)
{
    LibraryTestLibrary library(m_folder.path(), GetParam());
    Item negative = item(QStringLiteral("negative.jpg"));
    negative.size = -5;
    Item noUuid = item(QStringLiteral("nouuid.jpg"));
    noUuid.nullUuid = true;
    Item excluded = item(QStringLiteral("excluded.jpg"));
    excluded.allowedForAnalysis = false;
    excluded.burstMember = true;
    library.addItem(negative);
    library.addItem(noUuid);
    library.addItem(excluded);
    library.addItem(item(QStringLiteral("good.jpg")));
    EXPECT_EQ(
        namesOf(DBOperations::fetchData(library.libraryPath(), options(true))), QStringList({ "good.jpg" }));
}

TEST_P(LibraryReaderTest, CompanionsAreCopiedReadAndRemoved)
{
    LibraryTestLibrary library(m_folder.path(), GetParam());
    library.holdChangesInWal();
    library.addItem(item(QStringLiteral("only-in-wal.jpg")));
    QFile lock(library.databasePath() + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    ASSERT_TRUE(QFileInfo::exists(library.databasePath() + QStringLiteral("-wal")));

    EXPECT_EQ(namesOf(DBOperations::fetchData(library.libraryPath(), options(true))),
        QStringList({ "only-in-wal.jpg" }));
    EXPECT_TRUE(cacheCopies().isEmpty()) << cacheCopies().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(QFileInfo::exists(library.databasePath() + QStringLiteral("-wal")));
}

TEST_P(LibraryReaderTest, DateWindows)
{
    const int field = LibraryDateWindow::kCaptureOrAdded;
    const QDateTime todayStart = CommonFunc::dayStartInGMT(QDateTime::currentDateTime());
    const QDateTime yesterdayStart = CommonFunc::dateSecondsAgo(86400);
    LibraryTestLibrary library(m_folder.path(), GetParam());
    library.addItem(item(QStringLiteral("today.jpg"), todayStart.addSecs(60)));
    library.addItem(item(QStringLiteral("yesterday.jpg"), yesterdayStart.addSecs(60)));
    library.addItem(item(QStringLiteral("lastweek.jpg"), todayStart.addDays(-5)));
    library.addItem(item(QStringLiteral("old.jpg"), todayStart.addDays(-400)));

    UserDefaults &defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("allowPhotosLibScanInTimePeriod"), true);
    defaults.setObject(QStringLiteral("scanFilesFromDate"), qlonglong(field));
    const auto listFor = [&](qlonglong choice) {
        defaults.setObject(QStringLiteral("scanPhotosFrom"), choice);
        LibraryQueryOptions current = DBOperations::currentOptions();
        current.markedAlbumName = kAlbum;
        return namesOf(DBOperations::fetchData(library.libraryPath(), current));
    };
    EXPECT_EQ(listFor(0), QStringList({ "today.jpg" }));
    EXPECT_EQ(listFor(1), QStringList({ "yesterday.jpg" }));
    EXPECT_EQ(listFor(2), QStringList({ "today.jpg", "yesterday.jpg", "lastweek.jpg" }));
    EXPECT_EQ(listFor(6), QStringList({ "today.jpg", "yesterday.jpg", "lastweek.jpg", "old.jpg" }));
    defaults.setObject(QStringLiteral("allowPhotosLibScanInTimePeriod"), false);
    EXPECT_EQ(listFor(0).size(), 4);
    defaults.removeObject(QStringLiteral("allowPhotosLibScanInTimePeriod"));
    defaults.removeObject(QStringLiteral("scanFilesFromDate"));
    defaults.removeObject(QStringLiteral("scanPhotosFrom"));

    const LibraryDateWindow range
        = LibraryDateWindow::between(todayStart.addDays(-10), todayStart.addDays(-2), field);
    EXPECT_EQ(namesOf(DBOperations::fetchData(library.libraryPath(), options(false, range))),
        QStringList({ "lastweek.jpg" }));
}

TEST_P(LibraryReaderTest, DateFieldChoosesWhichDateIsCompared)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    LibraryTestLibrary library(m_folder.path(), GetParam());
    library.addItem(item(QStringLiteral("taken-long-ago-added-now.jpg"), now.addDays(-400), now.addDays(-1)));
    library.addItem(item(QStringLiteral("taken-now-added-long-ago.jpg"), now.addDays(-1), now.addDays(-400)));
    const auto within = [&](int field) {
        return namesOf(DBOperations::fetchData(library.libraryPath(),
            options(true, LibraryDateWindow::between(now.addDays(-30), std::nullopt, field))));
    };
    EXPECT_EQ(within(LibraryDateWindow::kCaptureDate), QStringList({ "taken-now-added-long-ago.jpg" }));
    EXPECT_EQ(within(LibraryDateWindow::kDateAdded), QStringList({ "taken-long-ago-added-now.jpg" }));
    EXPECT_EQ(within(LibraryDateWindow::kCaptureOrAdded).size(), 2);
    // The files' own creation dates are the scan's to test, not the database's.
    EXPECT_EQ(within(LibraryDateWindow::kFileCreationDate).size(), 2);
}

// A database that claims 4 GiB but holds a few pages (holes on the disk) is read whole.
TEST_P(LibraryReaderTest, ASparseDatabaseOfFourGiBIsReadWhole)
{
    LibraryTestLibrary library(m_folder.path(), GetParam());
    library.addItem(item(QStringLiteral("sparse.jpg")));
    ASSERT_TRUE(QFile::resize(library.databasePath(), qint64(4) << 30));
    LibraryRead read { LibraryExtent::TooLarge, {}, {}, {} };
    EXPECT_EQ(namesOf(DBOperations::fetchData(library.libraryPath(), options(true), &read)),
        QStringList({ "sparse.jpg" }));
    EXPECT_EQ(read.extent, LibraryExtent::Whole);
}

TEST(LibraryReaderMissingTest, NoDatabaseGivesNoItemsAndNoCopies)
{
    QTemporaryDir folder;
    QDir().mkpath(folder.path() + QStringLiteral("/Empty.photoslibrary/database"));
    EXPECT_TRUE(DBOperations::fetchData(folder.path() + QStringLiteral("/Empty.photoslibrary"), options(true))
                    .isEmpty());
    EXPECT_TRUE(copiesLeft().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, LibraryReaderTest,
    ::testing::Values(Layout::PhotosStore, Layout::OlderPhotosStore, Layout::IPhoto),
    [](const auto &info) { return layoutName(info.param); });

} // namespace

// A library that cannot be read is told apart from an empty one, with what stood in the way and
// the path as it is on the disk, in what the read says and in the log. The damage is SQL, or what
// takes the database's place; permissions are tested as a user who heeds them.
struct UnreadableCase {
    const char *name;
    Layout layout;
    const char *damage;
    LibraryFailure::Kind kind;
    const char *detail;
    // The path the read names, below the library; the database's own when empty.
    const char *reported;
};

class LibraryUnreadableTest : public ::testing::TestWithParam<UnreadableCase>
{
};

TEST_P(LibraryUnreadableTest, SaysWhyNothingWasRead)
{
    const UnreadableCase &t = GetParam();
    const QByteArray damage(t.damage);
    const bool permissions = damage.startsWith("mode000");
    if (permissions && Unprivileged::mustRunAsAnother())
        return Unprivileged::runCurrentTest();
    QTemporaryDir folder;
    LibraryTestLibrary library(folder.path(), t.layout,
        t.layout == Layout::IPhoto ? QString() : QStringLiteral("database/Photos.sqlite"));
    library.addItem(item(QStringLiteral("photo.jpg")));
    const QByteArray database = library.databasePath().toUtf8();
    const QByteArray databaseFolder = QFileInfo(library.databasePath()).absolutePath().toUtf8();
    if (damage == "fifo" || damage == "absent" || damage == "folder" || damage == "dangling") {
        ASSERT_TRUE(QFile::remove(library.databasePath()));
        const bool replaced = damage == "absent"
            || (damage == "fifo" && mkfifo(database.constData(), 0600) == 0)
            || (damage == "folder" && QDir().mkdir(library.databasePath()))
            || (damage == "dangling" && QFile::link(QStringLiteral("nowhere"), library.databasePath()));
        ASSERT_TRUE(replaced);
    } else if (damage == "garbage") {
        ASSERT_TRUE(TestFiles::write(library.databasePath(), QByteArray(8192, 'x')));
    } else if (permissions) {
        const QByteArray &denied = damage == "mode000" ? database : databaseFolder;
        ASSERT_EQ(chmod(denied.constData(), 0), 0);
        ASSERT_NE(access(denied.constData(), R_OK), 0) << "this user reads files of any mode";
    } else {
        library.run(t.damage);
    }
    LibraryRead read;
    EXPECT_TRUE(DBOperations::fetchData(library.libraryPath(), options(true), &read).isEmpty());
    chmod(databaseFolder.constData(), 0700);
    EXPECT_EQ(read.extent, LibraryExtent::Unreadable);
    EXPECT_EQ(read.failure.kind, t.kind);
    EXPECT_TRUE(read.failure.detail.contains(QLatin1String(t.detail))) << read.failure.detail.toStdString();
    const QString reported
        = *t.reported ? library.libraryPath() + QLatin1Char('/') + t.reported : library.databasePath();
    EXPECT_EQ(read.databasePath, reported);
    QFile log(AppFolders::logFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(
        library.libraryPath().toUtf8() + " could not be read: " + read.failure.logText(reported).toUtf8()));
}

using Kind = LibraryFailure::Kind;
const UnreadableCase kUnreadable[] = {
    { "DatabaseAbsent", Layout::PhotosStore, "absent", Kind::NoDatabase, "", "database/photos.sqlite" },
    { "DatabaseIsAFifo", Layout::PhotosStore, "fifo", Kind::NotCopied, "not a regular file", "" },
    { "DatabaseIsAFolder", Layout::PhotosStore, "folder", Kind::NotCopied, "not a regular file", "" },
    { "DatabaseIsALinkToNothing", Layout::PhotosStore, "dangling", Kind::NotCopied, "a link to nothing", "" },
    { "DatabaseWithoutPermissions", Layout::PhotosStore, "mode000", Kind::NotCopied, "ermission denied", "" },
    { "DatabaseFolderWithoutPermissions", Layout::PhotosStore, "mode000folder", Kind::FolderUnreadable,
        "ermission denied", "database" },
    { "DatabaseIsNoDatabase", Layout::PhotosStore, "garbage", Kind::QueryFailed, "not a database", "" },
    { "NoTableOfPhotos", Layout::PhotosStore, "DROP TABLE ZASSET", Kind::NoTableOfPhotos, "", "" },
    { "AttributesTableMissing", Layout::PhotosStore, "DROP TABLE ZADDITIONALASSETATTRIBUTES",
        Kind::QueryFailed, "no such table: ZADDITIONALASSETATTRIBUTES", "" },
    { "NoAlbumEntity", Layout::PhotosStore, "DELETE FROM Z_PRIMARYKEY WHERE Z_NAME = 'Album'",
        Kind::NoEntityRow, "Album", "" },
    { "NoAssetEntity", Layout::OlderPhotosStore, "DELETE FROM Z_PRIMARYKEY WHERE Z_NAME = 'GenericAsset'",
        Kind::NoEntityRow, "GenericAsset", "" },
    { "VersionTableMissing", Layout::IPhoto, "DROP TABLE RKVersion", Kind::QueryFailed,
        "no such table: rkversion", "" },
};

INSTANTIATE_TEST_SUITE_P(Damages, LibraryUnreadableTest, ::testing::ValuesIn(kUnreadable),
    [](const auto &info) { return std::string(info.param.name); });

// A row whose folder or name climbs out of the library ("../../outside"), or whose folder is a link
// to somewhere else, never lists a file outside the library.
TEST(LibraryReaderEscapeTest, RowsThatLeaveTheLibraryAreRefused)
{
    for (const Layout layout : { Layout::PhotosStore, Layout::OlderPhotosStore, Layout::IPhoto }) {
        QTemporaryDir folder;
        LibraryTestLibrary library(folder.path(), layout);
        const QString top
            = layout == Layout::IPhoto ? QStringLiteral("/Masters") : QStringLiteral("/originals");
        ASSERT_TRUE(QDir().mkpath(library.libraryPath() + top));
        ASSERT_TRUE(QDir().mkpath(folder.path() + QStringLiteral("/outside")));
        ASSERT_TRUE(QFile::link(
            folder.path() + QStringLiteral("/outside"), library.libraryPath() + top + QStringLiteral("/L")));
        ASSERT_TRUE(TestFiles::write(folder.path() + QStringLiteral("/outside/linked.jpg")));
        Item climbing = item(QStringLiteral("escaped.jpg"));
        climbing.directory = QStringLiteral("../../outside");
        Item deeper = item(QStringLiteral("../../../deeper.jpg"));
        Item linked = item(QStringLiteral("linked.jpg"));
        linked.directory = QStringLiteral("L");
        Item inner = item(QStringLiteral("kept.jpg"));
        inner.directory = QStringLiteral("B/../C");
        library.addItem(climbing);
        library.addItem(deeper);
        library.addItem(linked);
        library.addItem(inner);
        const QList<QVariantMap> items = DBOperations::fetchData(library.libraryPath(), options(true));
        EXPECT_EQ(namesOf(items), QStringList({ "kept.jpg" })) << layoutName(layout);
    }
}

// A library whose table is a view over a recursion without end: the read ends when a step runs
// past its budget, or with the scan's stop set from another thread, and the library is reported.
TEST(LibraryReaderHostileTest, AnEndlessViewEndsWithTheBudgetAndWithTheStop)
{
    QTemporaryDir folder;
    LibraryTestLibrary library(folder.path(), Layout::PhotosStore);
    library.addItem(item(QStringLiteral("photo.jpg")));
    library.makeEntityTableEndless();

    LibraryQueryOptions budgeted = options(true);
    budgeted.stepBudgetMs = 50;
    EXPECT_TRUE(DBOperations::fetchData(library.libraryPath(), budgeted).isEmpty());
    QFile log(AppFolders::logFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(library.libraryPath().toUtf8() + " could not be read"));

    std::atomic<bool> stop { false };
    LibraryQueryOptions stoppable = options(true);
    stoppable.stepBudgetMs = 0;
    stoppable.stop = &stop;
    QList<QVariantMap> items { {} };
    std::thread reader([&] { items = DBOperations::fetchData(library.libraryPath(), stoppable); });
    stop = true;
    reader.join();
    EXPECT_TRUE(items.isEmpty());
}

// A library whose query gives rows without end is read up to each bound in turn, the items read
// until then are kept, and the read says it stopped short; at the bound exactly, nothing is cut.
TEST(LibraryReaderHostileTest, AQueryThatMultipliesRowsIsReadInPart)
{
    const struct {
        qsizetype maxRows;
        qint64 maxBytes;
        int totalBudgetMs;
        bool multiplied;
    } bounds[] = { { 500, qint64(1) << 30, 0, true }, { 1000000, 64 * 1024, 0, true },
        { 1000000, qint64(1) << 30, 1, true }, { 3, qint64(1) << 30, 0, false } };
    for (const Layout layout : { Layout::PhotosStore, Layout::OlderPhotosStore, Layout::IPhoto }) {
        for (const auto &bound : bounds) {
            QTemporaryDir folder;
            LibraryTestLibrary library(folder.path(), layout);
            for (const char *name : { "a.jpg", "b.jpg", "c.jpg" })
                library.addItem(item(QString::fromLatin1(name)));
            if (bound.multiplied)
                library.multiplyRows();
            LibraryQueryOptions bounded = options(true);
            bounded.maxRows = bound.maxRows;
            bounded.maxBytes = bound.maxBytes;
            bounded.totalBudgetMs = bound.totalBudgetMs;
            LibraryRead read { LibraryExtent::TooLarge, {}, {}, {} };
            const QList<QVariantMap> items = DBOperations::fetchData(library.libraryPath(), bounded, &read);
            EXPECT_EQ(read.extent, bound.multiplied ? LibraryExtent::InPart : LibraryExtent::Whole)
                << bound.maxRows;
            EXPECT_LE(items.size(), bound.maxRows);
            EXPECT_LE(items.size() * LibraryQuery::heldBytes(items.value(0)), bound.maxBytes);
        }
    }
}

// The Dropbox walk, downloads and deletion against a fake account on 127.0.0.1.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cloud/DropboxAuth.h"
#include "cloud/DropboxTestSupport.h"

namespace
{

const QByteArray kPicture(2048, 'p');

QList<std::shared_ptr<CloudScanFoldersList>> folders(std::initializer_list<const char *> paths)
{
    QList<std::shared_ptr<CloudScanFoldersList>> list;
    for (const char *path : paths)
        list.append(dropboxFolder(QString::fromUtf8(path)));
    return list;
}

} // namespace

TEST(DropboxWalk, AFolderOf2500EntriesIsPagedThroughBeforeItsFirstSubfolder)
{
    DropboxFixture f;
    f.account.addFolder(QStringLiteral("/A/Sub"));
    for (int i = 0; i < 2500; ++i)
        f.account.addFile(QStringLiteral("/A/p%1.jpg").arg(i), kPicture);
    f.account.addFile(QStringLiteral("/A/Sub/last.jpg"), kPicture);

    ASSERT_TRUE(f.scan(folders({ "Dropbox/A" })));
    EXPECT_EQ(f.account.listedPaths(), (QStringList { QStringLiteral("/A"), QStringLiteral("/A/Sub") }));
    const QList<int> pages = f.account.pageSizes();
    ASSERT_EQ(pages.size(), 4);
    EXPECT_EQ(pages.mid(0, 3), (QList<int> { 1000, 1000, 501 }));
    const QStringList reported = f.delegate.reported();
    ASSERT_EQ(reported.size(), 2501);
    EXPECT_EQ(reported.last(), QStringLiteral("Dropbox/A/Sub/last.jpg"));
    EXPECT_EQ(f.delegate.finishCount(), 1);
}

TEST(DropboxWalk, SubfoldersAreWalkedDepthFirstAndTheListingEndsOnceAfterTheLastChosenFolder)
{
    DropboxFixture f;
    f.account.setPageSize(2);
    f.account.addFile(QStringLiteral("/A/a.jpg"), kPicture);
    f.account.addFile(QStringLiteral("/A/A1/a1.jpg"), kPicture);
    f.account.addFile(QStringLiteral("/A/A1/Deep/d.jpg"), kPicture);
    f.account.addFile(QStringLiteral("/A/A2/a2.jpg"), kPicture);
    f.account.addFile(QStringLiteral("/B/b.jpg"), kPicture);

    ASSERT_TRUE(f.scan(folders({ "Dropbox/A", "Dropbox/B" })));
    EXPECT_EQ(f.delegate.reported(),
        (QStringList { "Dropbox/A/a.jpg", "Dropbox/A/A1/a1.jpg", "Dropbox/A/A1/Deep/d.jpg",
            "Dropbox/A/A2/a2.jpg", "Dropbox/B/b.jpg" }));
    EXPECT_EQ(f.delegate.finishCount(), 1);
    EXPECT_FALSE(f.handler->isCompletListFetch.load());
}

TEST(DropboxWalk, ExtensionsMatchInAnyCaseAndSmallFilesAreListedButNotReported)
{
    DropboxFixture f;
    const QString id = f.account.addFile(QStringLiteral("/Cam/IMG_1.JPG"), kPicture);
    f.account.addFile(QStringLiteral("/Cam/tiny.jpg"), QByteArray(10, 't'));
    f.account.addFile(QStringLiteral("/Cam/notes.txt"), kPicture);
    f.recordSettings.minimumAllowFileSize = 100;
    const auto cam = dropboxFolder(QStringLiteral("Dropbox/Cam"));
    const bool done = f.scan({ cam });

    ASSERT_TRUE(done);
    EXPECT_EQ(f.delegate.reported(), QStringList { QStringLiteral("Dropbox/Cam/IMG_1.JPG") });
    EXPECT_EQ(cam->listedFiles.size(), 3);
    const auto record = f.delegate.records.first();
    EXPECT_EQ(record->id, id);
    EXPECT_FALSE(record->rev.isEmpty());
    EXPECT_EQ(record->fileMd5, FakeDropbox::contentHash(kPicture));
    EXPECT_EQ(record->folderPath, QStringLiteral("Dropbox/Cam"));
    EXPECT_EQ(record->actualFilePathOnServer, QStringLiteral("/Cam/IMG_1.JPG"));
}

TEST(DropboxWalk, TheRootIsListedFromTheEmptyPathAndEntriesWithoutDisplayPathsKeepTheirLowerPath)
{
    DropboxFixture f;
    f.account.setOmitDisplayPaths(true);
    f.account.addFile(QStringLiteral("/Top.jpg"), kPicture);
    ASSERT_TRUE(f.scan(folders({ "Dropbox" })));
    ASSERT_FALSE(f.account.listedPaths().isEmpty());
    EXPECT_EQ(f.account.listedPaths().first(), QString());
    EXPECT_EQ(f.delegate.reported(), QStringList { QStringLiteral("Dropbox/top.jpg") });
}

TEST(DropboxWalk, AFolderListedByTheFolderSheetIsNotListedAgainByTheScan)
{
    DropboxFixture f;
    f.account.addFile(QStringLiteral("/A/a.jpg"), kPicture);
    f.account.addFile(QStringLiteral("/A/Sub/s.jpg"), kPicture);
    const auto a = dropboxFolder(QStringLiteral("Dropbox/A"));
    ASSERT_TRUE(f.listOne(a));
    EXPECT_TRUE(f.delegate.reported().isEmpty());
    ASSERT_EQ(a->arrChildren.size(), 1);

    ASSERT_TRUE(f.scan({ a }));
    EXPECT_EQ(f.account.listedPaths(), (QStringList { QStringLiteral("/A"), QStringLiteral("/A/Sub") }));
    EXPECT_EQ(f.delegate.reported(), (QStringList { "Dropbox/A/a.jpg", "Dropbox/A/Sub/s.jpg" }));
    EXPECT_EQ(a->listedFiles.size(), 1);
}

TEST(DropboxWalk, OverlappingAndCaseVariantFoldersReportEachFileOnce)
{
    DropboxFixture f;
    f.account.addFile(QStringLiteral("/A/a.jpg"), kPicture);
    f.account.addFile(QStringLiteral("/A/A1/a1.jpg"), kPicture);
    ASSERT_TRUE(f.scan(folders({ "Dropbox/A/A1", "Dropbox/a", "Dropbox/A" })));
    QStringList reported = f.delegate.reported();
    reported.sort();
    EXPECT_EQ(reported, (QStringList { "Dropbox/A/A1/a1.jpg", "Dropbox/A/a.jpg" }));
    EXPECT_EQ(f.account.listedPaths().count(QStringLiteral("/a"))
            + f.account.listedPaths().count(QStringLiteral("/A")),
        1);
}

TEST(DropboxWalk, AStopRequestEndsTheListingWithOneFinish)
{
    DropboxFixture f;
    f.account.setPageSize(5);
    for (int i = 0; i < 40; ++i)
        f.account.addFile(QStringLiteral("/A/p%1.jpg").arg(i), kPicture);
    f.account.addFile(QStringLiteral("/B/b.jpg"), kPicture);
    f.delegate.onAdd = [&] { f.handler->isAbortScanning = true; };
    ASSERT_TRUE(f.scan(folders({ "Dropbox/A", "Dropbox/B" })));
    EXPECT_EQ(f.delegate.reported().size(), 1);
    EXPECT_EQ(f.account.pageSizes().size(), 1);
    // Nothing more arrives after the finish.
    TestEvents::waitFor([] { return false; }, 200);
    EXPECT_EQ(f.delegate.finishCount(), 1);
}

TEST(DropboxWalk, WithoutAClientTheScanEndsOnceAsFailedWithNothing)
{
    DropboxFixture f(10000, QString());
    f.account.addFile(QStringLiteral("/A/a.jpg"), kPicture);
    ASSERT_TRUE(f.scan(folders({ "Dropbox/A" })));
    EXPECT_TRUE(f.delegate.reported().isEmpty());
    EXPECT_EQ(f.account.listedPaths(), QStringList());
    EXPECT_FALSE(f.delegate.lastFailure().isEmpty());
}

TEST(DropboxWalk, AnUnknownTokenFailsTheFirstCallAndSaysSo)
{
    DropboxFixture f(10000, QStringLiteral("wrong"));
    f.account.addFile(QStringLiteral("/A/a.jpg"), kPicture);
    ASSERT_TRUE(f.scan(folders({ "Dropbox/A" })));
    EXPECT_TRUE(f.delegate.reported().isEmpty());
    EXPECT_FALSE(f.delegate.lastFailure().isEmpty());
}

TEST(DropboxDownload, ParallelDownloadsOfOneNameGetNamesOfTheirOwnInsideTheFolder)
{
    DropboxFixture f;
    QTemporaryDir dir;
    constexpr int kDownloads = 16;
    std::vector<std::shared_ptr<ImageFileInfo>> records;
    for (int i = 0; i < kDownloads; ++i) {
        const QString server = QStringLiteral("/F%1/a.jpg").arg(i);
        f.account.addFile(server, QByteArray::number(i));
        auto record = std::make_shared<ImageFileInfo>();
        record->fileName = QStringLiteral("a.jpg");
        record->actualFilePathOnServer = server;
        record->fileSize = quint64(QByteArray::number(i).size());
        records.push_back(record);
    }
    std::vector<std::thread> threads;
    for (const auto &record : records)
        threads.emplace_back([&, record] { f.handler->downloadFile(*record, dir.path()); });
    for (std::thread &thread : threads)
        thread.join();

    QSet<QString> names;
    for (int i = 0; i < kDownloads; ++i) {
        const QString path = records[size_t(i)]->localThumbPath;
        ASSERT_FALSE(path.isEmpty());
        EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(dir.path()).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray::number(i));
        names.insert(QFileInfo(path).fileName());
    }
    EXPECT_EQ(names.size(), kDownloads);
    EXPECT_TRUE(names.contains(QStringLiteral("1_a.jpg")));
    EXPECT_TRUE(names.contains(QStringLiteral("16_a.jpg")));
}

struct DownloadCase {
    const char *name;
    const char *serverPath;
    const char *fileName;
    bool downloaded;
};

class DropboxDownloadCases : public testing::TestWithParam<DownloadCase>
{
};

TEST_P(DropboxDownloadCases, TheCopyLandsInsideTheFolderOrTheRecordHasNone)
{
    const DownloadCase c = GetParam();
    DropboxFixture f;
    QTemporaryDir dir;
    f.account.addFile(QStringLiteral("/Fotos/Été 😀.jpg"), "accented");
    f.account.addFile(QStringLiteral("/x/../x"), "dotsdots");
    ImageFileInfo record;
    record.fileName = QString::fromUtf8(c.fileName);
    record.actualFilePathOnServer = QString::fromUtf8(c.serverPath);
    record.fileSize = 8;
    record.localThumbPath = QStringLiteral("/stale");
    std::thread([&] { f.handler->downloadFile(record, dir.path()); }).join();
    if (!c.downloaded) {
        EXPECT_TRUE(record.localThumbPath.isEmpty());
        return;
    }
    ASSERT_FALSE(record.localThumbPath.isEmpty());
    EXPECT_EQ(QFileInfo(record.localThumbPath).absolutePath(), QDir(dir.path()).absolutePath());
}

INSTANTIATE_TEST_SUITE_P(Cases, DropboxDownloadCases,
    testing::Values(DownloadCase { "nonAscii", "/Fotos/Été 😀.jpg", "Été 😀.jpg", true },
        DownloadCase { "dotsInName", "/x/../x", "../x", true },
        DownloadCase { "missingOnServer", "/gone.jpg", "gone.jpg", false }),
    [](const testing::TestParamInfo<DownloadCase> &info) { return std::string(info.param.name); });

TEST(DropboxDownload, IsRefusedOnTheGuiThread)
{
    DropboxFixture f;
    QTemporaryDir dir;
    f.account.addFile(QStringLiteral("/a.jpg"), kPicture);
    ImageFileInfo record;
    record.fileName = QStringLiteral("a.jpg");
    record.actualFilePathOnServer = QStringLiteral("/a.jpg");
    f.handler->downloadFile(record, dir.path());
    EXPECT_TRUE(record.localThumbPath.isEmpty());
}

struct DeleteCase {
    const char *name;
    bool removeFirst;
    bool touchFirst;
    DropboxApi::DeleteOutcome expected;
    bool existsAfter;
};

class DropboxDeleteCases : public testing::TestWithParam<DeleteCase>
{
};

TEST_P(DropboxDeleteCases, OnlyADeletionOfTheListedRevisionCountsAsDeleted)
{
    const DeleteCase c = GetParam();
    DropboxFixture f;
    f.account.addFile(QStringLiteral("/A/a.jpg"), kPicture);
    ASSERT_TRUE(f.scan(folders({ "Dropbox/A" })));
    ASSERT_EQ(f.delegate.records.size(), 1);
    const auto record = f.delegate.records.first();
    if (c.removeFirst)
        f.account.remove(QStringLiteral("/A/a.jpg"));
    if (c.touchFirst)
        f.account.touch(QStringLiteral("/A/a.jpg"));
    DropboxApi::DeleteOutcome outcome = DropboxApi::DeleteOutcome::failed;
    std::thread([&] { outcome = f.handler->deleteFilesFromDropbox(*record); }).join();
    EXPECT_EQ(outcome, c.expected);
    EXPECT_EQ(f.account.exists(QStringLiteral("/A/a.jpg")), c.existsAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, DropboxDeleteCases,
    testing::Values(DeleteCase { "deleted", false, false, DropboxApi::DeleteOutcome::deleted, false },
        DeleteCase { "alreadyGone", true, false, DropboxApi::DeleteOutcome::notFound, false },
        DeleteCase { "changedSinceListing", false, true, DropboxApi::DeleteOutcome::changed, true }),
    [](const testing::TestParamInfo<DeleteCase> &info) { return std::string(info.param.name); });

TEST(DropboxDelete, ASilentServerFailsAfterTheTimeout)
{
    FakeHttpServer silent;
    silent.script("POST", QStringLiteral("/2/files/delete_v2"), { FakeResponse::silence() });
    DropBoxHandler::Options options;
    options.bases = { silent.url(), silent.url() };
    options.tokens = std::make_shared<StaticTokenSource>(QStringLiteral("t"), QList<QUrl> { silent.url() });
    options.transferTimeoutMs = 300;
    DropBoxHandler handler(options);
    ImageFileInfo record;
    record.filePath = QStringLiteral("Dropbox/a.jpg");
    record.rev = QStringLiteral("r1");
    DropboxApi::DeleteOutcome outcome = DropboxApi::DeleteOutcome::deleted;
    QElapsedTimer clock;
    clock.start();
    std::thread([&] { outcome = handler.deleteFilesFromDropbox(record); }).join();
    EXPECT_EQ(outcome, DropboxApi::DeleteOutcome::failed);
    EXPECT_LT(clock.elapsed(), 10000);
    const QJsonObject sent = QJsonDocument::fromJson(silent.requests().first().body).object();
    EXPECT_EQ(sent.value(QStringLiteral("path")).toString(), QStringLiteral("/a.jpg"));
    EXPECT_EQ(sent.value(QStringLiteral("parent_rev")).toString(), QStringLiteral("r1"));
}

TEST(DropboxSignIn, EveryStartIsSignedOutAndAHandlerWithoutATokenHasNoClient)
{
    EXPECT_EQ(DropboxAuth::sharedAuth()->authorizedClient(), nullptr);
    DropBoxHandler handler;
    EXPECT_FALSE(handler.hasAuthorizedClient());
}

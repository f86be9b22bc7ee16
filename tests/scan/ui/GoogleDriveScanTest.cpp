// Drive scans from the Scan button against a fake Drive on 127.0.0.1: equal photos in two folders
// group under their "My Drive" paths, an empty list ends in the no-photos alert, and Stop during
// the listing ends the scan once without results; by the headless runner, no stored date choice
// hides a cloud photo (its date controls are greyed) and "Since the beginning" hides none.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "cloud/DriveService.h"
#include "cloud/FakeDrive.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "model/DuplicatesGroup.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/AppFolders.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ui/ResultViewController.h"
#include "scan/ScanTestSupport.h"
#include "scan/ui/GoogleDriveScanSource.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanRunController.h"
#include "support/FakeDropbox.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace
{

using Outcome = ScanEngine::Outcome;
constexpr int kScanBoundMs = 60000;

QByteArray makeJpeg(int seed)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Above the default minimum file size, which the runner keeps.
    ScanTestSupport::makePhoto(seed, 1600, 1200).save(&buffer, "JPEG", 95);
    return bytes;
}

QByteArray jpeg(int seed)
{
    static QMap<int, QByteArray> made;
    if (!made.contains(seed))
        made.insert(seed, makeJpeg(seed));
    return made.value(seed);
}

class GoogleDriveScanTest : public ::testing::Test
{
protected:
    GoogleDriveScanTest()
        : drive(server)
        , service(FakeDrive::serviceSettings(server))
    {
    }
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
        UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 0);
        ScanGlobals::resetToInitialValues();
        controller.view()->setParent(&window);
        controller.scanRun().setResultsDelay(0.0);
        controller.gDriveAccessVC = std::make_shared<GoogleDriveAccessVC>(service, GoogleSignIn::Settings());
        controller.gDriveAccessVC->delegate = &controller.googleDrive();
        ScanGlobals::scanType = ScanSource::googleDrive;
    }
    void TearDown() override { ScanGlobals::resetToInitialValues(); }

    void servePhoto(const QString &folder, const QString &id, const QString &name, const QByteArray &bytes)
    {
        const QString path = QStringLiteral("/img/") + id;
        server.script("GET", path, { FakeResponse::typed(200, "image/jpeg", bytes) });
        drive.add(folder,
            QJsonObject { { "id", id }, { "name", name }, { "mimeType", "image/jpeg" },
                { "fileExtension", "jpg" }, { "size", QString::number(bytes.size()) },
                { "md5Checksum",
                    QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()) },
                { "thumbnailLink", server.url(path).toString() + QStringLiteral("=s220") },
                { "imageMediaMetadata", QJsonObject { { "width", 320 }, { "height", 240 } } } });
    }
    void scanMyDrive()
    {
        auto root = std::make_shared<GDFoldersList>();
        root->setFolderName(QStringLiteral("My Drive"));
        root->setFolderId(QStringLiteral("root"));
        root->setFolderAbsPath(QStringLiteral("My Drive"));
        controller.googleDrive().showCloudFolderAddResult(root);
    }
    Outcome runScan(const std::function<void()> &duringScan = {})
    {
        std::optional<Outcome> ended;
        int endings = 0;
        const QMetaObject::Connection connection
            = QObject::connect(&controller.scanRun(), &ScanRunController::scanEnded, [&](Outcome outcome) {
                  ended = outcome;
                  ++endings;
              });
        controller.btnStartScanTapped();
        if (duringScan)
            duringScan();
        if (!TestEvents::waitFor([&] { return ended.has_value(); }, kScanBoundMs))
            ADD_FAILURE() << "the scan did not end";
        TestEvents::waitFor([] { return false; }, 50);
        EXPECT_EQ(endings, 1);
        QObject::disconnect(connection);
        return ended.value_or(Outcome::Stopped);
    }

    FakeHttpServer server;
    FakeDrive drive;
    DriveService service;
    ScriptedAlertPresenter alerts;
    QWidget window;
    MainViewController controller;
};

} // namespace

TEST_F(GoogleDriveScanTest, EqualPhotosInTwoFoldersGroupUnderTheirMyDrivePaths)
{
    drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    drive.addFolder(QStringLiteral("root"), QStringLiteral("b"), QStringLiteral("B"));
    const QByteArray beach = jpeg(1);
    servePhoto(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("beach.jpg"), beach);
    servePhoto(QStringLiteral("b"), QStringLiteral("y"), QStringLiteral("copy.jpg"), beach);
    servePhoto(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("forest.jpg"), jpeg(2));
    scanMyDrive();
    ASSERT_EQ(runScan(), Outcome::Results);
    ASSERT_EQ(controller.result->arrGroups.size(), 1u);
    QStringList members;
    for (const auto &record : controller.result->arrGroups.front()->children)
        members.append(record->filePath);
    members.sort();
    EXPECT_EQ(members,
        QStringList({ QStringLiteral("My Drive/A/beach.jpg"), QStringLiteral("My Drive/B/copy.jpg") }));
}

TEST_F(GoogleDriveScanTest, AnEmptyDriveEndsInTheNoPhotosAlert)
{
    scanMyDrive();
    EXPECT_EQ(runScan(), Outcome::NoPhotos);
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(
        alerts.alerts().back().messageText, localizedString(QStringLiteral("ID_NO_PHOTOS_DETECTED_AT_PATH")));
}

TEST_F(GoogleDriveScanTest, StopDuringTheListingEndsOnceWithoutResults)
{
    for (int i = 0; i < 150; ++i)
        servePhoto(
            QStringLiteral("root"), QStringLiteral("p%1").arg(i), QStringLiteral("p%1.jpg").arg(i), jpeg(3));
    scanMyDrive();
    EXPECT_EQ(runScan([&] { controller.btnStopAddPhotosTapped(); }), Outcome::Stopped);
    EXPECT_TRUE(controller.result->arrGroups.empty());
    EXPECT_EQ(server.hits(QStringLiteral("/drive/v3/files")), 1);
}

// After a Drive scan (cache written, copies downloaded, a download failing on an address with a
// signature) every folder and file of ours is the user's alone and the log holds no query.
TEST_F(GoogleDriveScanTest, AfterAScanOurFilesArePrivateAndTheLogHasNoQuery)
{
    servePhoto(QStringLiteral("root"), QStringLiteral("x"), QStringLiteral("beach.jpg"), jpeg(1));
    servePhoto(QStringLiteral("root"), QStringLiteral("y"), QStringLiteral("copy.jpg"), jpeg(1));
    drive.add(QStringLiteral("root"),
        QJsonObject { { "id", "gone" }, { "name", "gone.jpg" }, { "mimeType", "image/jpeg" },
            { "fileExtension", "jpg" }, { "size", "900" }, { "md5Checksum", "0123" },
            { "thumbnailLink", server.url(QStringLiteral("/img/gone")).toString() + "?sig=SECRET#part" } });
    scanMyDrive();
    ASSERT_EQ(runScan(), Outcome::Results);
    EXPECT_EQ(TestFiles::openToOthers(AppFolders::ownFolders()), QStringList());
    QFile log(AppFolders::logFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains("/img/gone")) << text.toStdString();
    EXPECT_FALSE(text.contains("SECRET"));
}

#ifdef QNY_SCAN_RUNNER
// The headless runner as outside checks call it: one-file pages after an empty one, sizes as
// numbers, two folders chosen on their own; the equal photos group under "My Drive/..." paths.
TEST_F(GoogleDriveScanTest, TheRunnerGroupsEqualPhotosOfTwoFoldersUnderMyDrive)
{
    drive.defaultPageSize = 1;
    drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    drive.addFolder(QStringLiteral("root"), QStringLiteral("b"), QStringLiteral("B"));
    drive.addEmptyPagesBefore(QStringLiteral("a"), 1);
    const QByteArray beach = jpeg(1);
    servePhoto(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("beach.jpg"), beach);
    servePhoto(QStringLiteral("b"), QStringLiteral("y"), QStringLiteral("copy.jpg"), beach);
    servePhoto(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("forest.jpg"), jpeg(2));
    const auto folder = [](const QString &id, const QString &name, const QString &parent) {
        QJsonObject file { { "id", id }, { "name", name }, { "mimeType", FakeDrive::kFolder } };
        if (!parent.isEmpty())
            file.insert(QStringLiteral("parents"), QJsonArray { parent });
        return FakeResponse::json(200, QJsonDocument(file).toJson());
    };
    server.script("GET", QStringLiteral("/drive/v3/files/root"), { folder(drive.rootId, "My Drive", {}) });
    server.script("GET", QStringLiteral("/drive/v3/files/a"), { folder("a", "A", drive.rootId) });
    server.script("GET", QStringLiteral("/drive/v3/files/b"), { folder("b", "B", drive.rootId) });
    server.script("GET", QStringLiteral("/drive/v3/files/z"),
        { FakeResponse::json(200, R"({"id":"z","name":"forest.jpg","mimeType":"image/jpeg"})") });

    QTemporaryDir home;
    QProcess runner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUENNARY_GOOGLE_API_BASE"), server.base());
    environment.insert(QStringLiteral("QUENNARY_CLOUD_ACCESS_TOKEN"), QStringLiteral("token-1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    runner.setProcessEnvironment(environment);
    const QStringList common { QStringLiteral("--home"), home.path(), QStringLiteral("--cloud"),
        QStringLiteral("gdrive") };
    runner.start(QStringLiteral(QNY_SCAN_RUNNER),
        common
            + QStringList { QStringLiteral("--cloud-folder"), QStringLiteral("a"),
                QStringLiteral("--cloud-folder"), QStringLiteral("b") });
    ASSERT_TRUE(TestEvents::waitFor([&] { return runner.state() == QProcess::NotRunning; }, kScanBoundMs));
    ASSERT_EQ(runner.exitCode(), 0) << runner.readAllStandardError().toStdString();
    const QByteArray output = runner.readAllStandardOutput();
    const QJsonObject report = QJsonDocument::fromJson(output).object();
    const QJsonArray groups = report.value(QStringLiteral("groups")).toArray();
    ASSERT_EQ(groups.size(), 1) << output.toStdString();
    QStringList members;
    for (const QJsonValue &member : groups.first().toArray())
        members.append(member.toString());
    members.sort();
    EXPECT_EQ(members,
        QStringList({ QStringLiteral("My Drive/A/beach.jpg"), QStringLiteral("My Drive/B/copy.jpg") }));
    EXPECT_EQ(report.value(QStringLiteral("recordPaths")).toArray().size(), 3);
    EXPECT_EQ(server.requests(QStringLiteral("/drive/v3/files")).first().header("Authorization"),
        QByteArray("Bearer token-1"));

    runner.start(QStringLiteral(QNY_SCAN_RUNNER),
        common + QStringList { QStringLiteral("--cloud-folder"), QStringLiteral("z") });
    ASSERT_TRUE(TestEvents::waitFor([&] { return runner.state() == QProcess::NotRunning; }, kScanBoundMs));
    EXPECT_EQ(runner.exitCode(), 2);
}

// Three copies in one folder; the Drive refuses to trash one of them. Every marked copy gets one
// update, and only the trashed ones are reported removed.
TEST_F(GoogleDriveScanTest, TheRunnerTrashesMarkedFilesOnTheDriveAndReportsWhatItConfirmed)
{
    drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    const QStringList ids { "x", "y", "w" };
    for (const QString &id : ids) {
        servePhoto(QStringLiteral("a"), id, id + QStringLiteral(".jpg"), jpeg(1));
        server.script("PATCH", "/drive/v3/files/" + id, { FakeResponse::json(id == "y" ? 403 : 200, "{}") });
    }
    server.script("GET", QStringLiteral("/drive/v3/files/root"), { FakeResponse::json(200, R"({"id":"0AROOT"})") });
    server.script("GET", QStringLiteral("/drive/v3/files/a"),
        { FakeResponse::json(200,
            R"({"id":"a","name":"A","mimeType":"application/vnd.google-apps.folder","parents":["0AROOT"]})") });
    QTemporaryDir home;
    QProcess runner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUENNARY_GOOGLE_API_BASE"), server.base());
    environment.insert(QStringLiteral("QUENNARY_CLOUD_ACCESS_TOKEN"), QStringLiteral("token-1"));
    runner.setProcessEnvironment(environment);
    const QString json = home.filePath(QStringLiteral("out.json"));
    runner.start(QStringLiteral(QNY_SCAN_RUNNER),
        { "--home", home.path(), "--cloud", "gdrive", "--cloud-folder", "a", "--auto-mark", "--trash-marked", "--json", json });
    ASSERT_TRUE(TestEvents::waitFor([&] { return runner.state() == QProcess::NotRunning; }, kScanBoundMs));
    ASSERT_EQ(runner.exitCode(), 0) << runner.readAllStandardError().toStdString();
    QFile out(json);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(out.readAll()).object();
    const auto sorted = [&report](const QString &key) {
        QStringList list = report.value(key).toVariant().toStringList();
        list.sort();
        return list;
    };
    const QStringList marked = sorted(QStringLiteral("marked"));
    ASSERT_EQ(marked.size(), 2) << QJsonDocument(report).toJson().toStdString();
    QStringList expected;
    for (const QString &id : ids) {
        const QString path = QStringLiteral("My Drive/A/") + id + QStringLiteral(".jpg");
        int patches = 0;
        for (const RecordedRequest &request : server.requests("/drive/v3/files/" + id))
            patches += request.method == "PATCH";
        EXPECT_EQ(patches, marked.contains(path) ? 1 : 0) << path.toStdString();
        if (marked.contains(path) && id != QLatin1String("y"))
            expected.append(path);
    }
    expected.sort();
    EXPECT_EQ(sorted(QStringLiteral("removed")), expected);
}

// Every date kind "Since the beginning" over a folder photo without a capture date; every kind and
// period over a Dropbox photo dated 2020 and a Drive photo listed without a date.
TEST_F(GoogleDriveScanTest, TheRunnerScansEveryPhotoSinceTheBeginningAndInACloudWhateverTheStoredDates)
{
    QTemporaryDir tree;
    ASSERT_TRUE(
        ScanTestSupport::writeImage(ScanTestSupport::makePhoto(1, 1024, 768), tree.filePath("a.jpg"), 95));
    FakeDropbox dropbox(server);
    dropbox.addFile("/A/2020.jpg", jpeg(1));
    servePhoto("root", "x", "x.jpg", jpeg(2));
    server.script("GET", "/drive/v3/files/root",
        { FakeResponse::json(
            200, R"({"id":"0AROOT","name":"My Drive","mimeType":"application/vnd.google-apps.folder"})") });
    const auto scanned = [&](qlonglong kind, qlonglong period, const QStringList &arguments) {
        QTemporaryDir home;
        QDir(home.path()).mkpath("config/Quennary");
        PropertyList::writeFile(home.filePath("config/Quennary/settings.plist"),
            QVariantMap { { "allowPhotosLibScanInTimePeriod", true }, { "scanFilesFromDate", kind },
                { "scanPhotosFrom", period } });
        QProcess runner;
        runner.setEnvironment(QProcess::systemEnvironment()
            + QStringList { "QT_QPA_PLATFORM=offscreen", "QUENNARY_CLOUD_ACCESS_TOKEN=token-1",
                "QUENNARY_DROPBOX_API_BASE=" + dropbox.base().toString(),
                "QUENNARY_DROPBOX_CONTENT_BASE=" + dropbox.base().toString(),
                "QUENNARY_GOOGLE_API_BASE=" + server.base() });
        runner.start(QStringLiteral(QNY_SCAN_RUNNER),
            QStringList { "--mode", "exact", "--home", home.path() } + arguments);
        runner.waitForFinished(kScanBoundMs);
        const QJsonObject report = QJsonDocument::fromJson(runner.readAllStandardOutput()).object();
        return report.value("recordPaths").toVariant().toStringList();
    };
    // (kind, period): every kind since the beginning (6), then every other period once.
    const std::pair<int, int> choices[] = { { 0, 6 }, { 1, 6 }, { 2, 6 }, { 3, 6 }, { 0, 0 }, { 1, 1 },
        { 2, 2 }, { 3, 3 }, { 0, 4 }, { 2, 5 } };
    for (const auto &[kind, period] : choices) {
        if (period == 6) {
            EXPECT_EQ(scanned(kind, period, { tree.path() }), QStringList { tree.filePath("a.jpg") }) << kind;
        }
        EXPECT_EQ(scanned(kind, period, { "--cloud", "dropbox", "--cloud-folder", "/A" }),
            QStringList { "Dropbox/A/2020.jpg" })
            << kind << "," << period;
        EXPECT_EQ(scanned(kind, period, { "--cloud", "gdrive", "--cloud-folder", "root" }),
            QStringList { "My Drive/x.jpg" })
            << kind << "," << period;
    }
}
#endif

// Stored date choices through the headless runner: "Since the beginning" keeps every folder photo,
// and a cloud scan (its date controls greyed) finds every listed photo and keeps the stored choice.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "cloud/FakeDrive.h"
#include "platform/ImageSourceFixtures.h"
#include "platform/PropertyList.h"
#include "support/FakeDropbox.h"
#include "support/NaturalPhoto.h"

#ifdef QNY_SCAN_RUNNER
namespace
{

// (date kind, period): every kind, and every period at least once.
const std::pair<int, int> kChoices[]
    = { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 }, { 0, 4 }, { 2, 5 }, { 3, 6 } };

QVariantMap stored(std::pair<int, int> choice)
{
    return { { "allowPhotosLibScanInTimePeriod", true }, { "scanFilesFromDate", qlonglong(choice.first) },
        { "scanPhotosFrom", qlonglong(choice.second) } };
}

// The sorted paths the runner scanned with `settings` stored; checks they are still stored after.
QStringList scanned(
    const QVariantMap &settings, const QStringList &arguments, const QStringList &environment = {})
{
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("config/Quennary/settings.plist"));
    QDir().mkpath(QFileInfo(file).path());
    PropertyList::writeFile(file, settings);
    QProcess runner;
    runner.setEnvironment(
        QProcess::systemEnvironment() + environment + QStringList { "QT_QPA_PLATFORM=offscreen" });
    runner.start(QStringLiteral(QNY_SCAN_RUNNER),
        QStringList { "--mode", "exact", "--home", home.path() } + arguments);
    runner.waitForFinished(120000);
    QStringList paths;
    for (const QJsonValue &path :
        QJsonDocument::fromJson(runner.readAllStandardOutput()).object().value("recordPaths").toArray())
        paths.append(path.toString());
    paths.sort();
    const QVariantMap after = PropertyList::readFile(file).value_or(QVariant()).toMap();
    for (auto it = settings.begin(); it != settings.end(); ++it)
        EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    return paths;
}

} // namespace

TEST(DateChoiceRunnerTest, SinceTheBeginningKeepsEveryFolderPhotoWithOrWithoutADate)
{
    QTemporaryDir tree;
    const QStringList all { tree.filePath("captured.jpg"), tree.filePath("undated.jpg"),
        tree.filePath("undated.png") };
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(NaturalPhoto::make(i, 1024, 768).save(all[i], nullptr, 95));
    ASSERT_TRUE(ImageSourceFixtures::editMetadata(all[0], [](Exiv2::ExifData &exif) {
        exif["Exif.Photo.DateTimeOriginal"] = std::string("2021:07:04 18:30:05");
    }));
    for (int kind = 0; kind <= 3; ++kind)
        EXPECT_EQ(scanned(stored({ kind, 6 }), { tree.path() }), all) << "date kind " << kind;
}

// A copy dated 2012, one dated now, one without a date, under every stored choice.
TEST(DateChoiceRunnerTest, DropboxAndDriveScansFindEveryListedPhotoWhateverTheStoredChoice)
{
    FakeHttpServer server;
    FakeDropbox dropbox(server);
    FakeDrive drive(server);
    const QDateTime dates[]
        = { QDateTime(QDate(2012, 3, 4), QTime(10, 0), Qt::UTC), QDateTime::currentDateTimeUtc(), {} };
    for (int i = 0; i < 3; ++i) {
        const QByteArray bytes = NaturalPhoto::jpegBytes(i % 2, 1024, 768, 95);
        const QString id = QStringLiteral("p%1").arg(i);
        dropbox.addFile("/A/" + id + ".jpg", bytes, dates[i].isValid() ? dates[i] : dates[0]);
        server.script("GET", "/img/" + id, { FakeResponse::typed(200, "image/jpeg", bytes) });
        drive.add("a",
            QJsonObject { { "id", id }, { "name", id + ".jpg" }, { "mimeType", "image/jpeg" },
                { "fileExtension", "jpg" }, { "size", QString::number(bytes.size()) },
                { "createdTime", dates[i].toString(Qt::ISODate) },
                { "md5Checksum", QString(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()) },
                { "thumbnailLink", server.url("/img/" + id).toString() } });
    }
    server.script("GET", "/drive/v3/files/root", { FakeResponse::json(200, R"({"id":"0AROOT"})") });
    server.script("GET", "/drive/v3/files/a",
        { FakeResponse::json(200,
            R"({"id":"a","name":"A","mimeType":"application/vnd.google-apps.folder","parents":["0AROOT"]})") });
    const QStringList environment { "QUENNARY_DROPBOX_API_BASE=" + dropbox.base().toString(),
        "QUENNARY_DROPBOX_CONTENT_BASE=" + dropbox.base().toString(),
        "QUENNARY_GOOGLE_API_BASE=" + server.base(), "QUENNARY_CLOUD_ACCESS_TOKEN=" + dropbox.token() };
    for (const auto &choice : kChoices) {
        EXPECT_EQ(scanned(stored(choice), { "--cloud", "dropbox", "--cloud-folder", "/A" }, environment),
            QStringList({ "Dropbox/A/p0.jpg", "Dropbox/A/p1.jpg", "Dropbox/A/p2.jpg" }))
            << choice.first << "," << choice.second;
        EXPECT_EQ(scanned(stored(choice), { "--cloud", "gdrive", "--cloud-folder", "a" }, environment),
            QStringList({ "My Drive/A/p0.jpg", "My Drive/A/p1.jpg", "My Drive/A/p2.jpg" }))
            << choice.first << "," << choice.second;
    }
}
#endif

// The stored date choices through the headless runner: "Since the beginning" keeps every folder
// photo whatever its dates, and a cloud scan, whose date controls are greyed, finds every listed
// photo whatever the stored choice, which stays stored for the next scan of this computer.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include "cloud/FakeDrive.h"
#include "platform/ImageSourceFixtures.h"
#include "platform/PropertyList.h"
#include "support/FakeDropbox.h"
#include "support/FakeHttpServer.h"
#include "support/NaturalPhoto.h"

#ifdef QNY_SCAN_RUNNER

namespace
{

struct DateChoice {
    int filesFromDate; // captured, added to library, created, captured or added
    int photosFrom; // today ... last 365 days, 6 since the beginning
};

// Every date kind, and every period at least once.
const DateChoice kChoices[]
    = { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 }, { 0, 4 }, { 2, 5 }, { 3, 6 }, { 1, 6 } };

QByteArray photo(int seed)
{
    return NaturalPhoto::jpegBytes(seed, 1024, 768, 95);
}

QVariantMap storedChoice(const DateChoice &choice)
{
    return { { QStringLiteral("allowPhotosLibScanInTimePeriod"), true },
        { QStringLiteral("scanFilesFromDate"), qlonglong(choice.filesFromDate) },
        { QStringLiteral("scanPhotosFrom"), qlonglong(choice.photosFrom) } };
}

struct RunOutcome {
    QStringList records;
    QVariantMap settingsAfter;
};

// One runner scan with `settings` stored in a fresh home; the scanned records' paths, sorted.
RunOutcome runWith(
    const QVariantMap &settings, const QStringList &arguments, const QMap<QString, QString> &environment = {})
{
    QTemporaryDir home;
    const QString settingsFile = home.filePath(QStringLiteral("config/Quennary/settings.plist"));
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    EXPECT_TRUE(PropertyList::writeFile(settingsFile, settings));
    QProcess runner;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUENNARY_CLOUD_TIMEOUT_SECONDS"), QStringLiteral("10"));
    for (auto it = environment.begin(); it != environment.end(); ++it)
        env.insert(it.key(), it.value());
    runner.setProcessEnvironment(env);
    const QString json = home.filePath(QStringLiteral("out.json"));
    runner.start(QStringLiteral(QNY_SCAN_RUNNER),
        QStringList { "--mode", "exact", "--home", home.path(), "--json", json } + arguments);
    RunOutcome outcome;
    if (!runner.waitForFinished(120000)) {
        ADD_FAILURE() << "the runner did not end";
        return outcome;
    }
    QFile out(json);
    if (out.open(QIODevice::ReadOnly)) {
        for (const QJsonValue &path :
            QJsonDocument::fromJson(out.readAll()).object().value(QStringLiteral("recordPaths")).toArray())
            outcome.records.append(path.toString());
    }
    outcome.records.sort();
    EXPECT_TRUE(outcome.records.size() > 0) << runner.readAllStandardError().toStdString();
    outcome.settingsAfter = PropertyList::readFile(settingsFile).value_or(QVariant()).toMap();
    return outcome;
}

std::string described(const DateChoice &choice)
{
    return "date kind " + std::to_string(choice.filesFromDate) + ", period "
        + std::to_string(choice.photosFrom);
}

} // namespace

// A photo captured in 2021, one with no capture date and a PNG, which has none either.
TEST(DateChoiceRunnerTest, SinceTheBeginningKeepsEveryFolderPhotoUnderEveryDateKind)
{
    QTemporaryDir tree;
    const QString captured = tree.filePath(QStringLiteral("captured-2021.jpg"));
    QFile file(captured);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(photo(1)) > 0);
    file.close();
    ASSERT_TRUE(ImageSourceFixtures::editMetadata(captured, [](Exiv2::ExifData &exif) {
        exif["Exif.Photo.DateTimeOriginal"] = std::string("2021:07:04 18:30:05");
    }));
    QFile undated(tree.filePath(QStringLiteral("undated.jpg")));
    ASSERT_TRUE(undated.open(QIODevice::WriteOnly) && undated.write(photo(2)) > 0);
    undated.close();
    ASSERT_TRUE(NaturalPhoto::make(3, 1024, 768).save(tree.filePath(QStringLiteral("drawing.png"))));
    const QStringList all { tree.filePath("captured-2021.jpg"), tree.filePath("drawing.png"),
        tree.filePath("undated.jpg") };
    for (int kind = 0; kind <= 3; ++kind) {
        const DateChoice choice { kind, 6 };
        EXPECT_EQ(runWith(storedChoice(choice), { tree.path() }).records, all) << described(choice);
    }
}

TEST(DateChoiceRunnerTest, ADropboxScanFindsEveryListedPhotoWhateverTheStoredDateChoice)
{
    FakeHttpServer server;
    FakeDropbox account(server);
    account.addFile(QStringLiteral("/Trips/old.jpg"), photo(1),
        QDateTime(QDate(2012, 3, 4), QTime(10, 0), QTimeZone::utc()));
    account.addFile(QStringLiteral("/Trips/today.jpg"), photo(2), QDateTime::currentDateTimeUtc());
    account.addFile(QStringLiteral("/Trips/copy.jpg"), photo(1));
    const QStringList all { "Dropbox/Trips/copy.jpg", "Dropbox/Trips/old.jpg", "Dropbox/Trips/today.jpg" };
    const QMap<QString, QString> environment { { "QUENNARY_DROPBOX_API_BASE", account.base().toString() },
        { "QUENNARY_DROPBOX_CONTENT_BASE", account.base().toString() },
        { "QUENNARY_CLOUD_ACCESS_TOKEN", account.token() } };
    for (const DateChoice &choice : kChoices) {
        const QVariantMap stored = storedChoice(choice);
        const RunOutcome run
            = runWith(stored, { "--cloud", "dropbox", "--cloud-folder", "/Trips" }, environment);
        EXPECT_EQ(run.records, all) << described(choice);
        // Greyed, not forgotten: the choice waits for the next scan of this computer.
        for (auto it = stored.begin(); it != stored.end(); ++it)
            EXPECT_EQ(run.settingsAfter.value(it.key()), it.value()) << it.key().toStdString();
    }
}

TEST(DateChoiceRunnerTest, ADriveScanFindsEveryListedPhotoWhateverTheStoredDateChoice)
{
    FakeHttpServer server;
    FakeDrive drive(server);
    drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    const auto serve = [&](const QString &id, const QByteArray &bytes, const QString &created) {
        server.script("GET", "/img/" + id, { FakeResponse::typed(200, "image/jpeg", bytes) });
        QJsonObject file { { "id", id }, { "name", id + ".jpg" }, { "mimeType", "image/jpeg" },
            { "fileExtension", "jpg" }, { "size", QString::number(bytes.size()) },
            { "md5Checksum",
                QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()) },
            { "thumbnailLink", server.url("/img/" + id).toString() + QStringLiteral("=s220") } };
        if (!created.isEmpty())
            file.insert(QStringLiteral("createdTime"), created);
        drive.add(QStringLiteral("a"), file);
    };
    serve(QStringLiteral("old"), photo(1), QStringLiteral("2012-03-04T10:00:00.000Z"));
    serve(QStringLiteral("today"), photo(2), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    serve(QStringLiteral("copy"), photo(1), QString());
    server.script("GET", QStringLiteral("/drive/v3/files/a"),
        { FakeResponse::json(200,
            R"({"id":"a","name":"A","mimeType":"application/vnd.google-apps.folder",)"
            R"("parents":["0AROOT"]})") });
    server.script(
        "GET", QStringLiteral("/drive/v3/files/root"), { FakeResponse::json(200, R"({"id":"0AROOT"})") });
    const QStringList all { "My Drive/A/copy.jpg", "My Drive/A/old.jpg", "My Drive/A/today.jpg" };
    const QMap<QString, QString> environment { { "QUENNARY_GOOGLE_API_BASE", server.base() },
        { "QUENNARY_CLOUD_ACCESS_TOKEN", "token-1" } };
    for (const DateChoice &choice : kChoices) {
        EXPECT_EQ(runWith(storedChoice(choice), { "--cloud", "gdrive", "--cloud-folder", "a" }, environment)
                      .records,
            all)
            << described(choice);
    }
}

#endif

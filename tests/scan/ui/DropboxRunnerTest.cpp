// The headless runner's Dropbox scan against a fake account: the main window's Dropbox mode from
// listing to groups, and its refusals.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "support/FakeDropbox.h"
#include "support/FakeHttpServer.h"
#include "support/NaturalPhoto.h"

// The runner is built with the benchmarks and tools; a build without them has nothing to run.
#ifdef QNY_SCAN_RUNNER

namespace
{

// Above the default minimum file size of 50 KB.
QByteArray jpeg(int seed)
{
    return NaturalPhoto::jpegBytes(seed, 1024, 768, 95);
}

struct RunResult {
    int exitCode = -1;
    QByteArray stderrText;
    QByteArray stdoutText;
    QJsonObject json;
};

RunResult runScanner(const FakeDropbox &account, const QString &token, const QStringList &folders,
    const QStringList &extra = {})
{
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUENNARY_DROPBOX_API_BASE"), account.base().toString());
    environment.insert(QStringLiteral("QUENNARY_DROPBOX_CONTENT_BASE"), account.base().toString());
    environment.insert(QStringLiteral("QUENNARY_CLOUD_TIMEOUT_SECONDS"), QStringLiteral("10"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (token.isNull())
        environment.remove(QStringLiteral("QUENNARY_CLOUD_ACCESS_TOKEN"));
    else
        environment.insert(QStringLiteral("QUENNARY_CLOUD_ACCESS_TOKEN"), token);
    process.setProcessEnvironment(environment);
    QStringList arguments { QStringLiteral("--mode"), QStringLiteral("exact"), QStringLiteral("--home"),
        home.path(), QStringLiteral("--json"), home.filePath(QStringLiteral("out.json")),
        QStringLiteral("--cloud"), QStringLiteral("dropbox") };
    for (const QString &folder : folders)
        arguments << QStringLiteral("--cloud-folder") << folder;
    arguments << extra;
    process.start(QStringLiteral(QNY_SCAN_RUNNER), arguments);
    RunResult result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitCode();
    result.stderrText = process.readAllStandardError();
    result.stdoutText = process.readAllStandardOutput();
    QFile out(home.filePath(QStringLiteral("out.json")));
    if (out.open(QIODevice::ReadOnly))
        result.json = QJsonDocument::fromJson(out.readAll()).object();
    return result;
}

} // namespace

TEST(DropboxRunner, TwoEqualPhotosInTwoFoldersMakeOneGroupWithBothDisplayPaths)
{
    FakeHttpServer server;
    FakeDropbox account(server);
    const QByteArray photo = jpeg(1);
    account.addFile(QStringLiteral("/Trips/Beach.jpg"), photo);
    account.addFile(QStringLiteral("/Trips/Other.jpg"), jpeg(2));
    account.addFile(QStringLiteral("/Backup/Copy of Beach.JPG"), photo);

    const RunResult run
        = runScanner(account, account.token(), { QStringLiteral("/Trips"), QStringLiteral("Backup") });
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    const QJsonArray groups = run.json.value(QStringLiteral("groups")).toArray();
    ASSERT_EQ(groups.size(), 1) << QJsonDocument(run.json).toJson().toStdString()
                                << run.stdoutText.toStdString()
                                << account.listedPaths().join(",").toStdString()
                                << run.stderrText.toStdString();
    QStringList members;
    for (const QJsonValue &member : groups.first().toArray())
        members.append(member.toString());
    members.sort();
    EXPECT_EQ(members, (QStringList { "Dropbox/Backup/Copy of Beach.JPG", "Dropbox/Trips/Beach.jpg" }));
    const QJsonArray recordPaths = run.json.value(QStringLiteral("recordPaths")).toArray();
    ASSERT_EQ(recordPaths.size(), 3);
    EXPECT_EQ(recordPaths.at(0).toString(), QStringLiteral("Dropbox/Trips/Beach.jpg"));
    EXPECT_EQ(recordPaths.at(2).toString(), QStringLiteral("Dropbox/Backup/Copy of Beach.JPG"));
}

TEST(DropboxRunner, ARefusedTokenEndsWithOneLineAndStatusOneAndAMissingTokenWithTwo)
{
    FakeHttpServer server;
    FakeDropbox account(server);
    account.addFile(QStringLiteral("/Trips/Beach.jpg"), jpeg(1));

    const RunResult refused = runScanner(account, QStringLiteral("wrong"), { QStringLiteral("/Trips") });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.stderrText.count("quennary-scan:"), 1) << refused.stderrText.toStdString();

    const RunResult missing = runScanner(account, QString(), { QStringLiteral("/Trips") });
    EXPECT_EQ(missing.exitCode, 2);
}

// Three copies, two of them edited elsewhere right after the scan read them: each marked copy is
// deleted only at the revision the scan listed, and only what Dropbox deleted is reported removed.
TEST(DropboxRunner, TrashMarkedDeletesThroughDropboxAtTheListedRevision)
{
    FakeHttpServer server;
    FakeDropbox account(server);
    for (const char *copy : { "/A/one.jpg", "/A/two.jpg", "/A/three.jpg" })
        account.addFile(QLatin1String(copy), jpeg(1));
    account.changeAfterDownload(QStringLiteral("/A/two.jpg"));
    account.changeAfterDownload(QStringLiteral("/A/three.jpg"));
    const RunResult run = runScanner(account, account.token(), { "/A" }, { "--auto-mark", "--trash-marked" });
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    const QStringList marked = run.json.value(QStringLiteral("marked")).toVariant().toStringList();
    const QStringList removed = run.json.value(QStringLiteral("removed")).toVariant().toStringList();
    ASSERT_EQ(marked.size(), 2) << QJsonDocument(run.json).toJson().toStdString();
    EXPECT_EQ(run.json.value(QStringLiteral("failed")).toArray().size(), 2 - removed.size());
    EXPECT_LT(removed.size(), 2);
    const QList<RecordedRequest> deletes = server.requests(QStringLiteral("/2/files/delete_v2"));
    ASSERT_EQ(deletes.size(), 2);
    for (const RecordedRequest &request : deletes) {
        const QJsonObject body = QJsonDocument::fromJson(request.body).object();
        const QString path = body.value(QStringLiteral("path")).toString();
        EXPECT_TRUE(marked.contains(QStringLiteral("Dropbox") + path));
        EXPECT_FALSE(body.value(QStringLiteral("parent_rev")).toString().isEmpty());
        EXPECT_EQ(removed.contains(QStringLiteral("Dropbox") + path), !account.exists(path));
    }
}

#endif

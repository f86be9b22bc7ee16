// A network share whose server never answers, mounted beside the scan, on it or below its folder:
// the headless runner ends its scan all the same, and names what did not answer.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/UserDefaults.h"
#include "support/DeadMount.h"
#include "support/NaturalPhoto.h"
#include "support/TestFiles.h"

#ifdef QNY_SCAN_RUNNER

namespace
{

struct ShareRow {
    const char *name;
    const char *share; // where the silent share is mounted, below the work folder
    QStringList scanned;
    const char *link; // a link made below the work folder that leads into the share, or ""
    bool serverGone; // the share's server has gone: its folder cannot be read
    int groups, notAnswering, unreadable;
    const char *named; // the folder the note at the scan's end names
    const char *copy = ""; // a copy of the photo made below the work folder
    const char *excluded = ""; // an excluded folder, or ""
    const char *dataHome = ""; // where the home Trash's folder lies, or "" for the test's own
    bool removes = false; // auto-mark and Trash Marked follow the scan
    friend void PrintTo(const ShareRow &row, std::ostream *os) { *os << row.name; }
};

class DeadShareRunnerTest : public ::testing::TestWithParam<ShareRow>
{
};

TEST_P(DeadShareRunnerTest, TheScanEndsAndNamesWhatDidNotAnswer)
{
    const ShareRow &row = GetParam();
    QTemporaryDir work;
    const QByteArray photo = NaturalPhoto::jpegBytes(7, 640, 480, 95);
    ASSERT_TRUE(TestFiles::write(work.filePath("photos/a.jpg"), photo));
    ASSERT_TRUE(TestFiles::write(work.filePath("photos/b/a.jpg"), photo));
    ASSERT_TRUE(QDir().mkpath(work.filePath(row.share)));
    ASSERT_TRUE(!*row.link || QFile::link(work.filePath(row.share) + "/c.jpg", work.filePath(row.link)));
    ASSERT_TRUE(!*row.copy || TestFiles::write(work.filePath(row.copy), photo));
    QStringList arguments { "--mode", "exact", "--home", work.filePath("home"), "--json",
        work.filePath("out.json") };
    if (row.removes)
        arguments << "--auto-mark"
                  << "--trash-marked";
    for (const QString &scanned : row.scanned)
        arguments.append(work.filePath(scanned));
    UserDefaults(work.filePath("home/config/Quennary/settings.plist"))
        .setObject("excludedFolders",
            *row.excluded ? QVariantList { work.filePath(row.excluded) } : QVariantList {});
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (*row.dataHome)
        qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath(row.dataHome)));

    const DeadMount::Run run = DeadMount::runBeside(
        work.filePath(row.share), QStringLiteral(QNY_SCAN_RUNNER), arguments, 60, row.serverGone);
    qputenv("XDG_DATA_HOME", dataHome);
    if (!run.refused.isEmpty())
        GTEST_SKIP() << qPrintable(run.refused);
    ASSERT_TRUE(run.ended) << "the scan did not end before the 60 s guard";
    ASSERT_EQ(run.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(TestFiles::read(work.filePath("out.json"))).object();
    EXPECT_EQ(json.value("groups").toArray().size(), row.groups);
    EXPECT_EQ(json.value("notAnsweringFolders").toInt(), row.notAnswering);
    EXPECT_EQ(json.value("unreadableFolders").toInt(), row.unreadable);
    const QString note = json.value("skippedFolders").toString();
    EXPECT_FALSE(note.contains("ID_")) << qPrintable(note);
    // A share the scan does not need is never looked into, not even named in the log; one a link,
    // an excluded folder or the home Trash leads onto is named there.
    QString log;
    for (QDirIterator it(work.filePath("home"), { "*.log" }, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        log += QString::fromUtf8(TestFiles::read(it.next()));
    EXPECT_EQ(log.contains(work.filePath(row.share)),
        QString(row.named).startsWith(row.share) || QString(row.share).startsWith(QString(row.named) + "/")
            || *row.link || *row.excluded || *row.dataHome)
        << qPrintable(log);
    EXPECT_TRUE(*row.named ? note.contains(work.filePath(row.named)) : note.isEmpty()) << qPrintable(note);
    // Nothing is moved where the Trash does not answer; the run says why.
    EXPECT_TRUE(json.value("removed").toArray().isEmpty());
    EXPECT_TRUE(
        QFile::exists(work.filePath("photos/a.jpg")) && QFile::exists(work.filePath("photos/b/a.jpg")));
    if (row.removes) {
        EXPECT_TRUE(QJsonDocument(json).toJson().contains("does not answer"))
            << QJsonDocument(json).toJson().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Shares, DeadShareRunnerTest,
    ::testing::Values(ShareRow { "Elsewhere", "dead", { "photos" }, "", false, 1, 0, 0, "" },
        ShareRow { "BelowTheRoot", "photos/nas", { "photos" }, "", false, 1, 1, 0, "photos/nas" },
        ShareRow { "HoldingARoot", "dead", { "dead", "photos" }, "", false, 1, 1, 0, "dead" },
        ShareRow { "HoldingTheOnlyRoot", "dead", { "dead" }, "", false, 0, 1, 0, "dead" },
        ShareRow { "LinkOntoTheShare", "dead", { "photos" }, "photos/c.jpg", false, 1, 1, 0, "photos/c.jpg" },
        ShareRow { "GoneBelowTheRoot", "photos/nas", { "photos" }, "", true, 1, 0, 1, "photos/nas" },
        ShareRow { "BesideACloudBin", "photos/cloud/files", { "photos" }, "", false, 1, 1, 0,
            "photos/cloud/files", "photos/cloud/files_trashbin/files/b.d1700000000/a.jpg" },
        ShareRow {
            "HoldingAnExcludedFolder", "dead", { "photos" }, "", false, 1, 0, 0, "", "", "dead/backup" },
        ShareRow { "HoldingTheHomeTrash", "xdg/Trash", { "photos" }, "", false, 1, 0, 0, "", "", "", "xdg" },
        ShareRow { "HoldingTheHomeTrashAtTheRemoval", "xdg/Trash", { "photos" }, "", false, 1, 0, 0, "", "",
            "", "xdg", true },
        ShareRow { "HoldingALibrarysDatabase", "Lib.photoslibrary/database",
            { "Lib.photoslibrary", "photos" }, "", false, 1, 1, 0, "Lib.photoslibrary" }),
    [](const ::testing::TestParamInfo<ShareRow> &info) { return std::string(info.param.name); });

// The kept copy's share falls silent just before the removal (a hook mounts a silent share over its
// folder): the run ends by itself, the marked copy stays, and the report says the kept copy does not
// answer.
TEST(DeadShareRunnerRemovalTest, TheRemovalEndsWhenTheKeptCopyFallsSilent)
{
    QTemporaryDir work;
    const QByteArray photo = NaturalPhoto::jpegBytes(11, 640, 480, 95);
    ASSERT_TRUE(TestFiles::write(work.filePath("nas/K.jpg"), photo));
    ASSERT_TRUE(TestFiles::write(work.filePath("photos/K_copy.jpg"), photo));
    ASSERT_TRUE(QDir().mkpath(work.filePath("dead")));
    // The copy changed last is kept: the one on the share.
    QProcess::execute("touch", { "-d", "2019-05-01", work.filePath("nas/K.jpg") });
    QProcess::execute("touch", { "-d", "2018-05-01", work.filePath("photos/K_copy.jpg") });
    // The share's server is this hook's child, holding the device until the runner ends.
    const QString hook = work.filePath("silence.sh");
    TestFiles::write(hook,
        QStringLiteral(
            "#!/bin/sh\n[ -e '%1/silenced' ] && exit 0\n: > '%1/silenced'\nexec 8<>/dev/fuse || exit 1\n"
            "mount -i -t fuse -o fd=8,rootmode=40000,user_id=0,group_id=0 silent '%1/nas' || exit 1\n"
            "( while kill -0 $PPID 2>/dev/null; do sleep 0.2; done ) </dev/null >/dev/null 2>&1 &\n")
            .arg(work.path())
            .toUtf8());
    QFile(hook).setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    const QStringList arguments { "--mode", "exact", "--auto-mark", "--trash-marked", "--before-each-removal",
        hook, "--home", work.filePath("home"), "--json", work.filePath("out.json"), work.filePath("nas"),
        work.filePath("photos") };
    const DeadMount::Run run
        = DeadMount::runBeside(work.filePath("dead"), QStringLiteral(QNY_SCAN_RUNNER), arguments, 60);
    if (!run.refused.isEmpty())
        GTEST_SKIP() << qPrintable(run.refused);
    ASSERT_TRUE(run.ended) << "the run did not end before the 60 s guard";
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_TRUE(QFile::exists(work.filePath("silenced"))) << "the removal never began";
    const QJsonObject json = QJsonDocument::fromJson(TestFiles::read(work.filePath("out.json"))).object();
    EXPECT_EQ(json.value("groups").toArray().size(), 1);
    EXPECT_TRUE(json.value("removed").toArray().isEmpty());
    EXPECT_EQ(json.value("skipped_groups").toInt(), 1) << QJsonDocument(json).toJson().toStdString();
    EXPECT_TRUE(QFile::exists(work.filePath("photos/K_copy.jpg")));
}

// A folder of the program's own (support and caches, settings, log) lies on a share that does not
// answer: the scan goes on without what it holds, ends, and logs why where the log can be written.
class DeadOwnFolderRunnerTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(DeadOwnFolderRunnerTest, TheScanGoesOnWithoutIt)
{
    QTemporaryDir work;
    const QByteArray photo = NaturalPhoto::jpegBytes(5, 640, 480, 95);
    ASSERT_TRUE(TestFiles::write(work.filePath("photos/a.jpg"), photo));
    ASSERT_TRUE(TestFiles::write(work.filePath("photos/b/a.jpg"), photo));
    const QString share = work.filePath(QStringLiteral("home/") + GetParam());
    ASSERT_TRUE(QDir().mkpath(share));
    const DeadMount::Run run = DeadMount::runBeside(share, QStringLiteral(QNY_SCAN_RUNNER),
        { "--mode", "exact", "--home", work.filePath("home"), "--json", work.filePath("out.json"),
            work.filePath("photos") },
        60);
    if (!run.refused.isEmpty())
        GTEST_SKIP() << qPrintable(run.refused);
    ASSERT_TRUE(run.ended) << "the scan did not end before the 60 s guard";
    ASSERT_EQ(run.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(TestFiles::read(work.filePath("out.json"))).object();
    EXPECT_EQ(json.value("groups").toArray().size(), 1);
    // The scan's end names the folder it went without.
    EXPECT_TRUE(json.value("skippedFolders").toString().contains(share))
        << QJsonDocument(json).toJson().toStdString();
    if (QString(GetParam()) != "state") {
        QString log;
        for (QDirIterator it(
                 work.filePath("home/state"), { "*.log" }, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();)
            log += QString::fromUtf8(TestFiles::read(it.next()));
        EXPECT_TRUE(log.contains("without the program's folder " + share)) << qPrintable(log);
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, DeadOwnFolderRunnerTest,
    ::testing::Values("data", "cache", "config", "state"),
    [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

} // namespace

#endif

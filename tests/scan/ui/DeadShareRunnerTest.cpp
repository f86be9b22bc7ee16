// A network share whose server never answers, mounted beside the scan, on it or below its folder:
// the headless runner ends its scan all the same, and names what did not answer.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
        QString(row.named).startsWith(row.share) || *row.link || *row.excluded || *row.dataHome)
        << qPrintable(log);
    EXPECT_TRUE(*row.named ? note.contains(work.filePath(row.named)) : note.isEmpty()) << qPrintable(note);
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
        ShareRow { "HoldingAnExcludedFolder", "dead", { "photos" }, "", false, 1, 0, 0, "", "", "dead/backup" },
        ShareRow { "HoldingTheHomeTrash", "xdg/Trash", { "photos" }, "", false, 1, 0, 0, "", "", "", "xdg" }),
    [](const ::testing::TestParamInfo<ShareRow> &info) { return std::string(info.param.name); });

} // namespace

#endif

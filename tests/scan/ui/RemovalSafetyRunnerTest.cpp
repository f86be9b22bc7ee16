// Scan, auto-mark and Trash Marked through the headless runner over the layouts and changes that
// once left a picture without a live copy: every file the run moved still has a copy outside any
// Trash, the Trashes and excluded folders met keep their files, and every file reported removed
// lies in the Trash.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/UserDefaults.h"
#include "support/NaturalPhoto.h"
#include "support/TestFiles.h"

#ifdef QNY_SCAN_RUNNER

namespace
{

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Layout {
    QString root, scanned, dataHome, hook;
    QStringList excluded, untouched;
    QString at(const QString &name) const { return root + QLatin1Char('/') + name; }
    // A picture of its own, then copies of it.
    void photo(const QString &name, int seed, const QStringList &copies = {})
    {
        const QByteArray bytes = NaturalPhoto::jpegBytes(seed, 640, 480, 95);
        for (const QString &path : QStringList { name } + copies)
            TestFiles::write(at(path), bytes);
    }
};

using SafetyCase = std::pair<const char *, std::function<void(Layout &)>>;

// The runner's report, or nothing when it failed; `dataHome` holds the Trash it uses.
QJsonObject runRunner(QStringList arguments, const QString &work, const QString &dataHome)
{
    QProcess runner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    runner.setProcessEnvironment(environment);
    runner.start(QStringLiteral(QNY_SCAN_RUNNER),
        arguments << "--home" << work + "/home"
                  << "--json" << work + "/out.json");
    if (!runner.waitForFinished(240000) || runner.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(contentOf(work + "/out.json")).object();
}

class RemovalSafetyRunnerTest : public ::testing::TestWithParam<SafetyCase>
{
};

TEST_P(RemovalSafetyRunnerTest, EveryPictureKeepsALiveCopy)
{
    QTemporaryDir work;
    Layout l;
    l.root = l.scanned = work.filePath("tree");
    l.dataHome = work.filePath("data");
    // A pair the run must thin, so that no row passes by removing nothing.
    l.photo("b.jpg", 2, { "b copy.jpg" });
    GetParam().second(l);
    UserDefaults(work.filePath("home/config/Quennary/settings.plist"))
        .setObject(QStringLiteral("excludedFolders"), QVariant(l.excluded).toList());
    TestFiles::write(
        work.filePath("hook.sh"), "#!/bin/sh\ncase \"$1\" in\n" + l.hook.toUtf8() + "\n*) ;;\nesac\n");
    QFile(work.filePath("hook.sh")).setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    const QJsonObject json = runRunner(
        { "--auto-mark", "--trash-marked", "--before-each-removal", work.filePath("hook.sh"), l.scanned },
        work.path(), l.dataHome);

    const QString trash = l.dataHome + QStringLiteral("/Trash");
    QByteArray infos;
    for (const QString &name : QDir(trash + "/info").entryList(QDir::Files))
        infos += contentOf(trash + "/info/" + name);
    const QJsonArray removed = json.value("removed").toArray();
    ASSERT_EQ(removed.size(), 1) << QJsonDocument(json).toJson().toStdString();
    EXPECT_TRUE(infos.contains("Path=" + QUrl::toPercentEncoding(removed[0].toString(), "/")));
    EXPECT_FALSE(QFileInfo::exists(removed[0].toString()));
    QSet<QByteArray> live;
    for (QDirIterator it(l.root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        if (const QString path = it.next(); !path.contains("/.Trash") && !path.startsWith(trash))
            live.insert(contentOf(path));
    for (const QString &name : QDir(trash + "/files").entryList(QDir::Files))
        EXPECT_TRUE(live.contains(contentOf(trash + "/files/" + name)))
            << "no live copy of " << qPrintable(name);
    for (const QString &kept : l.untouched)
        EXPECT_TRUE(QFileInfo::exists(l.at(kept))) << qPrintable(kept);
}

void trashedCopyOfA(Layout &l, const QString &trash)
{
    l.photo("a.jpg", 1, { trash + "/files/a.jpg" });
    TestFiles::write(l.at(trash + "/info/a.jpg.trashinfo"), "[Trash Info]\n");
    l.untouched << "a.jpg" << trash + "/files/a.jpg";
}

void excludedK(Layout &l)
{
    l.photo("keep/k.jpg", 3, { "k2.jpg" });
    l.excluded << l.at("keep");
    l.untouched << "keep/k.jpg";
}

INSTANTIATE_TEST_SUITE_P(Runner, RemovalSafetyRunnerTest,
    ::testing::Values(SafetyCase { "VolumeTrashInTheTree",
                          [](Layout &l) { trashedCopyOfA(l, ".Trash-" + QString::number(::getuid())); } },
        SafetyCase { "HomeTrashInTheTree",
            [](Layout &l) {
                l.dataHome = l.at("xdg");
                trashedCopyOfA(l, "xdg/Trash");
            } },
        SafetyCase { "ExcludedFolderThroughALink",
            [](Layout &l) {
                excludedK(l);
                l.scanned = l.root + "_alias";
                QFile::link(l.root, l.scanned);
            } },
        SafetyCase { "ManyAndOddExclusions",
            [](Layout &l) {
                excludedK(l);
                for (int i = 0; i < 400; ++i)
                    l.excluded << QStringLiteral("/nowhere/%1").arg(i);
                l.excluded << QStringLiteral("/nowhere/(\u0301");
            } },
        SafetyCase { "KeptCopyReplacedDuringTheRun",
            [](Layout &l) {
                l.photo("c1.jpg", 4, { "c2.jpg" });
                l.photo("../other.jpg", 5);
                l.hook = QStringLiteral("*/c1.jpg) cp %1 %2;;\n*/c2.jpg) cp %1 %3;;")
                             .arg(l.at("../other.jpg"), l.at("c2.jpg"), l.at("c1.jpg"));
            } },
        SafetyCase { "MarkedRewrittenWithItsSizeAndTimeKept",
            [](Layout &l) {
                l.photo("d1.jpg", 6, { "d2.jpg" });
                l.hook = QStringLiteral("*/d?.jpg) touch -r \"$1\" %1; printf QZQZ | dd of=\"$1\" bs=1 "
                                        "seek=30000 conv=notrunc 2>/dev/null; touch -r %1 \"$1\";;")
                             .arg(l.at("../ref"));
            } }),
    [](const auto &info) { return std::string(info.param.first); });

// Sixteen small files that declare 65000 x 48750 pixels each are refused before they are decoded,
// instead of taking hundreds of megabytes each on every hashing thread at once.
TEST(DecodeBudgetRunnerTest, HugeDeclarationsStayWithinTheMemoryOfAScan)
{
    QTemporaryDir work;
    QByteArray jpeg = NaturalPhoto::jpegBytes(7, 1024, 768, 95);
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    jpeg.replace(frame + 5, 4, QByteArray::fromHex("BE6EFDE8"));
    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(TestFiles::write(work.filePath(QStringLiteral("huge/%1.jpg").arg(i)), jpeg));
    // Similar mode decodes every picture, on every hashing thread.
    const QJsonObject json
        = runRunner({ "--mode", "similar", work.filePath("huge") }, work.path(), work.filePath("data"));
    ASSERT_EQ(json.value("records").toInt(), 16);
    EXPECT_LT(json.value("peakRssMB").toDouble(), 300.0);
}

} // namespace

#endif

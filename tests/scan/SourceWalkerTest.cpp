// The walk over a scan list: which files become records, once each, whatever the tree holds.
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "scan/SourceWalker.h"
#include "support/DeadMount.h"
#include "support/TestFiles.h"

using namespace ScanTestSupport;

namespace
{

struct Walk {
    std::atomic<bool> abortMe { false };
    QStringList added;
    QList<WalkedFile> files;
    WalkReport report;

    QStringList run(SourceWalkerOptions options, const std::function<void(SourceWalker &)> &body,
        const QStringList &roots = {})
    {
        SourceWalker walker(std::move(options), abortMe,
            { [this](const WalkedFile &file) {
                 added.append(file.path);
                 files.append(file);
                 return true;
             },
                {} },
            roots);
        body(walker);
        report = walker.report();
        return added;
    }
};

SourceWalkerOptions photoOptions()
{
    SourceWalkerOptions o;
    o.allowedExtensions = { QStringLiteral("jpg"), QStringLiteral("png") };
    return o;
}

QStringList relative(const QStringList &paths, const QString &root)
{
    QStringList out;
    for (const QString &path : paths)
        out.append(QDir(root).relativeFilePath(path));
    out.sort();
    return out;
}

// Root passes every permission check; the test thread gives up that power for a moment so an
// unreadable folder is unreadable to it too.
class WithoutFileCapabilities
{
public:
    WithoutFileCapabilities()
    {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = { m_saved[0], m_saved[1] };
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutFileCapabilities()
    {
        if (m_active)
            syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header {};
    __user_cap_data_struct m_saved[2] {};
    bool m_active = false;
};

} // namespace

TEST(SourceWalkerTest, NestedFoldersGiveEveryPhotoOnceWithTheFilters)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(TestFiles::write(root + "/a.jpg", randomBytes(1, 2000)));
    ASSERT_TRUE(TestFiles::write(root + "/x/y/z/b.PNG", randomBytes(2, 2000)));
    ASSERT_TRUE(TestFiles::write(root + "/x/small.jpg", randomBytes(3, 100)));
    ASSERT_TRUE(TestFiles::write(root + "/x/photojpg", randomBytes(4, 2000)));
    ASSERT_TRUE(TestFiles::write(root + "/x/notes.txt", randomBytes(5, 2000)));
    ASSERT_TRUE(TestFiles::write(root + "/skip/c.jpg", randomBytes(6, 2000)));
    ASSERT_TRUE(TestFiles::write(root + "/skipped-not/d.jpg", randomBytes(7, 2000)));
    // The same file again through a link and a hard link, and a link loop.
    ASSERT_EQ(symlink((root + "/a.jpg").toLocal8Bit().constData(),
                  (root + "/x/link.jpg").toLocal8Bit().constData()),
        0);
    ASSERT_EQ(
        link((root + "/a.jpg").toLocal8Bit().constData(), (root + "/x/hard.jpg").toLocal8Bit().constData()),
        0);
    ASSERT_EQ(symlink(root.toLocal8Bit().constData(), (root + "/x/y/loop").toLocal8Bit().constData()), 0);
    ASSERT_EQ(symlink((root + "/gone.jpg").toLocal8Bit().constData(),
                  (root + "/broken.jpg").toLocal8Bit().constData()),
        0);

    SourceWalkerOptions o = photoOptions();
    o.minimumFileSize = 1000;
    o.exclusions = ExclusionMatcher({ root + "/skip" });
    Walk walk;
    const QStringList added = walk.run(o, [&](SourceWalker &w) {
        w.addFileToScan(root + "/x/link.jpg"); // known by its own path, not by a link met first
        w.scanFolder(root);
        w.scanFolder(root + "/x"); // a folder already walked is not walked again
        w.offerLinkedFiles();
    });
    EXPECT_EQ(relative(added, root), (QStringList { "a.jpg", "skipped-not/d.jpg", "x/y/z/b.PNG" }));
}

// Records are made from what the walk read: it must be what the file itself says, through a link too.
TEST(SourceWalkerTest, AWalkedFileCarriesItsOwnSizeAndDates)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(TestFiles::write(root + "/in/a.jpg", randomBytes(1, 2000)));
    ASSERT_TRUE(TestFiles::write(root + "/b.jpg", randomBytes(2, 3000)));
    ASSERT_EQ(symlink((root + "/b.jpg").toLocal8Bit().constData(),
                  (root + "/in/b-link.jpg").toLocal8Bit().constData()),
        0);
    Walk walk;
    walk.run(photoOptions(), [&](SourceWalker &w) {
        w.scanFolder(root + "/in");
        w.offerLinkedFiles();
        w.addFileToScan(root + "/b.jpg"); // the same file as the link: not offered twice
    });
    ASSERT_EQ(walk.files.size(), 2);
    for (const WalkedFile &file : walk.files) {
        const FileAttributes own = FileFacts::attributes(file.path).value();
        EXPECT_EQ(file.size, own.size) << file.path.toStdString();
        EXPECT_EQ(file.attributes.size, own.size);
        EXPECT_EQ(file.attributes.modificationDate, own.modificationDate);
        EXPECT_EQ(file.attributes.changeDate, own.changeDate);
        EXPECT_EQ(file.attributes.creationDate, own.creationDate);
        EXPECT_EQ(file.attributes.immutable, own.immutable);
    }
}

TEST(SourceWalkerTest, ASingleFileInsideAnExcludedFolderIsStillTaken)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::write(dir.path() + "/ex/p.jpg", randomBytes(1, 10)));
    SourceWalkerOptions o = photoOptions();
    o.exclusions = ExclusionMatcher({ dir.path() + "/ex" });
    Walk walk;
    const QStringList added = walk.run(o, [&](SourceWalker &w) {
        w.scanFolder(dir.path() + "/ex");
        w.addFileToScan(dir.path() + "/ex/p.jpg");
    });
    EXPECT_EQ(relative(added, dir.path()), QStringList { "ex/p.jpg" });
}

TEST(SourceWalkerTest, AnUnreadableFolderIsSkippedAndTheWalkGoesOn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::write(dir.path() + "/locked/p.jpg", randomBytes(1, 10)));
    ASSERT_TRUE(TestFiles::write(dir.path() + "/open/q.jpg", randomBytes(2, 10)));
    ASSERT_EQ(chmod((dir.path() + "/locked").toLocal8Bit().constData(), 0), 0);
    QStringList added;
    {
        WithoutFileCapabilities lowered;
        Walk walk;
        added = walk.run(photoOptions(), [&](SourceWalker &w) { w.scanFolder(dir.path()); });
    }
    chmod((dir.path() + "/locked").toLocal8Bit().constData(), 0755);
    EXPECT_EQ(relative(added, dir.path()), QStringList { "open/q.jpg" });
}

TEST(SourceWalkerTest, StopEndsTheWalk)
{
    QTemporaryDir dir;
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(TestFiles::write(dir.path() + QStringLiteral("/p%1.jpg").arg(i), randomBytes(i, 10)));
    std::atomic<bool> abortMe { false };
    int added = 0;
    SourceWalker walker(photoOptions(), abortMe,
        { [&](const WalkedFile &) {
             if (++added == 5)
                 abortMe = true;
             return true;
         },
            {} },
        { dir.path() });
    walker.scanFolder(dir.path());
    EXPECT_EQ(added, 5);
}

TEST(SourceWalkerTest, ExtensionsNeedTheirDot)
{
    const QStringList extensions { QStringLiteral("jpeg"), QStringLiteral("jpg") };
    EXPECT_EQ(SourceWalker::matchingExtension("/a/b.jpg", extensions), QStringLiteral("jpg"));
    EXPECT_EQ(SourceWalker::matchingExtension("/a/photojpg", extensions), QString());
    EXPECT_EQ(SourceWalker::matchingExtension("/a/b.jpeg", extensions), QStringLiteral("jpeg"));
    EXPECT_EQ(SourceWalker::matchingExtension("jpg", extensions), QString());
}

TEST(SourceWalkerTest, AFileDeletedDuringTheWalkIsPassedOver)
{
    QTemporaryDir dir;
    for (const char *name : { "a.jpg", "b.jpg", "c.jpg" })
        ASSERT_TRUE(TestFiles::write(dir.filePath(name), randomBytes(1, 10)));
    std::atomic<bool> abortMe { false };
    QStringList added;
    SourceWalker walker(photoOptions(), abortMe,
        { [&](const WalkedFile &file) {
             // The folder was listed before this: b.jpg vanishes between the listing and its turn.
             if (added.isEmpty())
                 QFile::remove(dir.filePath("b.jpg"));
             added.append(QDir(dir.path()).relativeFilePath(file.path));
             return true;
         },
            {} },
        { dir.path() });
    walker.scanFolder(dir.path());
    EXPECT_EQ(added, (QStringList { "a.jpg", "c.jpg" }));
}

// Every Trash met is left out; those that are not the user's own Trash at its place are named.
TEST(SourceWalkerTest, TrashFoldersAreLeftOutAndTheOnesNotTheUsersOwnAreNamed)
{
    QTemporaryDir dir;
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    for (const char *file : { "ok/b.jpg", "data/Trash/files/c.jpg", "p/.Trash-4242/d.jpg",
             "c/$Recycle.Bin/e.jpg", "ok/.TRASHED-1733000000-f.jpg" })
        ASSERT_TRUE(TestFiles::write(dir.filePath(QString::fromUtf8(file)), randomBytes(3, 10)));
    Walk walk;
    const QStringList added = walk.run(photoOptions(), [&](SourceWalker &w) { w.scanFolder(dir.path()); });
    qputenv("XDG_DATA_HOME", savedDataHome);
    EXPECT_EQ(relative(added, dir.path()), QStringList { "ok/b.jpg" });
    EXPECT_EQ(walk.report.trashFolders, 2);
    EXPECT_EQ(walk.report.firstTrashFolder, dir.filePath("c/$Recycle.Bin"));
}

// Links onto a share whose server never answers (the test below, run beside such a share in a process
// of its own): the first costs one bound, every other is passed over at once, read but not followed.
TEST(SilentShareWalkTest, LinksOntoASilentShareBesideIt)
{
    DeadMount::expectPassesBeside("SourceWalkerTest.LinksOntoASilentShareNameItOnceAndLeaveOneThread");
}

TEST(SourceWalkerTest, LinksOntoASilentShareNameItOnceAndLeaveOneThread)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const QString share = DeadMount::silentShare();
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link(share, dir.filePath("door")));
    // Links straight onto the share, then through a link to it: the share named by the first walk
    // stands for everything on it in the next.
    const std::pair<const char *, QString> layouts[] = { { "straight", share + QStringLiteral("/c%1.jpg") },
        { "through", QStringLiteral("../door/c%1.jpg") } };
    for (const auto &[name, target] : layouts) {
        const QString folder = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(TestFiles::write(folder + "/real.jpg", randomBytes(1, 10)));
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(QFile::link(target.arg(i), folder + QStringLiteral("/l%1.jpg").arg(i)));
        Walk walk;
        const QStringList added = walk.run(photoOptions(),
            [&](SourceWalker &w) {
                w.scanFolder(folder);
                w.offerLinkedFiles();
            },
            { folder });
        EXPECT_EQ(relative(added, folder), QStringList { "real.jpg" }) << name;
        EXPECT_EQ(walk.report.notAnsweringFolders, 1) << name;
        EXPECT_EQ(walk.report.firstNotAnsweringFolder, folder + "/l0.jpg") << name;
    }
    const QStringList waiting = DeadMount::threadsWaiting();
    EXPECT_EQ(waiting.size(), 1);
    EXPECT_TRUE(DeadMount::endServerAndWait(waiting, 60000));
}

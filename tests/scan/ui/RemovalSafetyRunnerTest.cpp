// Scan, auto-mark and Trash Marked through the headless runner over the layouts and changes that
// once left a picture without a live copy: every file the run moved still has a copy outside any
// Trash, the Trashes and excluded folders met keep their files, and every file reported removed
// lies in the Trash.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
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
    // `trash`: where removed files must go, when not the home Trash; `trashes`: other Trashes below `root`.
    QString root, dataHome, hook, moveHook, trash;
    QStringList scanned, excluded, untouched, notOurs, trashes, mounts, options;
    int removedCount = 1;
    bool skip = false; // no volume (tmpfs or overlay) could be mounted
    QString at(const QString &name) const { return root + QLatin1Char('/') + name; }
    // A picture of its own, then copies of it.
    void photo(const QString &name, int seed, const QStringList &copies = {})
    {
        const QByteArray bytes = NaturalPhoto::jpegBytes(seed, 640, 480, 95);
        for (const QString &path : QStringList { name } + copies)
            TestFiles::write(at(path), bytes);
    }
    // Auto-mark keeps the copy changed last.
    void age(const QString &name, int hours)
    {
        QProcess::execute("touch", { "-d", QStringLiteral("%1 hours ago").arg(hours), at(name) });
    }
    // A Trash's `files` seen again at `alias`, the row's only Trash (skipped where mounts are refused).
    void bindTrash(const QString &files, const QString &alias)
    {
        trashes = QStringList { alias };
        mounts << at(alias);
        skip = !QDir().mkpath(at(alias))
            || QProcess::execute("mount", { "--bind", at(files), at(alias) }) != 0;
    }
    // A fresh file system at "vol", on which the tree then lies.
    bool mountVolume()
    {
        const QString volume = QFileInfo(root).absolutePath() + "/vol";
        skip = !QDir().mkpath(volume) || QProcess::execute("mount", { "-t", "tmpfs", "tmpfs", volume }) != 0;
        if (skip)
            return false;
        root = volume;
        scanned = QStringList { at("photos") };
        trash = at(".Trash-" + QString::number(::getuid()));
        return true;
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

QString writeHook(const QString &path, const QString &cases)
{
    TestFiles::write(path, "#!/bin/sh\ncase \"$1\" in\n" + cases.toUtf8() + "\n*) ;;\nesac\n");
    QFile(path).setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    return path;
}

// Every file below `folder`, links to files included, with its content.
QHash<QString, QByteArray> filesBelow(const QString &folder)
{
    QHash<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();)
        if (const QString path = it.next(); !path.isEmpty())
            files.insert(path, contentOf(path));
    return files;
}

// Where each item of a Trash among `files` lies, by the original path its info file names.
QHash<QString, QString> trashedIn(const QHash<QString, QByteArray> &files)
{
    static const QRegularExpression kInfo("^(.*)/info/(.+)\\.trashinfo$"), kPath("\nPath=([^\n]*)");
    QHash<QString, QString> items;
    for (auto it = files.begin(); it != files.end(); ++it)
        if (const auto info = kInfo.match(it.key()), path = kPath.match(QString::fromUtf8(it.value()));
            info.hasMatch() && path.hasMatch())
            items.insert(QUrl::fromPercentEncoding(path.captured(1).toUtf8()),
                info.captured(1) + "/files/" + info.captured(2));
    return items;
}

class RemovalSafetyRunnerTest : public ::testing::TestWithParam<SafetyCase>
{
};

TEST_P(RemovalSafetyRunnerTest, EveryPictureKeepsALiveCopy)
{
    QTemporaryDir work;
    Layout l;
    l.root = work.filePath("tree");
    l.scanned = QStringList { l.root };
    l.dataHome = work.filePath("data");
    // A pair the run must thin, so that no row passes by removing nothing.
    l.photo("b.jpg", 2, { "b copy.jpg" });
    const auto unmount = qScopeGuard([&] {
        for (const QString &mount : l.mounts + QStringList { work.filePath("vol") })
            QProcess::execute("umount", { "-q", "-l", mount });
    });
    GetParam().second(l);
    if (l.skip)
        GTEST_SKIP() << "no volume can be mounted here (needs root where mounts are allowed)";
    UserDefaults(work.filePath("home/config/Quennary/settings.plist"))
        .setObject(QStringLiteral("excludedFolders"), QVariant(l.excluded).toList());
    const QJsonObject json = runRunner(QStringList { "--auto-mark", "--trash-marked", "--before-each-removal",
                                           writeHook(work.filePath("hook.sh"), l.hook), "--before-each-move",
                                           writeHook(work.filePath("move.sh"), l.moveHook) }
            + l.options + l.scanned,
        work.path(), l.dataHome);

    const QHash<QString, QByteArray> after = filesBelow(work.path());
    const QHash<QString, QString> trashed = trashedIn(after);
    const QJsonArray removed = json.value("removed").toArray();
    ASSERT_EQ(removed.size(), l.removedCount) << QJsonDocument(json).toJson().toStdString();
    qint64 freed = 0;
    // What is reported removed went to the Trash it belongs in; that it is the file scanned, the live
    // copy of each trashed file below tells. Only a file with no other name frees its bytes.
    for (const QJsonValue &path : removed) {
        const QString inTrash = trashed.value(path.toString());
        EXPECT_TRUE(inTrash.startsWith((l.trash.isEmpty() ? l.dataHome + "/Trash" : l.trash) + "/files/"))
            << qPrintable(path.toString()) << " went to " << qPrintable(inTrash);
        std::error_code missing;
        if (std::filesystem::hard_link_count(inTrash.toStdString(), missing) == 1)
            freed += QFileInfo(inTrash).size();
    }
    EXPECT_EQ(json.value("freed_bytes").toInteger(), freed)
        << "a file with another name outside frees nothing";
    static const QRegularExpression kInTrash(QStringLiteral("/(\\.Trash[^/]*|\\.local/share/Trash)/"));
    const auto inATrash = [&](const QString &path) {
        return kInTrash.match(path).hasMatch() || path.startsWith(l.dataHome + "/Trash/")
            || std::any_of(l.trashes.begin(), l.trashes.end(),
                [&](const QString &trash) { return path.startsWith(l.at(trash) + "/"); });
    };
    QSet<QByteArray> live;
    for (auto it = after.begin(); it != after.end(); ++it)
        if (!inATrash(it.key()))
            live.insert(it.value());
    // A Trash is never walked, and the scan names those it left out that are not the user's own.
    for (const QJsonValue &record : json.value("recordPaths").toArray())
        EXPECT_FALSE(inATrash(record.toString())) << "scanned " << qPrintable(record.toString());
    EXPECT_GE(json.value("trashFoldersSkipped").toInt(), l.trashes.size());
    for (const QString &inTrash : trashed)
        EXPECT_TRUE(live.contains(after.value(inTrash))) << "no live copy of " << qPrintable(inTrash);
    for (const QString &kept : l.untouched)
        EXPECT_TRUE(QFileInfo::exists(l.at(kept))) << qPrintable(kept);
    for (const QString &folder : l.notOurs)
        EXPECT_TRUE(filesBelow(l.at(folder)).isEmpty()) << "something landed in " << qPrintable(folder);
}

// A trashed copy of "a.jpg", newer than it, in the Trash `trash`.
void trashedCopyOfA(Layout &l, const QString &trash, bool withInfo = true)
{
    l.photo("a.jpg", 1, { trash + "/files/a.jpg" });
    l.age("a.jpg", 2);
    if (withInfo)
        TestFiles::write(l.at(trash + "/info/a.jpg.trashinfo"), "[Trash Info]\n");
    l.untouched << "a.jpg" << trash + "/files/a.jpg";
}

// The picture `live`, a copy of it a year newer at `trashed` in the Trash `trash` (of another system,
// or reached under another name), which auto-mark would keep were it scanned.
void newerCopyInATrash(Layout &l, const QString &live, const QString &trash, const QString &trashed)
{
    l.photo(live, 15 + int(l.trashes.size()), { trash + "/" + trashed });
    l.age(live, 24 * 365);
    l.untouched << live << trash + "/" + trashed;
    l.trashes << trash;
}

SafetyCase otherSystemsTrash(const char *name, const char *live, const char *trash, const char *trashed)
{
    return { name, [=](Layout &l) { newerCopyInATrash(l, live, trash, trashed); } };
}

// A store of another tool's copies holding a copy a year newer, met by an exact scan.
SafetyCase storeOfCopies(const char *name, const char *live, const char *store, const char *copy)
{
    return { name, [=](Layout &l) {
                newerCopyInATrash(l, live, store, copy);
                l.options = QStringList { "--mode", "exact" };
            } };
}

void excludedK(Layout &l)
{
    l.photo("keep/k.jpg", 3, { "k2.jpg" });
    l.excluded << l.at("keep");
    l.untouched << "keep/k.jpg";
}

// A pair on a volume of its own, whose ".Trash-<uid>" ($T) the shell line `prepare` lays out beforehand
// and is no Trash of ours: nothing can be removed, and nothing lands elsewhere.
SafetyCase foreignVolumeTrash(const char *name, const char *prepare)
{
    return { name, [prepare](Layout &l) {
                if (!l.mountVolume())
                    return;
                l.photo("photos/h1.jpg", 8, { "photos/h2.jpg" });
                QDir().mkpath(l.at("elsewhere"));
                QProcess::execute("sh",
                    { "-c", QStringLiteral("cd '%1' && T=.Trash-$(id -u) && %2").arg(l.root, prepare) });
                l.removedCount = 0;
                l.untouched += QStringList { "photos/h1.jpg", "photos/h2.jpg" };
                l.notOurs << "elsewhere" << QFileInfo(l.trash).fileName();
            } };
}

INSTANTIATE_TEST_SUITE_P(Runner, RemovalSafetyRunnerTest,
    ::testing::Values(SafetyCase { "VolumeTrashInTheTree",
                          [](Layout &l) { trashedCopyOfA(l, ".Trash-" + QString::number(::getuid())); } },
        SafetyCase { "HomeTrashAndALinkIntoItInTheTree",
            [](Layout &l) {
                l.dataHome = l.at("xdg");
                trashedCopyOfA(l, "xdg/Trash");
                QFile::link(l.at("xdg/Trash/files/a.jpg"), l.at("a link.jpg"));
            } },
        SafetyCase { "AnotherHomesTrashInTheTree",
            [](Layout &l) { trashedCopyOfA(l, "backup/home/bob/.local/share/Trash"); } },
        SafetyCase {
            "TrashWithFilesOnlyInTheTree", [](Layout &l) { trashedCopyOfA(l, "disk/.Trash-1000", false); } },
        SafetyCase { "ExcludedFolderThroughALink",
            [](Layout &l) {
                excludedK(l);
                l.scanned = QStringList { l.root + "_alias" };
                QFile::link(l.root, l.scanned[0]);
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
        SafetyCase { "KeptCopyDeletedDuringTheFirstOfTwoMoves",
            [](Layout &l) {
                l.photo("e1.jpg", 9, { "e2.jpg", "e3.jpg" });
                l.age("e1.jpg", 3);
                l.age("e2.jpg", 2);
                l.moveHook = QStringLiteral("*/e?.jpg) rm -f %1;;").arg(l.at("e3.jpg"));
                // The first went back: the copy kept for it had gone meanwhile.
                l.untouched = QStringList { "e1.jpg", "e2.jpg" };
            } },
        SafetyCase { "HardLinkInAnotherFolderWithANameTooLongForATrashInfo",
            [](Layout &l) {
                const QString name = QString(250, QLatin1Char('o')) + ".jpg";
                l.photo(name, 13, { "z/h.jpg" });
                l.age(name, 2);
                QProcess::execute("ln", { l.at(name), l.at("z/link.jpg") });
                l.removedCount = 2;
            } },
        SafetyCase { "MarkedRewrittenWithItsSizeAndTimeKept",
            [](Layout &l) {
                l.photo("d1.jpg", 6, { "d2.jpg" });
                l.hook = QStringLiteral("*/d?.jpg) touch -r \"$1\" %1; printf QZQZ | dd of=\"$1\" bs=1 "
                                        "seek=30000 conv=notrunc 2>/dev/null; touch -r %1 \"$1\";;")
                             .arg(l.at("../ref"));
            } },
        SafetyCase { "MarkedSwappedAtTheMove",
            [](Layout &l) {
                l.photo("f1.jpg", 10, { "f2.jpg" });
                l.photo("../only.jpg", 11);
                l.moveHook = QStringLiteral("*/f?.jpg) mv \"$1\" \"$1.aside\"; mv %1 \"$1\";;")
                                 .arg(l.at("../only.jpg"));
            } },
        SafetyCase { "FolderLinkedOntoAnotherVolume",
            [](Layout &l) {
                const QString tree = l.root;
                if (!l.mountVolume())
                    return;
                l.photo("photos/g1.jpg", 12, { "photos/g2.jpg" });
                QFile::link(l.at("photos"), tree + "/linked");
                l.scanned = QStringList { tree + "/linked" };
            } },
        SafetyCase { "FolderSeenAgainThroughAnOverlay",
            [](Layout &l) {
                l.photo("z/o.jpg", 14);
                const QString mount = "cd '%1/..' && mkdir up ow vol && mount -t overlay overlay -o "
                                      "lowerdir=tree/z,upperdir=up,workdir=ow vol";
                l.skip = QProcess::execute("sh", { "-c", mount.arg(l.root) }) != 0;
                l.scanned = QStringList { l.at("../vol"), l.root };
                l.untouched << "z/o.jpg";
            } },
        otherSystemsTrash(
            "MacVolumeTrash", "disk/DCIM/100CANON/IMG_0001.JPG", "disk/.Trashes", "501/IMG_0001.JPG"),
        otherSystemsTrash("WindowsRecycleBin", "card/DCIM/IMG_0002.JPG", "card/$RECYCLE.BIN",
            "S-1-5-21-3623811015-3361044348-30300820-1013/$RX4KQ2B.JPG"),
        otherSystemsTrash("SandboxedApplicationTrash", "Pictures/p.jpg",
            ".var/app/org.example.Viewer/data/Trash", "files/p.jpg"),
        otherSystemsTrash(
            "NetworkStorageRecycleBin", "nas/photo/2023/n.jpg", "nas/photo/#recycle", "2023/n.jpg"),
        // Phones' galleries and sync services, in the letter case a copy to another disk may give.
        otherSystemsTrash("PhoneGalleryCloudTrashBin", "phone/DCIM/Camera/IMG_4.jpg",
            "phone/MIUI/Gallery/cloud/.TRASHBIN", "IMG_4.jpg"),
        otherSystemsTrash("PhoneGallery2Recycle", "phone/Pictures/IMG_5.jpg",
            "phone/Pictures/.Gallery2/Recycle", "IMG_5.jpg"),
        otherSystemsTrash("PhoneGlobalTrash", "phone/DCIM/IMG_6.jpg", "phone/.globalTrash", "1a2b3c4d.jpg"),
        otherSystemsTrash("PhoneGalleryAppRecycleBin", "phone/DCIM/IMG_7.jpg",
            "phone/Android/data/com.example.gallery/files/.RecycleBin", "IMG_7.jpg"),
        otherSystemsTrash("SelfHostedCloudTrashBin", "data/alice/files/Photos/A.jpg",
            "data/alice/files_trashbin", "files/Photos.d1700000000/A.jpg"),
        otherSystemsTrash(
            "SyncServiceCache", "Dropbox/Photos/B.jpg", "Dropbox/.dropbox.cache", "2024-01-02/B.jpg"),
        storeOfCopies("SyncVersionStore", "Sync/A.jpg", "Sync/.STVersions", "A~20240102-030405.jpg"),
        storeOfCopies("SyncArchive", "Sync/B.jpg", "Sync/.Sync/ARCHIVE", "B.jpg"),
        SafetyCase { "CloudBinBesideItsFilesMovedToAnotherDisk",
            [](Layout &l) {
                storeOfCopies("", "disk2/C.jpg", "data/FILES_TRASHBIN", "files/x.d1/C.jpg").second(l);
                QFile::link(l.at("disk2"), l.at("data/files"));
            } },
        SafetyCase { "PhotoManagerTrashAtTheTopOfACollection",
            [](Layout &l) {
                storeOfCopies("", "Pictures/2024/D.jpg", "Pictures/.dtrash", "files/2024/D.jpg").second(l);
                TestFiles::write(l.at("Pictures/.dtrash/info/D.jpg.dtrashinfo"), "deleted");
            } },
        storeOfCopies("PhotoManagerTrashInAnotherLetterCase", "card/E.jpg", "card/.DTrash", "files/E.jpg"),
        // A photo manager's offline copy of a picture it shows, and a viewer's own bin.
        storeOfCopies("PhotoManagerCacheCopy", "Pictures/F.jpg", "home/.cache/darktable",
            "img-0cc175b9c0f1b6a831c399e269772661.jpg"),
        storeOfCopies("PhotoViewerTrash", "Pictures/2023/J.jpg", "home/.local/share/geeqie/trash", "J.jpg"),
        SafetyCase { "MountedBackupArchive",
            [](Layout &l) {
                // Each snapshot is shown whole by id, by time, by host and by tag.
                const QString snapshot = "home/u/Pictures/R.jpg";
                storeOfCopies(
                    "", "Pictures/R.jpg", "archive/snapshots", "2024-01-02T03:04:05/home/u/Pictures/R.jpg")
                    .second(l);
                for (const QString &view : { "archive/ids/1a2b3c4d/", "archive/hosts/pc/2024-01-02T03:04:05/",
                         "archive/tags/weekly/2024-01-02T03:04:05/" }) {
                    TestFiles::write(l.at(view + snapshot), contentOf(l.at("Pictures/R.jpg")));
                    l.untouched << view + snapshot;
                }
                l.trashes += QStringList { "archive/ids", "archive/hosts", "archive/tags" };
            } },
        storeOfCopies("FileSystemSnapshot", "pool/E.jpg", "pool/.ZFS", "snapshot/daily/E.jpg"),
        storeOfCopies("SnapshotBackup", "u/G.jpg", "TimeShift/SNAPSHOTS", "1/localhost/u/G.jpg"),
        storeOfCopies("NetworkStorageThumbnails", "p/H.jpg", "p/@EaDir", "H.jpg/THUMB_XL.jpg"),
        SafetyCase { "HomeTrashFilesBoundUnderAnotherName",
            [](Layout &l) {
                newerCopyInATrash(l, "t.jpg", "../data/Trash/files", "t.jpg");
                l.bindTrash("../data/Trash/files", "old album");
            } },
        SafetyCase { "VolumeTrashFilesBoundUnderAnotherName",
            [](Layout &l) {
                if (!l.mountVolume())
                    return;
                const QString files = QFileInfo(l.trash).fileName() + "/files";
                newerCopyInATrash(l, "photos/v.jpg", files, "v.jpg");
                l.photo("photos/v1.jpg", 21, { "photos/v2.jpg" });
                l.bindTrash(files, "photos/old");
            } },
        SafetyCase { "LinkIntoAVolumeTrashBoundBesideTheScan",
            [](Layout &l) {
                // Nothing of the volume lies below the scanned folder: only the link leads onto it.
                const QString files = "../vol/.Trash-" + QString::number(::getuid()) + "/files";
                l.skip = !QDir().mkpath(l.at("../vol"))
                    || QProcess::execute("mount", { "-t", "tmpfs", "tmpfs", l.at("../vol") }) != 0;
                if (l.skip)
                    return;
                newerCopyInATrash(l, "photos/A.jpg", files, "A.jpg");
                l.bindTrash(files, "shelf");
                l.trashes.clear(); // never walked, so never named
                QFile::link("../shelf/A.jpg", l.at("photos/fav.jpg"));
                l.photo("photos/p1.jpg", 27, { "photos/p2.jpg" });
                l.scanned = QStringList { l.at("photos") };
            } },
        SafetyCase { "MarkedRewrittenInPlaceAtTheMove",
            [](Layout &l) {
                l.photo("r1.jpg", 22, { "r2.jpg" });
                l.moveHook = QStringLiteral(
                    "*/r?.jpg) printf QZQZ | dd of=\"$1\" bs=1 seek=30000 conv=notrunc 2>/dev/null;;");
            } },
        foreignVolumeTrash("PreMadeVolumeTrashAsALink", "ln -s \"$PWD/elsewhere\" $T"),
        foreignVolumeTrash("PreMadeVolumeTrashOfAnotherOwner", "mkdir $T && chown $(($(id -u) + 4242)) $T"),
        foreignVolumeTrash(
            "PreMadeVolumeTrashWithLinkedFiles", "mkdir -p $T/info && ln -s \"$PWD/elsewhere\" $T/files"),
        SafetyCase { "RefusedDataFolderLinkedToTheUsersFolder",
            [](Layout &l) {
                // The runner's data folder, in a folder others may write in, leads to the user's own.
                TestFiles::write(l.at("../docs/thumbnails/mine.jpg"), "mine");
                QDir().mkpath(l.at("../home/data"));
                QFile::setPermissions(l.at("../home/data"), QFileDevice::Permissions(0x7777));
                QFile::link(l.at("../docs"), l.at("../home/data/Quennary"));
                l.untouched << "../docs/thumbnails/mine.jpg";
            } },
        SafetyCase { "TrashedAlbumBoundUnderAnotherName",
            [](Layout &l) {
                newerCopyInATrash(l, "al.jpg", "../data/Trash/files/Album", "al.jpg");
                l.trashes = QStringList { "album" };
                l.mounts << l.at("album");
                l.skip = !QDir().mkpath(l.at("album"))
                    || QProcess::execute(
                           "mount", { "--bind", l.at("../data/Trash/files/Album"), l.at("album") })
                        != 0;
            } },
        SafetyCase { "PhoneTrashedCopyBesideTheLiveOne",
            [](Layout &l) {
                l.photo("DCIM/IMG_3.JPG", 23, { "DCIM/.trashed-1733000000-IMG_3.JPG" });
                l.age("DCIM/IMG_3.JPG", 24 * 365);
                l.untouched << "DCIM/IMG_3.JPG";
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

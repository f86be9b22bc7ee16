// The removal run on real files and the real Trash: what is removed, what the guards keep, what
// fails and stays marked, and Stop.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <tuple>

#include <QFile>

#include "app/LocalizedString.h"
#include "platform/AppFolders.h"
#include "platform/TextFormat.h"
#include "platform/Trash.h"
#include "removal/LocalTrashRoute.h"
#include "removal/RemovalFixture.h"
#include "removal/RemovalPlan.h"
#include "removal/RemovalRoutes.h"
#include "removal/RemovalRun.h"
#include "results/AfterTrashSummary.h"
#include "support/DeadMount.h"
#include "support/HeldShare.h"

using namespace RemovalFixture;

namespace
{

class RemovalRunTest : public ::testing::Test
{
protected:
    void SetUp() override { emptyTrash(); }

    void useProbes(LocalTrashRoute::Probes probes)
    {
        routes->setRoute(
            RemovalRoutes::Kind::ThisComputer, std::make_shared<LocalTrashRoute>(std::move(probes)));
    }

    // Runs a removal of what `state` shows to its end.
    void runToEnd()
    {
        run = std::make_unique<RemovalRun>(state, routes);
        ASSERT_TRUE(run->start());
        ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }));
    }

    Corpus corpus;
    ResultState state;
    std::shared_ptr<RemovalRoutes> routes = std::make_shared<RemovalRoutes>();
    std::unique_ptr<RemovalRun> run;
};

TEST_F(RemovalRunTest, TwoMarkedOfThreeIdenticalGoToTheTrashAndTheGroupGoes)
{
    const QByteArray same("same picture");
    auto a = corpus.file("keep.jpg", same), b = corpus.file("copy1.jpg", same),
         c = corpus.file("copy2.jpg", same);
    b->isMark = c->isMark = true;
    show(state, { groupOf({ a, b, c }) });
    runToEnd();
    EXPECT_EQ(trashedNames(), QStringList({ "copy1.jpg", "copy2.jpg" }));
    EXPECT_TRUE(corpus.exists("keep.jpg"));
    EXPECT_EQ(state.countTrashed, 2);
    EXPECT_EQ(state.sizeTrashed, 2u * same.size());
    EXPECT_TRUE(state.arrGroups.empty());
    EXPECT_EQ(state.deletedFileTypes, GlobalObjects::TypeSupport::ONLYIMAGES);
    EXPECT_EQ(run->summary().removed.size(), 2);
    EXPECT_TRUE(run->summary().failed.empty());
    EXPECT_FALSE(state.removalInProgress);
}

// Three equal photos and three equal videos under a file type; `marked` copies of that type go. A
// type left with nothing gives way to the groups of the other; one with groups left keeps them.
TEST_F(RemovalRunTest, AFileTypeLeftWithNothingGivesWayToTheGroupsThatRemain)
{
    using Type = GlobalObjects::TypeSupport;
    const std::tuple<Type, int, Type, QString> cases[] = { { Type::ONLYVIDEO, 2, Type::ALLFILES, "p0" },
        { Type::ONLYIMAGES, 2, Type::ALLFILES, "v0" }, { Type::ONLYVIDEO, 1, Type::ONLYVIDEO, "v0" } };
    for (const auto &[chosen, marked, after, shown] : cases) {
        std::vector<std::shared_ptr<ImageFileInfo>> photos, clips;
        for (int i = 0; i < 3; ++i) {
            photos.push_back(corpus.file(QStringLiteral("p%1").arg(i), "photo"));
            clips.push_back(corpus.file(QStringLiteral("v%1").arg(i), "clip"));
            clips.back()->isVideo = true;
            (chosen == Type::ONLYVIDEO ? clips : photos).back()->isMark = i > 0 && i <= marked;
        }
        show(state, { groupOf(photos), groupOf(clips) });
        state.typeSupport = chosen;
        state.applyLevel(0.0f);
        runToEnd();
        EXPECT_EQ(state.typeSupport, after);
        ASSERT_EQ(state.arrGroups.size(), 1u);
        EXPECT_EQ(state.arrGroups.front()->filterChildren.first()->fileName, shown);
        emptyTrash();
    }
}

// Each case: the files of one group, how they are linked and marked; what must stay on disk.
struct GuardCase {
    const char *name;
    std::function<std::vector<std::shared_ptr<ImageFileInfo>>(Corpus &)> make;
    QStringList removed;
    int skippedGroups;
    int failed;
    int skippedInTrash = 0; // groups whose only other copies lie in a Trash
};

class RemovalGuardTest : public RemovalRunTest, public ::testing::WithParamInterface<GuardCase>
{
};

TEST_P(RemovalGuardTest, KeepsACopyOfEveryShownGroup)
{
    const GuardCase &c = GetParam();
    const auto members = c.make(corpus);
    const auto onDisk = [](const ImageFileInfo &r) {
        return QFileInfo::exists(r.filePath) || QFileInfo(r.filePath).isSymLink();
    };
    std::vector<bool> before;
    for (const auto &member : members)
        before.push_back(onDisk(*member));
    show(state, { groupOf(members) });
    runToEnd();
    QStringList removed = run->summary().removed;
    for (QString &path : removed)
        path = QFileInfo(path).fileName();
    EXPECT_EQ(removed, c.removed);
    EXPECT_EQ(run->summary().skippedGroups, c.skippedGroups);
    EXPECT_EQ(int(run->summary().failed.size()), c.failed);
    EXPECT_EQ(state.countTrashed, c.removed.size());
    EXPECT_EQ(state.removalSkippedGroups, c.skippedGroups);
    EXPECT_EQ(state.removalSkippedInTrash, c.skippedInTrash);
    for (size_t i = 0; i < members.size(); ++i) {
        const ImageFileInfo &member = *members[i];
        if (c.removed.contains(member.fileName)) {
            EXPECT_FALSE(onDisk(member)) << qPrintable(member.fileName);
        } else if (!member.isTrashed) {
            EXPECT_EQ(onDisk(member), before[i]) << qPrintable(member.fileName);
        }
    }
}

std::shared_ptr<ImageFileInfo> marked(std::shared_ptr<ImageFileInfo> r)
{
    r->isMark = true;
    return r;
}

std::shared_ptr<ImageFileInfo> link(Corpus &corpus, const QString &target, const QString &name, bool hard)
{
    const QByteArray from = QFile::encodeName(corpus.path(target)), to = QFile::encodeName(corpus.path(name));
    EXPECT_EQ(hard ? ::link(from, to) : ::symlink(from, to), 0);
    return recordOf(corpus.path(name));
}

INSTANTIATE_TEST_SUITE_P(Removal, RemovalGuardTest,
    ::testing::Values(
        GuardCase { "LockedMarkedFileStays",
            [](Corpus &k) {
                auto locked = marked(k.file("locked.jpg", "p"));
                locked->isLocked = true;
                return std::vector { k.file("kept.jpg", "p"), marked(k.file("gone.jpg", "p")), locked };
            },
            { "gone.jpg" }, 0, 0 },
        GuardCase { "EveryShownMemberMarked",
            [](Corpus &k) {
                return std::vector { marked(k.file("m1.jpg", "p")), marked(k.file("m2.jpg", "p")) };
            },
            {}, 1, 0 },
        GuardCase { "SymlinkToTheKeptFile",
            [](Corpus &k) {
                return std::vector { k.file("real.jpg", "p"),
                    marked(link(k, "real.jpg", "alias.jpg", false)) };
            },
            {}, 1, 0 },
        GuardCase { "HardLinkToTheKeptFile",
            [](Corpus &k) {
                return std::vector { k.file("real.jpg", "p"), marked(link(k, "real.jpg", "hard.jpg", true)) };
            },
            {}, 1, 0 },
        GuardCase { "KeptFileDeletedAfterMarking",
            [](Corpus &k) {
                auto kept = k.file("vanished.jpg", "p");
                QFile::remove(kept->filePath);
                return std::vector { kept, marked(k.file("last.jpg", "p")) };
            },
            {}, 1, 0 },
        GuardCase { "TwoMarkedRecordsOfOneFileMoveItOnce",
            [](Corpus &k) {
                // Linked before the scan: a new link changes the file's change time.
                k.file("twin.jpg", "p");
                auto second = marked(link(k, "twin.jpg", "twin2.jpg", true));
                return std::vector { k.file("other.jpg", "p"), marked(recordOf(k.path("twin.jpg"))), second };
            },
            { "twin.jpg" }, 0, 0 },
        GuardCase { "LinkAndFileMarkedTheFileItselfIsMoved",
            [](Corpus &k) {
                auto file = k.file("target.jpg", "p");
                auto alias = marked(link(k, "target.jpg", "pointer.jpg", false));
                return std::vector { k.file("safe.jpg", "p"), alias, marked(file) };
            },
            { "target.jpg" }, 0, 0 },
        // A copy in a Trash goes when the Trash is emptied: it never stands as the one kept.
        GuardCase { "OnlyOtherCopyInAMacVolumeTrash",
            [](Corpus &k) {
                return std::vector { k.file(".Trashes/501/p.jpg", "p"), marked(k.file("DCIM/p.jpg", "p")) };
            },
            {}, 0, 0, 1 },
        GuardCase { "OnlyOtherCopyTrashedByAPhone",
            [](Corpus &k) {
                return std::vector { k.file("DCIM/.trashed-1733000000-p.jpg", "p"),
                    marked(k.file("DCIM/p.jpg", "p")) };
            },
            {}, 0, 0, 1 },
        GuardCase { "RelativePathIsRefused",
            [](Corpus &k) {
                auto relative = marked(k.file("relative.jpg", "p"));
                relative->filePath = QStringLiteral("relative.jpg");
                return std::vector { k.file("absolute.jpg", "p"), relative };
            },
            {}, 0, 1 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RemovalRunTest, BothRecordsOfAFileRemovedOnceLeaveTheirGroups)
{
    // Linked before either record is taken: a new link changes the file's change time.
    corpus.file("t.jpg", "p");
    auto hard = marked(link(corpus, "t.jpg", "t2.jpg", true));
    auto twin = marked(recordOf(corpus.path("t.jpg")));
    auto g1 = groupOf({ corpus.file("k1.jpg", "p"), twin, corpus.file("k3.jpg", "p") });
    auto g2 = groupOf({ corpus.file("k2.jpg", "p"), hard, corpus.file("k4.jpg", "p") });
    show(state, { g1, g2 });
    runToEnd();
    EXPECT_EQ(state.countTrashed, 1);
    EXPECT_TRUE(twin->isTrashed && hard->isTrashed);
    EXPECT_FALSE(g1->children.contains(twin));
    EXPECT_FALSE(g2->children.contains(hard));
}

TEST_F(RemovalRunTest, MarksLeftByAHigherLevelCannotEmptyTheShownGroup)
{
    auto kept = corpus.file("weak.jpg", "p");
    kept->match = 0.5f;
    auto b = marked(corpus.file("strong1.jpg", "p")), c = marked(corpus.file("strong2.jpg", "p"));
    show(state, { groupOf({ kept, b, c }) });
    state.applyLevel(0.9f);
    ASSERT_EQ(state.arrGroups.size(), 1u);
    runToEnd();
    EXPECT_EQ(state.countTrashed, 0);
    EXPECT_EQ(run->summary().skippedGroups, 1);
    EXPECT_TRUE(corpus.exists("strong1.jpg") && corpus.exists("strong2.jpg"));
    EXPECT_TRUE(b->isMark && c->isMark);
}

TEST_F(RemovalRunTest, AFileKeptInAnotherGroupIsNotRemoved)
{
    corpus.file("shared.jpg", "p");
    auto sameFileKept = link(corpus, "shared.jpg", "shared2.jpg", true);
    auto file = marked(recordOf(corpus.path("shared.jpg")));
    show(state,
        { groupOf({ corpus.file("x.jpg", "p"), file }),
            groupOf({ corpus.file("y.jpg", "p"), sameFileKept }) });
    runToEnd();
    EXPECT_TRUE(corpus.exists("shared.jpg"));
    EXPECT_EQ(state.countTrashed, 0);
    ASSERT_EQ(run->summary().failed.size(), 1u);
    EXPECT_TRUE(file->isMark);
}

// Changes made to a marked file between marking and its removal.
struct RecheckCase {
    const char *name;
    std::function<void(const QString &path)> change;
    bool immutable;
    bool trashFails;
    QString reason;
    const char *shownKey;
};

class RemovalRecheckTest : public RemovalRunTest, public ::testing::WithParamInterface<RecheckCase>
{
};

TEST_P(RemovalRecheckTest, FailsAndStaysMarked)
{
    const RecheckCase &c = GetParam();
    auto target = marked(corpus.file("target.jpg", "picture"));
    useProbes({ [&](const QString &path) { return c.immutable && path == target->filePath; },
        [&](const ImageFileInfo &r, const auto &keptLost, QString *why) {
            return !c.trashFails && LocalTrashRoute::moveChecked(r, keptLost, why);
        } });
    auto group = groupOf({ corpus.file("kept.jpg", "picture"), target });
    show(state, { group });
    c.change(target->filePath);
    runToEnd();
    Trash::setBeforeMove(nullptr);
    EXPECT_EQ(state.countTrashed, 0);
    EXPECT_EQ(state.sizeTrashed, 0u);
    EXPECT_TRUE(target->isMark);
    EXPECT_FALSE(target->isTrashed);
    EXPECT_TRUE(group->children.contains(target));
    ASSERT_EQ(run->summary().failed.size(), 1u);
    EXPECT_TRUE(run->summary().failed.front().reason.startsWith(c.reason));
    AfterTrashInput input;
    input.leftInPlace = state.removalLeftInPlace;
    const LeftInPlaceList left = AfterTrashSummary::leftInPlace(input);
    ASSERT_EQ(left.reasons.size(), 1u);
    EXPECT_TRUE(left.reasons.front().why.contains(localizedString(c.shownKey).section("%@", 0, 0)));
    EXPECT_EQ(state.removalFailedFiles, 1);
    EXPECT_TRUE(run->summary().removed.isEmpty());
    EXPECT_TRUE(trashedNames().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Removal, RemovalRecheckTest,
    ::testing::Values(
        RecheckCase { "Immutable", [](const QString &) {}, true, false, "immutable", "ID_NOT_MOVED_LOCKED" },
        RecheckCase { "Deleted", [](const QString &p) { QFile::remove(p); }, false, false, "no longer there",
            "ID_NOT_MOVED_GONE" },
        RecheckCase { "SizeChanged", [](const QString &p) { TestFiles::write(p, "a longer picture"); }, false,
            false, "changed since the scan (size)", "ID_NOT_MOVED_CHANGED_SINCE_SCAN" },
        RecheckCase { "ModifiedSameSize",
            [](const QString &p) {
                QFile f(p);
                ASSERT_TRUE(f.open(QIODevice::ReadWrite));
                f.setFileTime(
                    QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime);
            },
            false, false, "changed since the scan (modification time)", "ID_NOT_MOVED_CHANGED_SINCE_SCAN" },
        // One nanosecond off, within the millisecond a date keeps.
        RecheckCase { "ModifiedWithinTheMillisecond",
            [](const QString &p) {
                struct stat st = {};
                ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
                st.st_mtim.tv_nsec ^= 1;
                const timespec times[2] = { st.st_atim, st.st_mtim };
                ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), times, 0), 0);
            },
            false, false, "changed since the scan (modification time)", "ID_NOT_MOVED_CHANGED_SINCE_SCAN" },
        RecheckCase { "TrashFails", [](const QString &) {}, false, true, "the Trash refused it",
            "ID_NOT_MOVED_NO_REASON_GIVEN" },
        RecheckCase { "SwappedAtTheMove",
            [](const QString &) {
                Trash::setBeforeMove([](const QString &p) {
                    QFile::rename(p, p + ".aside") && TestFiles::write(p, "another");
                });
            },
            false, false, "the Trash refused it", "ID_NOT_MOVED_PUT_BACK" },
        RecheckCase { "KeptCopyGoneAtTheMove",
            [](const QString &) {
                Trash::setBeforeMove(
                    [](const QString &p) { QFile::remove(QFileInfo(p).dir().filePath("kept.jpg")); });
            },
            false, false, "the Trash refused it", "ID_NOT_MOVED_KEPT_COPY_WENT_WITH_IT" },
        // A home Trash others may write in is no Trash of ours, and its volume has no other.
        RecheckCase { "NoTrashOfOurs",
            [](const QString &) {
                QDir().mkpath(Trash::homeTrashFolder());
                ::chmod(QFile::encodeName(Trash::homeTrashFolder()).constData(), 0777);
            },
            false, false, "the Trash refused it", "ID_TRASH_NOT_YOURS_ALONE" }),
    [](const auto &info) { return std::string(info.param.name); });

// A file put back because the copy kept for it went with it or stopped answering at the move: the
// summary gives the reason the log gives.
TEST_F(RemovalRunTest, AFilePutBackForItsKeptCopyIsToldWhy)
{
    const std::pair<QString, const char *> rows[]
        = { { RemovalOutcome::keptCopyWentWithIt(), "ID_NOT_MOVED_KEPT_COPY_WENT_WITH_IT" },
              { RemovalOutcome::keptCopyNotAnswering(), "ID_NOT_MOVED_KEPT_COPY_NOT_ANSWERING_PUT_BACK" } };
    for (const auto &[lost, key] : rows) {
        const auto target = corpus.file(QStringLiteral("target.jpg"), "picture");
        QString why;
        EXPECT_FALSE(LocalTrashRoute::moveChecked(
            *target, [lost = lost] { return lost; }, &why));
        EXPECT_EQ(why, localizedString(key));
        EXPECT_TRUE(QFileInfo::exists(target->filePath));
    }
    EXPECT_TRUE(trashedNames().isEmpty());
}

// A move the last check refuses while another file has taken the name: what moved stays in the
// Trash, and the reason says so and where, not that it was left in place.
TEST_F(RemovalRunTest, AMoveThatCannotBePutBackTellsWhereTheFileLies)
{
    auto target = marked(corpus.file("target.jpg", "picture"));
    useProbes({ [](const QString &) { return false; },
        [&](const ImageFileInfo &r, const auto &, QString *why) {
            return LocalTrashRoute::moveChecked(
                r, [&] { return TestFiles::write(r.filePath, "newcomer") ? "kept copy gone" : ""; }, why);
        } });
    show(state, { groupOf({ corpus.file("kept.jpg", "picture"), target }) });
    runToEnd();
    ASSERT_EQ(trashedNames(), QStringList { "target.jpg" });
    ASSERT_EQ(run->summary().leftInPlace.size(), 1u);
    EXPECT_EQ(run->summary().leftInPlace.front().second.toStdString(),
        formatText(localizedString("ID_NOT_PUT_BACK_LIES_IN_TRASH"),
            Trash::homeTrashFolder() + QStringLiteral("/files/target.jpg"))
            .toStdString());
}

// A file its route finds moved or deleted elsewhere since the scan: reported not removed, it stays
// in its group, unmarked, and nothing is counted freed.
TEST_F(RemovalRunTest, AFileNoLongerThereStaysInItsGroupUnmarked)
{
    struct GoneRoute : RemovalRoute {
        QString identity(const ImageFileInfo &record) const override { return record.filePath; }
        RemovalOutcome remove(const std::shared_ptr<ImageFileInfo> &, const std::atomic<bool> &) override
        {
            return RemovalOutcome::gone(QStringLiteral("no longer there"));
        }
    };
    routes->setRoute(RemovalRoutes::Kind::ThisComputer, std::make_shared<GoneRoute>());
    auto copy = marked(corpus.file("copy.jpg", "p"));
    auto group = groupOf({ corpus.file("keep.jpg", "p"), copy });
    show(state, { group });
    runToEnd();
    EXPECT_EQ(run->summary().failed.size(), 1u);
    EXPECT_TRUE(group->children.contains(copy));
    EXPECT_FALSE(copy->isMark);
    EXPECT_EQ(state.countMarked + state.countTrashed, 0);
}

TEST_F(RemovalRunTest, StopAfterTheFirstFileRemovesExactlyOne)
{
    std::vector<std::shared_ptr<ImageFileInfo>> members { corpus.file("keeper.jpg", "p") };
    for (int i = 0; i < 5; ++i)
        members.push_back(marked(corpus.file(QStringLiteral("s%1.jpg").arg(i), "p")));
    show(state, { groupOf(members) });
    int moved = 0;
    useProbes({ [](const QString &) { return false; },
        [&](const ImageFileInfo &r, const std::function<QString()> &keptLost, QString *) {
            if (!Trash::moveToTrash(r.filePath))
                return false;
            // The stop comes while the move is being checked: the check still answers, and the
            // file stays moved.
            if (++moved == 1)
                run->requestStop();
            return keptLost().isEmpty();
        } });
    runToEnd();
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(state.countTrashed, 1);
    EXPECT_EQ(trashedNames().size(), 1);
    EXPECT_TRUE(run->summary().stopped);
    EXPECT_TRUE(run->summary().failed.empty());
    // The group keeps its other marked files, still marked, and the summary tells them not reached.
    EXPECT_EQ(state.countMarked, 4);
    EXPECT_TRUE(state.removalStopped);
    EXPECT_EQ(state.removalNotReached, 4);
}

TEST_F(RemovalRunTest, ASecondStartIsRefusedWhileRunning)
{
    show(state, { groupOf({ corpus.file("a.jpg", "p"), marked(corpus.file("b.jpg", "p")) }) });
    run = std::make_unique<RemovalRun>(state, routes);
    ASSERT_TRUE(run->start());
    RemovalRun second(state, routes);
    EXPECT_FALSE(run->start());
    EXPECT_FALSE(second.start());
    ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }));
}

TEST(RemovalRoutes, PickedFromTheScanSourceAndTheRecord)
{
    ImageFileInfo file, item;
    item.isPhotosNode = true;
    using Kind = RemovalRoutes::Kind;
    EXPECT_EQ(RemovalRoutes::kindFor(ScanSource::thisComputer, file), Kind::ThisComputer);
    EXPECT_EQ(RemovalRoutes::kindFor(ScanSource::thisComputer, item), Kind::LibraryAlbum);
    EXPECT_EQ(RemovalRoutes::kindFor(ScanSource::googleDrive, file), Kind::GoogleDrive);
    EXPECT_EQ(RemovalRoutes::kindFor(ScanSource::dropbox, file), Kind::Dropbox);
    RemovalRoutes routes;
    EXPECT_TRUE(routes.routeFor(ScanSource::thisComputer, file));
    EXPECT_FALSE(routes.routeFor(ScanSource::dropbox, file));
}

TEST_F(RemovalRunTest, FilesOfASourceWithoutARouteAreNotRemoved)
{
    auto dropboxFile = marked(corpus.file("cloud.jpg", "p"));
    state.scanSource = ScanSource::dropbox;
    show(state, { groupOf({ corpus.file("cloud0.jpg", "p"), dropboxFile }) });
    runToEnd();
    EXPECT_TRUE(corpus.exists("cloud.jpg"));
    EXPECT_EQ(run->summary().failed.size(), 1u);
}

// The kept or the marked copy lies on a share that stops answering before the plan or at the move:
// the marked copy stays, the summary says why, and a group beside the share still loses its marked
// copy (each case runs beside a silent share in a process of its own).
using DeadShareRow = std::tuple<bool, bool>;

std::string deadShareRowName(const ::testing::TestParamInfo<DeadShareRow> &info)
{
    const auto [kept, atTheMove] = info.param;
    return std::string(kept ? "Kept" : "Marked") + (atTheMove ? "AtTheMove" : "BeforeThePlan");
}

class RemovalDeadShareTest : public RemovalRunTest, public ::testing::WithParamInterface<DeadShareRow>
{
};

TEST_P(RemovalDeadShareTest, TheMarkedCopyStaysWhenItOrItsKeptCopyDoesNotAnswer)
{
    DeadMount::expectPassesBeside(
        ("*RemovalDeadShareInside.*/" + deadShareRowName({ GetParam(), 0 })).c_str());
}

INSTANTIATE_TEST_SUITE_P(Removal, RemovalDeadShareTest,
    ::testing::Combine(::testing::Bool(), ::testing::Bool()), deadShareRowName);

class RemovalDeadShareInside : public RemovalDeadShareTest
{
};

TEST_P(RemovalDeadShareInside, SilentBeforeThePlanOrAtTheMove)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const auto [keptOnTheShare, atTheMove] = GetParam();
    const QString share = corpus.path("nas");
    ASSERT_TRUE(QDir().mkpath(share));
    auto copy = marked(corpus.file(keptOnTheShare ? "K_copy.jpg" : "nas/K_copy.jpg", "picture"));
    auto beside = marked(corpus.file("L_copy.jpg", "other"));
    show(state,
        { groupOf({ corpus.file(keptOnTheShare ? "nas/K.jpg" : "K.jpg", "picture"), copy }),
            groupOf({ corpus.file("L.jpg", "other"), beside }) });
    run = std::make_unique<RemovalRun>(state, routes);
    if (atTheMove) {
        // Mounted once, after the run read its mount table and before the first file's checks.
        run->setBeforeEachFile([share, silenced = false](const QString &) mutable {
            EXPECT_TRUE(std::exchange(silenced, true) || DeadMount::silence(share));
        });
    } else {
        ASSERT_TRUE(DeadMount::silence(share));
    }
    ASSERT_TRUE(run->start());
    ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }, 30000));
    EXPECT_FALSE(run->summary().stopped);
    EXPECT_TRUE(copy->isMark);
    EXPECT_FALSE(QFileInfo::exists(beside->filePath));
    EXPECT_EQ(trashedNames(), QStringList { "L_copy.jpg" });
    const auto &left = run->summary().leftInPlace;
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.front(),
        std::make_pair(copy->filePath,
            localizedString(
                keptOnTheShare ? "ID_NOT_MOVED_KEPT_COPY_NOT_ANSWERING" : "ID_NOT_MOVED_NOT_ANSWERING")));
    // The look left behind wakes once the share's server goes, touching nothing freed.
    EXPECT_TRUE(DeadMount::endServerAndWait(DeadMount::threadsWaiting(), 30000));
    EXPECT_TRUE(QFileInfo::exists(copy->filePath));
}

INSTANTIATE_TEST_SUITE_P(Removal, RemovalDeadShareInside,
    ::testing::Combine(::testing::Bool(), ::testing::Bool()), deadShareRowName);

// A marked file whose share stops answering as it is about to move: Stop ends the run all the same,
// leaving the move behind.
TEST(RemovalDeadShareStop, StopEndsTheRunWhileAMoveWaits)
{
    DeadMount::expectPassesBeside("RemovalRunTest.StopEndsTheRunWhileAMoveWaitsInside");
}

TEST_F(RemovalRunTest, StopEndsTheRunWhileAMoveWaitsInside)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const QString share = corpus.path("nas");
    ASSERT_TRUE(QDir().mkpath(share));
    show(state,
        { groupOf({ corpus.file("K.jpg", "picture"), marked(corpus.file("nas/K_copy.jpg", "picture")) }) });
    // Silent once the file's checks have answered, as the move begins.
    useProbes({ [](const QString &) { return false; },
        [share](const ImageFileInfo &record, const std::function<QString()> &keptLost, QString *why) {
            EXPECT_TRUE(DeadMount::silence(share));
            return LocalTrashRoute::moveChecked(record, keptLost, why);
        } });
    run = std::make_unique<RemovalRun>(state, routes);
    ASSERT_TRUE(run->start());
    ASSERT_TRUE(waitUntil([] { return !DeadMount::threadsWaiting().isEmpty(); }, 30000));
    run->requestStop();
    ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }, 30000));
    EXPECT_TRUE(run->summary().stopped);
    EXPECT_EQ(run->summary().notReached, 0);
    EXPECT_EQ(run->summary().underWay.size(), 1u);
    EXPECT_TRUE(run->summary().removed.isEmpty());
    run.reset();
    DeadMount::endServerAndWait({}, 0);
}

// Marked copies on a share that answers every look but holds every change, their kept copies here:
// Stop ends the run while the first move waits, the summary says that file may still go to the
// share's Trash and names no other, and the log tells the move once the share lets it go.
TEST(RemovalHeldShareStop, AMoveUnderWayAtTheStopIsToldAndLoggedWhenItEnds)
{
    DeadMount::expectPassesBeside("RemovalRunTest.AMoveUnderWayAtTheStopInside");
}

TEST_F(RemovalRunTest, AMoveUnderWayAtTheStopInside)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const QString disk = corpus.path("disk"), nas = corpus.path("nas");
    ASSERT_TRUE(QDir().mkpath(disk) && QDir().mkpath(nas));
    HeldShare share(disk, nas);
    ASSERT_TRUE(share.isMounted());
    const QStringList names { "S1.jpg", "S2.jpg", "S3.jpg" };
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    for (const QString &name : names)
        groups.push_back(
            groupOf({ corpus.file(name, name.toUtf8()), marked(corpus.file("nas/" + name, name.toUtf8())) }));
    show(state, groups);
    share.hold();
    run = std::make_unique<RemovalRun>(state, routes);
    ASSERT_TRUE(run->start());
    ASSERT_TRUE(waitUntil([&share] { return share.held() > 0; }, 30000));
    run->requestStop();
    ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }, 30000));
    const QString moving = nas + "/S1.jpg";
    EXPECT_TRUE(run->summary().stopped);
    EXPECT_TRUE(run->summary().removed.isEmpty());
    EXPECT_EQ(run->summary().notReached, 2);
    EXPECT_EQ(run->summary().underWay,
        (std::vector {
            std::pair(moving, formatText(localizedString("ID_MAY_STILL_BE_MOVED_TO_THE_TRASH_OF"), nas)) }));
    for (const QString &name : names)
        EXPECT_TRUE(QFileInfo::exists(disk + '/' + name)) << qPrintable(name);
    share.release();
    ASSERT_TRUE(waitUntil(
        [&moving] {
            return TestFiles::read(AppFolders::logFilePath())
                .contains(("After the removal had stopped, removed: " + moving).toUtf8());
        },
        30000));
    const QString trash = disk + QStringLiteral("/.Trash-%1").arg(::getuid());
    EXPECT_TRUE(
        QFileInfo::exists(trash + "/files/S1.jpg") && QFileInfo::exists(trash + "/info/S1.jpg.trashinfo"));
    EXPECT_TRUE(QFileInfo::exists(disk + "/S2.jpg") && QFileInfo::exists(disk + "/S3.jpg"));
}

// The home Trash lies on a share that stops answering: the run ends by itself, the marked file stays
// in place, and the summary says the Trash does not answer.
TEST(RemovalDeadTrash, TheMarkedFileStaysWhenTheHomeTrashDoesNotAnswer)
{
    DeadMount::expectPassesBeside("RemovalRunTest.TheHomeTrashDoesNotAnswerInside");
}

TEST_F(RemovalRunTest, TheHomeTrashDoesNotAnswerInside)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    ASSERT_TRUE(QDir().mkpath(Trash::homeTrashFolder()));
    ASSERT_TRUE(DeadMount::silence(Trash::homeTrashFolder()));
    const std::vector<std::shared_ptr<ImageFileInfo>> copies
        = { marked(corpus.file("K_copy.jpg", "picture")), marked(corpus.file("K_copy2.jpg", "picture")) };
    show(state, { groupOf({ corpus.file("K.jpg", "picture"), copies[0], copies[1] }) });
    run = std::make_unique<RemovalRun>(state, routes);
    ASSERT_TRUE(run->start());
    ASSERT_TRUE(waitUntil([this] { return !run->isRunning(); }, 30000));
    EXPECT_FALSE(run->summary().stopped);
    EXPECT_TRUE(run->summary().removed.isEmpty());
    const QString why = formatText(
        localizedString(QStringLiteral("ID_NOT_MOVED_TRASH_NOT_ANSWERING")), Trash::homeTrashFolder());
    for (const auto &copy : copies) {
        EXPECT_TRUE(QFileInfo::exists(copy->filePath));
        EXPECT_NE(std::find(run->summary().leftInPlace.begin(), run->summary().leftInPlace.end(),
                      std::make_pair(copy->filePath, why)),
            run->summary().leftInPlace.end())
            << copy->filePath.toStdString();
    }
    run.reset();
    EXPECT_TRUE(DeadMount::endServerAndWait(DeadMount::threadsWaiting(), 30000));
}

} // namespace

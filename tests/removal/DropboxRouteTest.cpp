// Removal of Dropbox files through their route, against a fake account on 127.0.0.1.
#include <gtest/gtest.h>

#include <thread>

#include <QFile>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "cloud/DropboxTestSupport.h"
#include "model/DuplicatesGroup.h"
#include "removal/DropboxRoute.h"
#include "removal/RemovalFixture.h"
#include "removal/RemovalRoutes.h"
#include "removal/RemovalRun.h"
#include "results/ResultState.h"

namespace
{

struct RouteCase {
    const char *name;
    bool changedElsewhere;
    bool removedElsewhere;
    RemovalOutcome::Kind outcome;
    bool existsAfter;
    // The listed tree is stale and the record has no use for its copy any more.
    bool treeStale;
};

class DropboxRouteCases : public testing::TestWithParam<RouteCase>
{
};

} // namespace

TEST_P(DropboxRouteCases, DeletesOnlyTheListedRevisionAndFlagsTheTreeForARebuild)
{
    const RouteCase c = GetParam();
    DropboxFixture f;
    const QString id = f.account.addFile(QStringLiteral("/A/a.jpg"), QByteArray(2048, 'a'));
    ASSERT_TRUE(f.scan({ dropboxFolder(QStringLiteral("Dropbox/A")) }));
    ASSERT_EQ(f.delegate.records.size(), 1);
    const std::shared_ptr<ImageFileInfo> record = f.delegate.records.first();
    QTemporaryDir dir;
    record->localThumbPath = dir.filePath(QStringLiteral("1_a.jpg"));
    QFile copy(record->localThumbPath);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.close();
    if (c.changedElsewhere)
        f.account.touch(QStringLiteral("/A/a.jpg"));
    if (c.removedElsewhere)
        f.account.remove(QStringLiteral("/A/a.jpg"));

    // The handler is shared with the results window; the fixture keeps it alive.
    std::shared_ptr<ScanWrapper> source(f.handler.get(), [](ScanWrapper *) {});
    DropboxRoute route([source] { return source; });
    EXPECT_EQ(route.identity(*record), id);
    std::atomic<bool> stop { false };
    RemovalOutcome outcome;
    std::thread([&] { outcome = route.remove(record, stop); }).join();

    EXPECT_EQ(outcome.kind, c.outcome);
    EXPECT_EQ(f.account.exists(QStringLiteral("/A/a.jpg")), c.existsAfter);
    EXPECT_EQ(f.handler->isFileDeletedFromCloudDrive.load(), c.treeStale);
    EXPECT_EQ(QFile::exists(record->localThumbPath), c.outcome != RemovalOutcome::Kind::Removed);
}

INSTANTIATE_TEST_SUITE_P(Cases, DropboxRouteCases,
    testing::Values(RouteCase { "unchanged", false, false, RemovalOutcome::Kind::Removed, false, true },
        RouteCase { "changedSinceTheScan", true, false, RemovalOutcome::Kind::Failed, true, false },
        RouteCase { "goneSinceTheScan", false, true, RemovalOutcome::Kind::Gone, false, true }),
    [](const testing::TestParamInfo<RouteCase> &info) { return std::string(info.param.name); });

// A marked copy moved away from another device between the scan and the removal: the run reports
// it not removed, as no longer there, and it stays in its group, unmarked and not counted freed.
TEST(DropboxRemoval, AFileNoLongerThereStaysInItsGroupUnmarkedAndIsNotCountedFreed)
{
    DropboxFixture f;
    f.account.addFile(QStringLiteral("/A/keep.jpg"), QByteArray(2048, 'a'));
    f.account.addFile(QStringLiteral("/A/copy.jpg"), QByteArray(2048, 'a'));
    ASSERT_TRUE(f.scan({ dropboxFolder(QStringLiteral("Dropbox/A")) }));
    ASSERT_EQ(f.delegate.records.size(), 2);
    const std::shared_ptr<ImageFileInfo> copy = f.delegate.records.last();
    copy->isMark = true;
    const std::shared_ptr<DuplicatesGroup> group
        = RemovalFixture::groupOf({ f.delegate.records.first(), copy });
    ResultState state;
    state.scanSource = ScanSource::dropbox;
    RemovalFixture::show(state, { group });
    f.account.remove(QStringLiteral("/A/copy.jpg"));
    std::shared_ptr<ScanWrapper> source(f.handler.get(), [](ScanWrapper *) {});
    auto routes = std::make_shared<RemovalRoutes>();
    routes->setRoute(
        RemovalRoutes::Kind::Dropbox, std::make_shared<DropboxRoute>([source] { return source; }));

    RemovalRun run(state, routes);
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(RemovalFixture::waitUntil([&] { return !run.isRunning(); }));

    EXPECT_TRUE(run.summary().removed.isEmpty());
    ASSERT_EQ(run.summary().failed.size(), 1u);
    EXPECT_EQ(run.summary().failed.front().reason,
        localizedString(QStringLiteral("ID_CLOUD_FILE_NO_LONGER_THERE")));
    EXPECT_TRUE(group->children.contains(copy));
    EXPECT_FALSE(copy->isMark);
    EXPECT_EQ(state.countMarked, 0);
    EXPECT_EQ(state.countTrashed, 0);
    EXPECT_EQ(state.sizeTrashed, 0u);
}

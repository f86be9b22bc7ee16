// Removal of Dropbox files through their route, against a fake account on 127.0.0.1.
#include <gtest/gtest.h>

#include <thread>

#include <QFile>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "cloud/DropboxTestSupport.h"
#include "removal/DropboxRoute.h"

namespace
{

struct RouteCase {
    const char *name;
    bool changedElsewhere;
    RemovalOutcome::Kind outcome;
    bool existsAfter;
    // What the summary says of a file left in place.
    const char *shownKey = "";
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

    // The handler is shared with the results window; the fixture keeps it alive.
    std::shared_ptr<ScanWrapper> source(f.handler.get(), [](ScanWrapper *) {});
    DropboxRoute route([source] { return source; });
    EXPECT_EQ(route.identity(*record), id);
    std::atomic<bool> stop { false };
    RemovalOutcome outcome;
    std::thread([&] { outcome = route.remove(record, stop); }).join();

    EXPECT_EQ(outcome.kind, c.outcome);
    EXPECT_EQ(outcome.shown, *c.shownKey ? localizedString(QString::fromLatin1(c.shownKey)) : QString());
    EXPECT_EQ(f.account.exists(QStringLiteral("/A/a.jpg")), c.existsAfter);
    EXPECT_EQ(f.handler->isFileDeletedFromCloudDrive.load(), !c.existsAfter);
    EXPECT_EQ(QFile::exists(record->localThumbPath), c.existsAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, DropboxRouteCases,
    testing::Values(RouteCase { "unchanged", false, RemovalOutcome::Kind::Removed, false },
        RouteCase { "changedSinceTheScan", true, RemovalOutcome::Kind::Failed, true,
            "ID_NOT_REMOVED_CHANGED_IN_DROPBOX" }),
    [](const testing::TestParamInfo<RouteCase> &info) { return std::string(info.param.name); });

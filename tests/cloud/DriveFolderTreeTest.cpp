// The lazy "My Drive" tree against a fake Drive on 127.0.0.1: triangles, one redraw per burst of
// answers, sub-folder pages followed to the end, failures that still end the busy state, paths
// through each folder's own parent, and identifiers that need escaping.
#include <gtest/gtest.h>

#include "cloud/DriveFolderTree.h"
#include "cloud/DriveService.h"
#include "cloud/FakeDrive.h"
#include "support/FakeHttpServer.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;

struct TreeRig {
    explicit TreeRig(int timeoutMs = 5000)
        : drive(server)
        , service(FakeDrive::serviceSettings(server, timeoutMs, true))
        , tree(service, rootId)
    {
        tree.setCallbacks({ [this] { ++reloads; }, [this](bool finished) { idle = finished; } });
    }
    bool settle()
    {
        return TestEvents::waitFor([this] { return idle && tree.recusiveCount() == 0; }, kWaitMs);
    }
    bool load()
    {
        tree.loadRootDriveFolders();
        return settle();
    }
    std::shared_ptr<GDFoldersList> child(const std::shared_ptr<GDFoldersList> &node, const QString &name)
    {
        for (const auto &c : node->children())
            if (c->folderName() == name)
                return c;
        return nullptr;
    }

    FakeHttpServer server;
    FakeDrive drive;
    DriveService service;
    QString rootId;
    DriveFolderTree tree;
    int reloads = 0;
    bool idle = false;
};

} // namespace

TEST(DriveFolderTree, AnEmptyRootKeepsItsTriangleAndLearnsNothingOfTheRootId)
{
    TreeRig rig;
    ASSERT_TRUE(rig.load());
    ASSERT_TRUE(rig.tree.root());
    EXPECT_EQ(rig.tree.root()->folderAbsPath(), QStringLiteral("My Drive"));
    EXPECT_TRUE(rig.tree.root()->children().isEmpty());
    EXPECT_TRUE(rig.tree.root()->isExpandable());
    EXPECT_EQ(rig.reloads, 1);
    const RecordedRequest request = rig.server.requests().first();
    EXPECT_EQ(request.queryValue(QStringLiteral("q")),
        QStringLiteral(
            "trashed=false and mimeType='application/vnd.google-apps.folder' and 'root' in parents"));
    EXPECT_EQ(
        request.queryValue(QStringLiteral("fields")), QString::fromLatin1(DriveFolderTree::kFolderFields));
}

TEST(DriveFolderTree, ALeafLosesItsTriangleAndTwoQuickExpansionsRedrawOnce)
{
    TreeRig rig;
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("b"), QStringLiteral("B"));
    rig.drive.addFolder(QStringLiteral("a"), QStringLiteral("a1"), QStringLiteral("A1"));
    ASSERT_TRUE(rig.load());
    EXPECT_EQ(rig.rootId, rig.drive.rootId);
    const auto a = rig.child(rig.tree.root(), QStringLiteral("A"));
    const auto b = rig.child(rig.tree.root(), QStringLiteral("B"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->folderAbsPath(), QStringLiteral("My Drive/A"));

    rig.idle = false;
    rig.tree.expand(a);
    rig.tree.expand(b);
    EXPECT_EQ(rig.tree.recusiveCount(), 2);
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.reloads, 2);
    EXPECT_FALSE(b->isExpandable());
    EXPECT_TRUE(a->isExpandable());
    ASSERT_EQ(a->children().size(), 1);
    EXPECT_EQ(a->children().first()->folderAbsPath(), QStringLiteral("My Drive/A/A1"));
}

TEST(DriveFolderTree, SubFolderPagesAreFollowedUntilTheLastIncludingEmptyOnes)
{
    TreeRig rig;
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    for (int i = 0; i < 250; ++i)
        rig.drive.addFolder(QStringLiteral("a"), QStringLiteral("s%1").arg(i), QStringLiteral("S%1").arg(i));
    rig.drive.addEmptyPagesBefore(QStringLiteral("a"), 1);
    ASSERT_TRUE(rig.load());
    const auto a = rig.child(rig.tree.root(), QStringLiteral("A"));
    rig.idle = false;
    rig.tree.expand(a);
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(a->children().size(), 250);
    EXPECT_EQ(a->children().last()->folderName(), QStringLiteral("S249"));
    EXPECT_EQ(rig.reloads, 2);
    EXPECT_EQ(rig.server.hits(QStringLiteral("/drive/v3/files")), 1 + 4);
}

TEST(DriveFolderTree, SameNamesUnderTwoParentsGetTheirOwnPathsAndQuotesAreEscaped)
{
    TreeRig rig;
    const QString odd = QStringLiteral("it's\\odd");
    rig.drive.addFolder(QStringLiteral("root"), odd, QStringLiteral("A"));
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("b"), QStringLiteral("B"));
    rig.drive.addFolder(odd, QStringLiteral("x1"), QStringLiteral("X"));
    rig.drive.addFolder(QStringLiteral("b"), QStringLiteral("x2"), QStringLiteral("X"));
    ASSERT_TRUE(rig.load());
    const auto a = rig.child(rig.tree.root(), QStringLiteral("A"));
    const auto b = rig.child(rig.tree.root(), QStringLiteral("B"));
    rig.idle = false;
    rig.tree.expand(a);
    rig.tree.expand(b);
    ASSERT_TRUE(rig.settle());
    ASSERT_EQ(a->children().size(), 1);
    ASSERT_EQ(b->children().size(), 1);
    EXPECT_EQ(a->children().first()->folderAbsPath(), QStringLiteral("My Drive/A/X"));
    EXPECT_EQ(b->children().first()->folderAbsPath(), QStringLiteral("My Drive/B/X"));
    bool escaped = false;
    for (const RecordedRequest &request : rig.server.requests())
        escaped
            |= request.queryValue(QStringLiteral("q")).contains(QStringLiteral("'it\\'s\\\\odd' in parents"));
    EXPECT_TRUE(escaped);
}

class FailingFolderQuery : public testing::TestWithParam<int>
{
};

TEST_P(FailingFolderQuery, StillCountsAsAnsweredAndEndsTheBusyState)
{
    TreeRig rig(300);
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    ASSERT_TRUE(rig.load());
    const auto a = rig.child(rig.tree.root(), QStringLiteral("A"));
    const FakeResponse answers[] = { FakeResponse::json(500, "{}"), FakeResponse::silence(),
        FakeResponse::json(200, R"({"kind":"drive#about"})") };
    rig.drive.failFolder(QStringLiteral("a"), answers[GetParam()]);
    rig.idle = false;
    rig.tree.expand(a);
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.reloads, 2);
    EXPECT_TRUE(a->children().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ErrorTimeoutOrNoList, FailingFolderQuery, testing::Values(0, 1, 2));

TEST(DriveFolderTree, ARefreshIgnoresTheAnswersOfTheDroppedTree)
{
    TreeRig rig;
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    rig.tree.loadRootDriveFolders();
    const auto first = rig.tree.root();
    rig.tree.refresh();
    ASSERT_TRUE(rig.settle());
    EXPECT_NE(rig.tree.root(), first);
    EXPECT_TRUE(first->children().isEmpty());
    EXPECT_EQ(rig.tree.root()->children().size(), 1);
}

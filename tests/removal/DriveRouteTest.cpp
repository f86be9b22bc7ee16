// The Drive trash route against a fake Drive on 127.0.0.1: the exact update it sends, refusals,
// records it cannot name, and a silent server that must not hold the removal run.
#include <gtest/gtest.h>

#include <thread>

#include "cloud/DriveService.h"
#include "cloud/FakeDrive.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"
#include "removal/DriveRoute.h"
#include "support/FakeHttpServer.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;

std::shared_ptr<ImageFileInfo> driveRecord(const QString &id)
{
    auto file = std::make_shared<DriveFile>();
    if (!id.isEmpty())
        file->identifier = id;
    file->name = QStringLiteral("x.jpg");
    auto node = std::make_shared<GDFoldersList>();
    node->setDriveFile(file);
    auto record = std::make_shared<ImageFileInfo>();
    record->dFolderList = node;
    return record;
}

struct TrashRig {
    TrashRig()
        : service(FakeDrive::serviceSettings(server))
    {
    }
    // Removes from a pool thread, as the removal run does, while the GUI thread keeps serving.
    RemovalOutcome remove(DriveRoute &route, const std::shared_ptr<ImageFileInfo> &record)
    {
        RemovalOutcome outcome;
        std::atomic<bool> done { false };
        std::atomic<bool> stop { false };
        std::thread worker([&] {
            outcome = route.remove(record, stop);
            done = true;
        });
        EXPECT_TRUE(TestEvents::waitFor([&] { return done.load(); }, kWaitMs));
        worker.join();
        return outcome;
    }

    FakeHttpServer server;
    DriveService service;
};

} // namespace

TEST(DriveRoute, TheUpdateCarriesOnlyTrashedAndSucceeds)
{
    TrashRig rig;
    rig.server.script(
        "PATCH", QStringLiteral("/drive/v3/files/id-1"), { FakeResponse::json(200, R"({"id":"id-1"})") });
    DriveRoute route(&rig.service);
    EXPECT_EQ(route.identity(*driveRecord(QStringLiteral("id-1"))), QStringLiteral("id-1"));
    EXPECT_EQ(rig.remove(route, driveRecord(QStringLiteral("id-1"))).kind, RemovalOutcome::Kind::Removed);
    const QList<RecordedRequest> requests = rig.server.requests(QStringLiteral("/drive/v3/files/id-1"));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().body, QByteArray(R"({"trashed":true})"));
    EXPECT_EQ(requests.first().header("Content-Type"), QByteArray("application/json"));
}

TEST(DriveRoute, ARefusalNoIdentifierOrNoServiceFails)
{
    TrashRig rig;
    rig.server.script("PATCH", QStringLiteral("/drive/v3/files/gone"), { FakeResponse::json(404, "{}") });
    DriveRoute route(&rig.service);
    EXPECT_EQ(rig.remove(route, driveRecord(QStringLiteral("gone"))).kind, RemovalOutcome::Kind::Failed);
    EXPECT_EQ(rig.remove(route, driveRecord(QString())).kind, RemovalOutcome::Kind::Failed);
    DriveRoute orphan(nullptr);
    EXPECT_EQ(rig.remove(orphan, driveRecord(QStringLiteral("id-2"))).kind, RemovalOutcome::Kind::Failed);
    EXPECT_EQ(rig.server.totalHits(), 1);
}

TEST(DriveRoute, ASilentServerFailsWithinTheTimeout)
{
    TrashRig rig;
    rig.server.script("PATCH", QStringLiteral("/drive/v3/files/slow"), { FakeResponse::silence() });
    DriveRoute route(&rig.service, 300);
    EXPECT_EQ(rig.remove(route, driveRecord(QStringLiteral("slow"))).kind, RemovalOutcome::Kind::Failed);
    // On the GUI thread the wait is refused at once rather than freezing the window.
    EXPECT_FALSE(DriveTrash::trashGoogleDriveFiles(&rig.service, driveRecord(QStringLiteral("slow")), 300));
}

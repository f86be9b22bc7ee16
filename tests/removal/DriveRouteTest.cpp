// The Drive trash route against a fake Drive on 127.0.0.1: the exact update it sends, refusals,
// records it cannot name, and a silent server that must not hold the removal run.
#include <gtest/gtest.h>

#include <thread>

#include <QFile>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
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
    RemovalOutcome remove(DriveRoute &route, const std::shared_ptr<ImageFileInfo> &record, bool stopAtOnce = false)
    {
        RemovalOutcome outcome;
        std::atomic<bool> done { false };
        std::atomic<bool> stop { stopAtOnce };
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

// A refusal for want of permission says so; a rate limit on the same status is no such refusal.
TEST(DriveRoute, ARefusalForWantOfPermissionIsToldAsSuch)
{
    TrashRig rig;
    rig.server.script("PATCH", QStringLiteral("/drive/v3/files/theirs"),
        { FakeResponse::json(403,
            R"({"error":{"code":403,"message":"The user does not have sufficient permissions for this file.",)"
            R"("errors":[{"reason":"insufficientFilePermissions"}]}})") });
    DriveRoute route(&rig.service);
    const RemovalOutcome outcome = rig.remove(route, driveRecord(QStringLiteral("theirs")));
    EXPECT_EQ(outcome.kind, RemovalOutcome::Kind::Failed);
    EXPECT_EQ(outcome.shown, localizedString(QStringLiteral("ID_NOT_REMOVED_NO_DRIVE_PERMISSION")));
    HttpResponse limited;
    limited.failure = HttpResponse::Failure::status;
    limited.status = 403;
    limited.body = R"({"error":{"errors":[{"reason":"userRateLimitExceeded"}]}})";
    DriveTrash::Answer answer = DriveTrash::Answer::unknown;
    DriveTrash::googleDriveTrashCompletion(DriveFile(), limited, [&](DriveTrash::Answer a) { answer = a; });
    EXPECT_EQ(answer, DriveTrash::Answer::refused);
}

TEST(DriveRoute, ASilentServerFailsWithinTheTimeout)
{
    TrashRig rig;
    rig.server.script("PATCH", QStringLiteral("/drive/v3/files/slow"), { FakeResponse::silence() });
    DriveRoute route(&rig.service, 300);
    EXPECT_EQ(rig.remove(route, driveRecord(QStringLiteral("slow"))).kind, RemovalOutcome::Kind::Failed);
    // On the GUI thread the wait is refused at once rather than freezing the window.
    EXPECT_EQ(DriveTrash::trashGoogleDriveFiles(&rig.service, driveRecord(QStringLiteral("slow")), 300),
        DriveTrash::Answer::refused);
}

// An update whose outcome is uncertain (server error, no answer, Stop while waiting) is settled by
// asking the file's "trashed" state; only a trashed file counts, and its downloaded copy goes.
struct UncertainCase {
    FakeResponse update;
    bool trashedOnServer;
    bool stop;
    RemovalOutcome::Kind expected;
};

class DriveTrashUncertain : public testing::TestWithParam<UncertainCase>
{
};

TEST_P(DriveTrashUncertain, TheFilesStateDecides)
{
    const UncertainCase &c = GetParam();
    TrashRig rig;
    rig.server.script("PATCH", QStringLiteral("/drive/v3/files/f"), { c.update });
    rig.server.script("GET", QStringLiteral("/drive/v3/files/f"),
        { FakeResponse::json(200, c.trashedOnServer ? R"({"id":"f","trashed":true})" : R"({"id":"f","trashed":false})") });
    QTemporaryDir dir;
    const auto record = driveRecord(QStringLiteral("f"));
    record->localThumbPath = dir.filePath(QStringLiteral("1_x.jpg"));
    QFile(record->localThumbPath).open(QIODevice::WriteOnly);
    DriveRoute route(&rig.service, 300);
    EXPECT_EQ(rig.remove(route, record, c.stop).kind, c.expected);
    EXPECT_TRUE(TestEvents::waitFor([&] { return rig.server.hits(QStringLiteral("/drive/v3/files/f")) == 2; }, kWaitMs));
    EXPECT_EQ(QFile::exists(record->localThumbPath), c.expected != RemovalOutcome::Kind::Removed);
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveTrashUncertain,
    testing::Values(UncertainCase { FakeResponse::json(500, "{}"), true, false, RemovalOutcome::Kind::Removed },
        UncertainCase { FakeResponse::json(503, "{}"), false, false, RemovalOutcome::Kind::Failed },
        UncertainCase { FakeResponse::silence(), true, false, RemovalOutcome::Kind::Removed },
        UncertainCase { FakeResponse::silence(), true, true, RemovalOutcome::Kind::Removed }));

// The Google Drive controller with a fake OAuth issuer and a fake Drive on 127.0.0.1 and a
// scripted presenter: failed discoveries keep the sheet, refusals close it with the alert, a
// sign-in stores its state and signs the next Drive request, only the newest Allow counts, the
// folder window's Refresh and Add, and the per-language fitting.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include "app/LocalizedString.h"
#include "cloud/DriveFolderTree.h"
#include "cloud/DriveService.h"
#include "cloud/FakeDrive.h"
#include "cloud/GoogleDriveAccessDelegate.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "controls/CFMButton.h"
#include "model/GDFoldersList.h"
#include "platform/AppFolders.h"
#include "platform/PropertyList.h"
#include "platform/SecretStore.h"
#include "platform/TextFormat.h"
#include "platform/TokenSource.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "support/FakeBrowser.h"
#include "support/FakeHttpServer.h"
#include "support/FakeOAuthProvider.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;

struct RecordingDelegate : GoogleDriveAccessDelegate {
    void showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder) override
    {
        added.push_back(folder);
    }
    void scanThisComputer() override { ++backToComputer; }
    void signInLeft() override {}
    std::vector<std::shared_ptr<GDFoldersList>> added;
    int backToComputer = 0;
};

GoogleSignIn::Settings signInSettings(
    const QUrl &issuer, const QString &clientId = QStringLiteral("client-1"))
{
    GoogleSignIn::Settings settings;
    settings.issuer = issuer;
    settings.clientId = clientId;
    settings.clientSecret = QStringLiteral("secret-1");
    settings.transferTimeoutMs = 5000;
    settings.secretBackend = SecretStore::Backend::fileOnly;
    return settings;
}

QString secretPath()
{
    return SecretStore::fallbackPath(QString::fromLatin1(GoogleSignIn::kSecretName));
}

void leaveStaleSecret()
{
    bool written = false;
    SecretStore(SecretStore::Backend::fileOnly)
        .write(QString::fromLatin1(GoogleSignIn::kSecretName), "{}", [&](bool ok) { written = ok; });
    ASSERT_TRUE(TestEvents::waitFor([&] { return written; }, kWaitMs));
}

struct Rig {
    explicit Rig(const QUrl &issuer, const QString &clientId = QStringLiteral("client-1"))
        : drive(driveServer)
        , service(FakeDrive::serviceSettings(driveServer))
        , vc(service, signInSettings(issuer, clientId))
    {
        vc.delegate = &delegate;
        vc.signIn().setBrowserOpener(browser.opener());
        QObject::connect(&vc, &GoogleDriveAccessVC::authorizationFlowStarted, [this] { ++flows; });
        presenter.beginSheet(vc.window(), &parent);
    }
    bool sheetOpen() { return presenter.isSheetOpen(vc.window()); }

    FakeHttpServer driveServer;
    FakeDrive drive;
    DriveService service;
    ScriptedAlertPresenter presenter;
    QWidget parent;
    GoogleDriveAccessVC vc;
    RecordingDelegate delegate;
    FakeBrowser browser;
    int flows = 0;
};

class DiscoveryFailure : public testing::TestWithParam<int>
{
};

} // namespace

TEST_P(DiscoveryFailure, WritesTheLineKeepsTheSheetShowsNoAlertAndRemovesTheItem)
{
    FakeHttpServer issuerServer;
    const char *path = "/.well-known/openid-configuration";
    if (GetParam() == 0)
        issuerServer.script("GET", QString::fromLatin1(path), { FakeResponse::json(404, "{}") });
    else
        issuerServer.script("GET", QString::fromLatin1(path), { FakeResponse::json(200, "{not json") });
    const QUrl issuer = GetParam() == 2 ? QUrl(QStringLiteral("http://127.0.0.1:1"))
                                        : issuerServer.url(QStringLiteral("/"));
    Rig rig(issuer);
    leaveStaleSecret();
    QFile log(AppFolders::logFilePath());
    const qint64 logged = log.exists() ? log.size() : 0;
    rig.vc.btnAllowPermissionTapped();
    const bool removed = TestEvents::waitFor([] { return !QFile::exists(secretPath()); }, kWaitMs);
    TestEvents::waitFor([] { return false; }, 100);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    log.seek(logged);
    const std::string out = log.readAll().toStdString();
    EXPECT_TRUE(removed);
    EXPECT_NE(out.find("Fetching configuration for issuer: "), std::string::npos);
    EXPECT_NE(out.find("Error retrieving discovery document: "), std::string::npos);
    EXPECT_TRUE(rig.sheetOpen());
    EXPECT_TRUE(rig.presenter.alerts().empty());
    EXPECT_TRUE(rig.browser.opened().isEmpty());
    EXPECT_FALSE(rig.vc.authorization());
}

INSTANTIATE_TEST_SUITE_P(NotFoundBadJsonUnreachable, DiscoveryFailure, testing::Values(0, 1, 2));

TEST(GoogleDriveSignIn, ADenialClosesTheSheetWithTheAlertAndRemovesTheItem)
{
    FakeHttpServer oauth;
    FakeOAuthProvider::Script script;
    script.deny = true;
    FakeOAuthProvider provider(oauth, script);
    Rig rig(provider.issuer());
    leaveStaleSecret();
    rig.vc.btnAllowPermissionTapped();
    ASSERT_TRUE(TestEvents::waitFor([&] { return !rig.presenter.alerts().empty(); }, kWaitMs));
    EXPECT_EQ(rig.presenter.alerts().front().messageText,
        formatText(localizedString(QStringLiteral("ID_SIGN_IN_FAILED")), localizedString(QStringLiteral("ID_GOOGLE_DRIVE"))));
    EXPECT_FALSE(rig.sheetOpen());
    EXPECT_FALSE(rig.vc.authorization());
    EXPECT_TRUE(TestEvents::waitFor([] { return !QFile::exists(secretPath()); }, kWaitMs));
}

TEST(GoogleDriveSignIn, ASuccessStoresTheStateClosesTheSheetAndSignsTheNextFileList)
{
    FakeHttpServer oauth;
    FakeOAuthProvider provider(oauth);
    Rig rig(provider.issuer());
    rig.vc.btnAllowPermissionTapped();
    ASSERT_TRUE(TestEvents::waitFor([&] { return bool(rig.vc.authorization()); }, kWaitMs));
    EXPECT_TRUE(provider.verifierMatched());
    EXPECT_FALSE(rig.sheetOpen());
    EXPECT_TRUE(rig.presenter.alerts().empty());
    ASSERT_TRUE(TestEvents::waitFor([] { return QFile::exists(secretPath()); }, kWaitMs));
    EXPECT_EQ(QFile::permissions(secretPath()),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    const QUrlQuery authorize(rig.browser.opened().first());
    EXPECT_EQ(authorize.queryItemValue(QStringLiteral("scope"), QUrl::FullyDecoded),
        QStringLiteral("https://www.googleapis.com/auth/drive"));

    rig.vc.folderTree().loadRootDriveFolders();
    ASSERT_TRUE(TestEvents::waitFor(
        [&] { return rig.driveServer.hits(QStringLiteral("/drive/v3/files")) > 0; }, kWaitMs));
    EXPECT_EQ(rig.driveServer.requests().first().header("Authorization"), QByteArray("Bearer access-1"));
}

TEST(GoogleDriveSignIn, OnlyTheNewerOfTwoAllowsTakesTheRedirect)
{
    FakeHttpServer oauth;
    FakeOAuthProvider provider(oauth);
    Rig rig(provider.issuer());
    QList<QUrl> pages;
    rig.vc.signIn().setBrowserOpener([&](const QUrl &url) {
        pages.append(url);
        return true;
    });
    rig.vc.btnAllowPermissionTapped();
    ASSERT_TRUE(TestEvents::waitFor([&] { return pages.size() == 1; }, kWaitMs));
    rig.vc.btnAllowPermissionTapped();
    ASSERT_TRUE(TestEvents::waitFor([&] { return pages.size() == 2; }, kWaitMs));
    EXPECT_EQ(rig.flows, 2);
    TestEvents::waitFor([] { return false; }, 50);

    rig.browser.opener()(pages.first());
    TestEvents::waitFor([] { return false; }, 300);
    EXPECT_FALSE(rig.vc.authorization());
    EXPECT_EQ(provider.codeGrants(), 0);
    rig.browser.opener()(pages.last());
    ASSERT_TRUE(TestEvents::waitFor([&] { return bool(rig.vc.authorization()); }, kWaitMs));
    EXPECT_EQ(provider.codeGrants(), 1);
}

TEST(GoogleDriveSignIn, NoClientIdentifierFailsAtOnceWithoutABrowser)
{
    FakeHttpServer oauth;
    FakeOAuthProvider provider(oauth);
    Rig rig(provider.issuer(), QString());
    rig.vc.btnAllowPermissionTapped();
    ASSERT_TRUE(TestEvents::waitFor([&] { return !rig.presenter.alerts().empty(); }, kWaitMs));
    EXPECT_EQ(rig.presenter.alerts().front().informativeText,
        localizedString(QStringLiteral("ID_GOOGLE_DRIVE_NO_CLIENT_ID")));
    EXPECT_FALSE(rig.sheetOpen());
    EXPECT_EQ(oauth.totalHits(), 0);
    EXPECT_TRUE(rig.browser.opened().isEmpty());
}

TEST(GoogleDriveSignIn, ScanThisComputerClosesTheSheetAndAsksTheDelegate)
{
    Rig rig(QUrl(QStringLiteral("http://127.0.0.1:1")));
    rig.vc.btnScanComputerTapped();
    EXPECT_FALSE(rig.sheetOpen());
    EXPECT_EQ(rig.delegate.backToComputer, 1);
}

TEST(GoogleDriveSignIn, ItalianWidensOnlyAllowAndEnglishChangesNothing)
{
    QTemporaryDir tables;
    for (const char *language : { "en", "it" }) {
        ASSERT_TRUE(PropertyList::writeFile(
            tables.path() + QStringLiteral("/QNY_%1.plist").arg(QLatin1String(language)),
            QVariantMap { { QStringLiteral("ID_ADD"), QStringLiteral("Add") } }));
    }
    Localization::setTableFolderOverride(tables.path());
    const auto frames = [](const char *language) {
        Localization::setPreferredLanguagesOverride({ QString::fromLatin1(language) });
        Localization::reset();
        Rig rig(QUrl(QStringLiteral("http://127.0.0.1:1")));
        return std::pair { rig.vc.btnAllowPermission->geometry(), rig.vc.btnScanComputer->geometry() };
    };
    const auto english = frames("en");
    const auto italian = frames("it");
    Localization::setPreferredLanguagesOverride({});
    Localization::setTableFolderOverride(QString());
    Localization::reset();
    EXPECT_EQ(english.first, QRect(390, 324, 130, 32));
    EXPECT_EQ(italian.first, QRect(380, 324, 140, 32));
    EXPECT_EQ(italian.second, english.second);
}

TEST(GoogleDriveFolderWindow, RefreshClearsTheSelectionAndAddHandsTheNodeToTheDelegate)
{
    Rig rig(QUrl(QStringLiteral("http://127.0.0.1:1")));
    rig.drive.addFolder(QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("A"));
    rig.vc.btnRefreshGDriveFolderListTapped();
    ASSERT_TRUE(TestEvents::waitFor([&] { return rig.vc.btnRefreshGDriveFolderList->isEnabled(); }, kWaitMs));
    QTreeView *outline = rig.vc.outlineGDFolderList;
    const QModelIndex root = outline->model()->index(0, 0);
    outline->expand(root);
    const QModelIndex a = outline->model()->index(0, 0, root);
    ASSERT_TRUE(a.isValid());
    outline->selectionModel()->select(a, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_TRUE(rig.vc.btnAddFolderGDrive->isEnabled());

    rig.vc.btnRefreshGDriveFolderListTapped();
    EXPECT_FALSE(rig.vc.btnAddFolderGDrive->isEnabled());
    EXPECT_TRUE(outline->selectionModel()->selectedRows().isEmpty());
    ASSERT_TRUE(TestEvents::waitFor([&] { return rig.vc.btnRefreshGDriveFolderList->isEnabled(); }, kWaitMs));

    outline->selectionModel()->select(
        outline->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    rig.presenter.beginSheet(rig.vc.windowFolderList, &rig.parent);
    rig.vc.btnAddFolderTapped();
    EXPECT_FALSE(rig.presenter.isSheetOpen(rig.vc.windowFolderList));
    ASSERT_EQ(rig.delegate.added.size(), 1u);
    EXPECT_EQ(rig.delegate.added.front()->folderAbsPath(), QStringLiteral("My Drive"));
}

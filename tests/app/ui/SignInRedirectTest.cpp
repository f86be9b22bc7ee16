// Sign-in redirects reach the sign-in that waits for one through the application's one URL-event
// handler, whether they come from a later launch (custom scheme) or from the loopback listener,
// and whichever source the window shows.
#include <gtest/gtest.h>

#include "app/DropboxClientsManager.h"
#include "app/ScanGlobals.h"
#include "app/SingleInstance.h"
#include "app/ui/AppDelegate.h"
#include "cloud/DriveService.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "platform/UserDefaults.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"
#include "support/FakeBrowser.h"
#include "support/FakeHttpServer.h"
#include "support/FakeOAuthProvider.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;

class CountingDropbox : public DropboxClientsManager
{
public:
    void handleRedirectURL(const QUrl &url, Completion completion) override
    {
        redirects.append(url);
        completion(std::nullopt);
    }
    bool isWaitingForRedirect() const override { return waiting; }
    void unlinkClients() override { }
    void resetClients() override { }
    QList<QUrl> redirects;
    bool waiting = false;
};

class SignInRedirectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        ScanGlobals::resetToInitialValues();
        DropboxClientsManager::setShared(&dropbox);
        delegate = std::make_unique<AppDelegate>();
        delegate->terminate = [] {};
        delegate->launch();
        DropBoxHandler::Options options;
        options.bases = { QUrl(QStringLiteral("http://127.0.0.1:1")), QUrl(QStringLiteral("http://127.0.0.1:1")) };
        delegate->mainVC->cloudMode().setDropboxHandler(std::make_shared<DropBoxHandler>(options));
    }
    void TearDown() override
    {
        delegate.reset();
        DropboxClientsManager::setShared(nullptr);
        ScanGlobals::resetToInitialValues();
    }
    // The window's Drive controller, signing in at the fake provider.
    GoogleDriveAccessVC &useDrive()
    {
        GoogleSignIn::Settings settings;
        settings.issuer = fake.issuer();
        settings.clientId = QStringLiteral("client");
        settings.secretBackend = SecretStore::Backend::fileOnly;
        delegate->mainVC->gDriveAccessVC = std::make_shared<GoogleDriveAccessVC>(DriveService::shared(), settings);
        GoogleDriveAccessVC &vc = *delegate->mainVC->gDriveAccessVC;
        vc.signIn().setBrowserOpener(browser.opener());
        QObject::connect(&vc.signIn(), &GoogleSignIn::signedIn, [this] { ++signIns; });
        return vc;
    }

    FakeHttpServer server;
    FakeOAuthProvider fake { server };
    QList<QUrl> delivered;
    FakeBrowser browser { [this](const QUrl &url) { delivered.append(url); } };
    CountingDropbox dropbox;
    std::unique_ptr<AppDelegate> delegate;
    int signIns = 0;
};

} // namespace

TEST_F(SignInRedirectTest, ALaterLaunchsRedirectReachesTheDropboxSignInThatWaits)
{
    ScanGlobals::scanType = ScanSource::googleDrive;
    dropbox.waiting = true;
    const QString redirect = QStringLiteral("com.quennary.test:/oauthredirect?code=7&state=s");
    SingleInstance secondLaunch(delegate->urlEventSource()->serverName());
    ASSERT_TRUE(secondLaunch.sendToRunningInstance(redirect));
    ASSERT_TRUE(TestEvents::waitFor([&] { return dropbox.redirects.size() == 1; }, kWaitMs));
    EXPECT_EQ(dropbox.redirects.first(), QUrl(redirect));
}

TEST_F(SignInRedirectTest, TheLoopbackListenerReachesTheDriveSignInWhicheverSourceIsShown)
{
    ScanGlobals::scanType = ScanSource::dropbox;
    GoogleDriveAccessVC &vc = useDrive();
    vc.signIn().start();
    ASSERT_TRUE(TestEvents::waitFor([&] { return signIns == 1; }, kWaitMs));
    EXPECT_EQ(fake.codeGrants(), 1);
    EXPECT_TRUE(fake.verifierMatched());
    EXPECT_TRUE(dropbox.redirects.isEmpty());
}

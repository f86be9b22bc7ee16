// Sign-in redirects reach a running flow through the application's one URL-event handler, whether
// they come from a later launch (custom scheme) or from the loopback listener, and only while the
// scan source is the flow's.
#include <gtest/gtest.h>

#include "app/DropboxClientsManager.h"
#include "app/ScanGlobals.h"
#include "app/SingleInstance.h"
#include "app/ui/AppDelegate.h"
#include "platform/OAuthCodeFlow.h"
#include "platform/UserDefaults.h"
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
    void unlinkClients() override { }
    void resetClients() override { }
    QList<QUrl> redirects;
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
    }
    void TearDown() override
    {
        delegate.reset();
        DropboxClientsManager::setShared(nullptr);
        ScanGlobals::resetToInitialValues();
    }
    std::shared_ptr<OAuthCodeFlow> makeFlow(const QString &redirectUri)
    {
        OAuthProvider provider;
        provider.name = QStringLiteral("Google Drive");
        provider.authorizationEndpoint = fake.authorizationEndpoint();
        provider.tokenEndpoint = fake.tokenEndpoint();
        provider.clientId = QStringLiteral("client");
        provider.redirectUri = redirectUri;
        auto flow = std::make_shared<OAuthCodeFlow>(provider);
        flow->setBrowserOpener(browser.opener());
        QObject::connect(flow.get(), &OAuthCodeFlow::signedIn, [this] { ++signIns; });
        delegate->currentAuthorizationFlow = flow;
        return flow;
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

TEST_F(SignInRedirectTest, ACustomSchemeRedirectOfALaterLaunchReachesTheFlowOnlyForItsSource)
{
    auto flow = makeFlow(QStringLiteral("com.quennary.test:/oauthredirect"));
    ASSERT_TRUE(flow->start());
    ASSERT_TRUE(TestEvents::waitFor([&] { return !delivered.isEmpty(); }, kWaitMs));
    const QString redirect = delivered.first().toString(QUrl::FullyEncoded);

    ScanGlobals::scanType = ScanSource::dropbox;
    SingleInstance secondLaunch(delegate->urlEventSource()->serverName());
    ASSERT_TRUE(secondLaunch.sendToRunningInstance(redirect));
    ASSERT_TRUE(TestEvents::waitFor([&] { return dropbox.redirects.size() == 1; }, kWaitMs));
    EXPECT_TRUE(flow->isWaitingForRedirect());
    EXPECT_EQ(fake.codeGrants(), 0);

    ScanGlobals::scanType = ScanSource::googleDrive;
    SingleInstance thirdLaunch(delegate->urlEventSource()->serverName());
    ASSERT_TRUE(thirdLaunch.sendToRunningInstance(redirect));
    ASSERT_TRUE(TestEvents::waitFor([&] { return signIns == 1; }, kWaitMs));
    EXPECT_TRUE(fake.verifierMatched());
}

TEST_F(SignInRedirectTest, TheLoopbackListenerRoutesThroughTheSameHandler)
{
    ScanGlobals::scanType = ScanSource::thisComputer;
    auto ignored = makeFlow(QString());
    ASSERT_TRUE(ignored->start());
    ASSERT_TRUE(TestEvents::waitFor([&] { return browser.redirectsAnswered() == 1; }, kWaitMs));
    EXPECT_TRUE(ignored->isWaitingForRedirect());

    ScanGlobals::scanType = ScanSource::googleDrive;
    auto taken = makeFlow(QString());
    ASSERT_TRUE(taken->start());
    ASSERT_TRUE(TestEvents::waitFor([&] { return signIns == 1; }, kWaitMs));
    EXPECT_EQ(fake.codeGrants(), 1);
    EXPECT_TRUE(ignored->isWaitingForRedirect());
}

// Browser sign-in against a fake provider on 127.0.0.1: PKCE, the state check, codes that need
// encoding, refusals, refreshes through HttpClient, and discovery.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrlQuery>

#include "platform/HttpClient.h"
#include "platform/OAuthCodeFlow.h"
#include "platform/OAuthDiscovery.h"
#include "platform/OAuthRedirectListener.h"
#include "platform/TokenSource.h"
#include "support/FakeBrowser.h"
#include "support/FakeHttpServer.h"
#include "support/FakeOAuthProvider.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;

OAuthProvider providerFor(const FakeOAuthProvider &fake, const FakeHttpServer &server)
{
    OAuthProvider provider;
    provider.name = QStringLiteral("Test");
    provider.authorizationEndpoint = fake.authorizationEndpoint();
    provider.tokenEndpoint = fake.tokenEndpoint();
    provider.clientId = QStringLiteral("client 1");
    provider.clientSecret = QStringLiteral("s+cret/%");
    provider.scope = QStringLiteral("files.read files.write");
    provider.extraAuthorizationParameters
        = { { QStringLiteral("token_access_type"), QStringLiteral("offline") } };
    provider.apiBases = { server.url() };
    return provider;
}

struct Outcome {
    bool signedIn = false;
    QString error;
    bool done() const { return signedIn || !error.isEmpty(); }
};

// A provider, a flow and a browser wired together.
struct SignIn {
    explicit SignIn(const FakeOAuthProvider::Script &script = FakeOAuthProvider::Script())
        : fake(server, script)
        , flow(providerFor(fake, server))
    {
        flow.setBrowserOpener(browser.opener());
        QObject::connect(&flow, &OAuthCodeFlow::signedIn, [this] { outcome.signedIn = true; });
        QObject::connect(&flow, &OAuthCodeFlow::signInFailed,
            [this](const QString &error, const QString &) { outcome.error = error; });
    }
    bool run()
    {
        return flow.start() && TestEvents::waitFor([this] { return outcome.done(); }, kWaitMs);
    }

    FakeHttpServer server;
    FakeOAuthProvider fake;
    OAuthCodeFlow flow;
    FakeBrowser browser;
    Outcome outcome;
};

class SignInCodes : public testing::TestWithParam<const char *>
{
};

} // namespace

TEST_P(SignInCodes, AFullSignInThroughTheBrowserSendsTheCodeAsIssuedWithAMatchingVerifier)
{
    FakeOAuthProvider::Script script;
    script.code = QString::fromUtf8(GetParam());
    SignIn signIn(script);
    ASSERT_TRUE(signIn.run());
    EXPECT_TRUE(signIn.outcome.signedIn) << signIn.outcome.error.toStdString();
    EXPECT_TRUE(signIn.fake.verifierMatched());
    EXPECT_EQ(signIn.fake.receivedCode(), script.code);
    EXPECT_EQ(signIn.flow.token(), QStringLiteral("access-1"));
    EXPECT_EQ(signIn.flow.tokenSource()->accessToken(), QStringLiteral("access-1"));
    EXPECT_FALSE(signIn.flow.isListening());

    const QUrlQuery asked(signIn.browser.opened().value(0));
    EXPECT_EQ(asked.queryItemValue(QStringLiteral("code_challenge_method")), QStringLiteral("S256"));
    EXPECT_EQ(asked.queryItemValue(QStringLiteral("token_access_type")), QStringLiteral("offline"));
    EXPECT_TRUE(signIn.flow.redirectUri().startsWith(QStringLiteral("http://127.0.0.1:")));
    const QMap<QString, QString> form = signIn.server.requests(QStringLiteral("/token")).value(0).form();
    EXPECT_EQ(form.value(QStringLiteral("client_secret")), QStringLiteral("s+cret/%"));
    EXPECT_EQ(form.value(QStringLiteral("client_id")), QStringLiteral("client 1"));
}

INSTANTIATE_TEST_SUITE_P(Codes, SignInCodes, testing::Values("plain-code", "4/0Ab%2F x%zz+1&=?", "ü/%25"));

TEST(OAuthCodeFlow, ARedirectWithAForeignStateSendsNoTokenRequest)
{
    FakeOAuthProvider::Script script;
    script.stateOverride = QStringLiteral("forged");
    SignIn signIn(script);
    OAuthCodeFlow &flow = signIn.flow;
    FakeBrowser &browser = signIn.browser;
    FakeHttpServer &server = signIn.server;
    ASSERT_TRUE(flow.start());
    ASSERT_TRUE(TestEvents::waitFor([&] { return browser.redirectsAnswered() == 1; }, kWaitMs));
    EXPECT_TRUE(flow.isWaitingForRedirect());
    EXPECT_EQ(server.hits(QStringLiteral("/token")), 0);

    // A redirect to another address with the right state is no better.
    const QString state = QUrlQuery(browser.opened().value(0)).queryItemValue(QStringLiteral("state"));
    EXPECT_FALSE(flow.resumeExternalUserAgentFlowWithURL(
        QUrl(QStringLiteral("http://127.0.0.1:1/elsewhere?code=x&state=") + state)));
    EXPECT_EQ(server.hits(QStringLiteral("/token")), 0);
}

TEST(OAuthCodeFlow, RefusalsAndLostRedirectsEndTheSignInWithTheirReason)
{
    FakeOAuthProvider::Script script;
    script.deny = true;
    SignIn denied(script);
    ASSERT_TRUE(denied.run());
    EXPECT_EQ(denied.outcome.error, QStringLiteral("access_denied"));
    EXPECT_FALSE(denied.flow.isListening());
    // A redirect the listener took but nobody could use.
    OAuthCodeFlow::setUrlEventHandler([](const QString &) {});
    SignIn lost;
    EXPECT_TRUE(lost.run());
    OAuthCodeFlow::setUrlEventHandler({});
    EXPECT_EQ(lost.outcome.error, QStringLiteral("not_received"));
    EXPECT_FALSE(lost.flow.isListening());

    OAuthProvider unregistered = providerFor(denied.fake, denied.server);
    unregistered.clientId.clear();
    OAuthCodeFlow noClient(unregistered);
    int opened = 0;
    noClient.setBrowserOpener([&](const QUrl &) { return ++opened > 0; });
    QString error;
    QObject::connect(
        &noClient, &OAuthCodeFlow::signInFailed, [&](const QString &why, const QString &) { error = why; });
    EXPECT_FALSE(noClient.start());
    EXPECT_EQ(error, QStringLiteral("no_client_id"));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(denied.server.hits(QStringLiteral("/authorize")), 1);
}

TEST(OAuthCodeFlow, TheListenerServesOnlyItsRedirectHoldsFewConnectionsAndHasADeadline)
{
    SignIn signIn;
    QUrl asked;
    signIn.flow.setBrowserOpener([&](const QUrl &url) { return (asked = url).isValid(); });
    ASSERT_TRUE(signIn.flow.start());
    const quint16 port = quint16(QUrl(signIn.flow.redirectUri()).port());
    // The listener's answer to `request` once it has hung up; empty when it dropped the request.
    auto send = [&](const QByteArray &request) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write(request);
        TestEvents::waitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, kWaitMs);
        return socket.readAll();
    };
    EXPECT_TRUE(send("GET /?" + QByteArray(64 * 1024, 'a')).isEmpty());
    // Another local process that finds the port first is refused, and the listener waits on.
    const QString state = QUrlQuery(asked).queryItemValue(QStringLiteral("state"));
    for (const char *spoiling : { "GET /?code=planted", "GET /?code=planted&state=forged",
             "GET /favicon.ico?code=planted&state=%1", "POST /?code=planted&state=%1" }) {
        const QByteArray request = QString::fromLatin1(spoiling).arg(state).toUtf8() + " HTTP/1.1\r\n\r\n";
        EXPECT_TRUE(send(request).startsWith("HTTP/1.1 400")) << spoiling;
    }
    // Idle connections past the few it holds wait outside the listener, and go when they hang up.
    const OAuthRedirectListener *listener = signIn.flow.findChild<OAuthRedirectListener *>();
    ASSERT_NE(listener, nullptr);
    QTcpSocket idle[40];
    for (QTcpSocket &socket : idle)
        socket.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(TestEvents::waitFor(
        [&] { return listener->heldConnections() == OAuthRedirectListener::kMaxConnections; }, kWaitMs));
    for (QTcpSocket &socket : idle)
        socket.abort();
    EXPECT_TRUE(signIn.flow.isWaitingForRedirect() && signIn.flow.isListening());
    signIn.browser.opener()(asked);
    ASSERT_TRUE(TestEvents::waitFor([&] { return signIn.outcome.done(); }, kWaitMs));
    EXPECT_TRUE(signIn.outcome.signedIn) << signIn.outcome.error.toStdString();
    EXPECT_FALSE(signIn.flow.isListening());

    OAuthProvider patient = providerFor(signIn.fake, signIn.server);
    patient.redirectDeadlineMs = 50;
    OAuthCodeFlow abandoned(patient);
    abandoned.setBrowserOpener([](const QUrl &) { return true; });
    QString error;
    QObject::connect(
        &abandoned, &OAuthCodeFlow::signInFailed, [&](const QString &why, const QString &) { error = why; });
    ASSERT_TRUE(abandoned.start());
    EXPECT_TRUE(TestEvents::waitFor([&] { return error == QLatin1String("timed_out"); }, kWaitMs));
    EXPECT_FALSE(abandoned.isListening());
}

TEST(OAuthCodeFlow, AnExpiredTokenIsRefreshedForABackgroundRequestAndAFailedRefreshSignsOut)
{
    SignIn signIn;
    ASSERT_TRUE(signIn.run());
    ASSERT_TRUE(signIn.outcome.signedIn);
    FakeHttpServer &server = signIn.server;
    FakeOAuthProvider &fake = signIn.fake;
    OAuthCodeFlow &flow = signIn.flow;

    server.script(
        "GET", QStringLiteral("/api"), { FakeResponse::json(401, "{}"), FakeResponse::json(200, "{}") });
    HttpClient client({ HttpClient::Mode::blocking, flow.tokenSource(), {}, 5000 });
    auto fromBackground = [&client, &server] {
        std::atomic<bool> done { false };
        HttpResponse response;
        std::thread worker([&] {
            response = client.sendBlocking(HttpRequest::get(server.url(QStringLiteral("/api"))));
            done = true;
        });
        EXPECT_TRUE(TestEvents::waitFor([&] { return done.load(); }, kWaitMs));
        worker.join();
        return response;
    };
    EXPECT_TRUE(fromBackground().ok());
    EXPECT_EQ(fake.refreshGrants(), 1);
    EXPECT_EQ(
        server.requests(QStringLiteral("/api")).last().header("Authorization"), "Bearer access-refreshed-1");

    FakeOAuthProvider::Script failing;
    failing.failRefresh = true;
    fake.setScript(failing);
    server.script("GET", QStringLiteral("/api"), { FakeResponse::json(401, "{}") });
    EXPECT_EQ(fromBackground().failure, HttpResponse::Failure::signedOut);
    EXPECT_EQ(fake.refreshGrants(), 2);
    EXPECT_EQ(flow.status(), QAbstractOAuth::Status::Granted);
}

TEST(OAuthCodeFlow, VerifiersAreLongRandomAndChallengedWithS256)
{
    const QByteArray verifier = OAuthCodeFlow::makeCodeVerifier();
    EXPECT_GE(verifier.size(), 43);
    EXPECT_LE(verifier.size(), 128);
    EXPECT_NE(verifier, OAuthCodeFlow::makeCodeVerifier());
    for (char c : verifier)
        EXPECT_TRUE(QByteArray("-._~").contains(c) || QChar::fromLatin1(c).isLetterOrNumber()) << c;
    // The example of RFC 7636, appendix B.
    EXPECT_EQ(OAuthCodeFlow::codeChallenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"),
        "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
}

struct DiscoveryCase {
    const char *name;
    FakeResponse answer;
    bool found;
};

class Discovery : public testing::TestWithParam<DiscoveryCase>
{
};

TEST_P(Discovery, FindsBothEndpointsOrSaysWhy)
{
    FakeHttpServer server;
    server.script("GET", QStringLiteral("/issuer/.well-known/openid-configuration"), { GetParam().answer });
    HttpClient client({ HttpClient::Mode::guiThread, {}, {}, 5000 });
    std::optional<std::optional<OAuthEndpoints>> result;
    QString error;
    OAuthDiscovery::discover(client, server.url(QStringLiteral("/issuer/")),
        [&](const std::optional<OAuthEndpoints> &endpoints, const QString &why) {
            result = endpoints;
            error = why;
        });
    ASSERT_TRUE(TestEvents::waitFor([&] { return result.has_value(); }, kWaitMs));
    EXPECT_EQ(result->has_value(), GetParam().found);
    EXPECT_EQ(error.isEmpty(), GetParam().found);
    if (GetParam().found) {
        EXPECT_EQ((*result)->tokenEndpoint, QUrl(QStringLiteral("https://oauth2.example/token")));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, Discovery,
    testing::Values(DiscoveryCase { "Found",
                        FakeResponse::json(200, R"({"authorization_endpoint": "https://a.example/auth",
                                                               "token_endpoint": "https://oauth2.example/token"})"),
                        true },
        DiscoveryCase { "NotFound", FakeResponse::text(404, "missing"), false },
        DiscoveryCase { "PlainHttpEndpoints",
            FakeResponse::json(200, R"({"authorization_endpoint": "http://a.example/auth",
                                        "token_endpoint": "http://oauth2.example/token"})"),
            false },
        DiscoveryCase { "NotJson", FakeResponse::text(200, "<html>"), false },
        DiscoveryCase { "NoTokenEndpoint",
            FakeResponse::json(200, R"({"authorization_endpoint": "https://a.example/auth"})"), false }),
    [](const testing::TestParamInfo<DiscoveryCase> &info) { return std::string(info.param.name); });

// A browser sign-in with the authorization-code grant, on Qt's flow: PKCE (S256) and a checked
// state on every run, the redirect caught by a listener on the loopback address (only the redirect
// carrying this run's state, a deadline, then "timed_out"; "not_received" when the one it took went
// nowhere) or handed in as a URL event, the code exchanged and refreshed at the token endpoint, and
// failures reported rather than dropped. Lives on the GUI thread; other threads reach its token through
// tokenSource().
#pragma once

#include <functional>
#include <memory>

#include <QJsonObject>
#include <QOAuth2AuthorizationCodeFlow>

#include "platform/ExternalUserAgentSession.h"
#include "platform/OAuthProvider.h"

class OAuthRedirectHandler;
class OAuthTokenSource;
class OAuthRedirectListener;
class TokenSource;

class OAuthCodeFlow : public QOAuth2AuthorizationCodeFlow, public ExternalUserAgentSession
{
    Q_OBJECT
public:
    using BrowserOpener = std::function<bool(const QUrl &)>;
    using UrlEventHandler = std::function<void(const QString &)>;

    explicit OAuthCodeFlow(OAuthProvider provider, QObject *parent = nullptr);
    ~OAuthCodeFlow() override;

    // The application's URL-event handler: redirects caught by a loopback listener go through it,
    // so they are routed like those of a later launch. Without one they come straight back here.
    static void setUrlEventHandler(UrlEventHandler handler);
    // Default: the desktop's browser.
    void setBrowserOpener(BrowserOpener opener);

    // Opens the sign-in page. False (and signInFailed) when no client identifier is configured,
    // the endpoints are missing or the listener cannot bind; no browser opens then.
    bool start();
    // Takes a redirect that starts with the redirect address and carries this run's state; any
    // other URL is refused and changes nothing.
    bool resumeExternalUserAgentFlowWithURL(const QUrl &url) override;

    QString redirectUri() const { return m_redirectUri; }
    bool isWaitingForRedirect() const { return m_phase == Phase::waitingForRedirect; }
    bool isSignedIn() const { return m_phase == Phase::signedIn; }
    bool isListening() const;
    const OAuthProvider &provider() const { return m_provider; }
    std::shared_ptr<TokenSource> tokenSource() const;
    // Access and refresh token, expiry and scope, for keeping the sign-in.
    QJsonObject tokenState() const;

    // 43 to 128 characters of the unreserved set, from the system's random source.
    static QByteArray makeCodeVerifier();
    // base64url(SHA-256(verifier)) without padding.
    static QByteArray codeChallenge(const QByteArray &verifier);

    // Runs a refresh for the token source (on this flow's thread).
    void refreshForSource();

signals:
    void signedIn();
    // `error` is the provider's code ("access_denied" when the user declined) or our own.
    void signInFailed(const QString &error, const QString &description);

private:
    enum class Phase { idle, waitingForRedirect, exchangingCode, signedIn, failed };

    bool prepareRedirect();
    void listenerReceived(const QUrl &target);
    void modifyParameters(Stage stage, QMultiMap<QString, QVariant> *parameters) const;
    void tokenRequestSucceeded();
    void tokenRequestFailed(const QString &error, const QString &description);
    void fail(const QString &error, const QString &description);
    void closeListener();

    OAuthProvider m_provider;
    BrowserOpener m_openBrowser;
    OAuthRedirectHandler *m_handler;
    OAuthRedirectListener *m_listener = nullptr;
    std::shared_ptr<OAuthTokenSource> m_tokens;
    Phase m_phase = Phase::idle;
    bool m_refreshing = false;
    QString m_redirectUri;
    QByteArray m_verifier;
    QString m_state;
    QString m_code;
};

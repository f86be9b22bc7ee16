// The Google Drive browser sign-in: the issuer's discovery document, then the authorization-code
// flow with PKCE on a loopback redirect. Each start replaces the running flow, so only the newest
// one takes a redirect. The token state goes to the secret store as "Authorization2"; nothing
// reads it back, so every launch starts signed out. GUI thread only.
#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QString>
#include <QUrl>

#include "platform/HttpClient.h"
#include "platform/OAuthCodeFlow.h"
#include "platform/OAuthDiscovery.h"
#include "platform/SecretStore.h"

class DriveService;
class ExternalUserAgentSession;
class TokenSource;

class GoogleSignIn : public QObject
{
    Q_OBJECT
public:
    struct Settings {
        QUrl issuer;
        QString clientId;
        QString clientSecret;
        int transferTimeoutMs = 60000;
        SecretStore::Backend secretBackend = SecretStore::Backend::keychainThenFile;
        static Settings fromConfiguration();
    };

    static constexpr const char *kScope = "https://www.googleapis.com/auth/drive";
    static constexpr const char *kSecretName = "Authorization2";

    GoogleSignIn(DriveService &service, Settings settings, QObject *parent = nullptr);
    ~GoogleSignIn() override;

    // Tests open the sign-in page with a fake browser.
    void setBrowserOpener(OAuthCodeFlow::BrowserOpener opener);

    // Allow: signs out, discovers the issuer and opens the sign-in page.
    void start();
    // The signed-in user's tokens; null while signed out.
    std::shared_ptr<TokenSource> authorization() const { return m_authorization; }
    std::shared_ptr<OAuthCodeFlow> currentFlow() const { return m_flow; }
    // Writes the token state under "Authorization2" while signed in, removes the item otherwise.
    void saveState();

signals:
    // The flow that waits for the browser's redirect now (it replaces any earlier one).
    void authorizationFlowStarted(std::shared_ptr<ExternalUserAgentSession> flow);
    // The discovery failed: still signed out, nothing for the user to read.
    void discoveryFailed(const QString &description);
    void signedIn();
    // Refused, cancelled or not configured: `description` is for the user.
    void signInFailed(const QString &description);

private:
    void startAuthorization(const std::optional<OAuthEndpoints> &endpoints, const QString &error);
    void handleAuthorizationResult(const OAuthCodeFlow *flow, bool ok, const QString &description);

    DriveService &m_service;
    Settings m_settings;
    HttpClient m_discoveryClient;
    OAuthCodeFlow::BrowserOpener m_openBrowser;
    std::shared_ptr<OAuthCodeFlow> m_flow;
    std::shared_ptr<TokenSource> m_authorization;
    // Tells a discovery answer of an earlier Allow from the current one.
    int m_generation = 0;
};

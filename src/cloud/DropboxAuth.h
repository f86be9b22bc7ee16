// The Dropbox sign-in: a browser sign-in with PKCE and offline access for the four scopes the scan
// source needs, its redirect handed in by the application, and the signed-in token for the API.
// Tokens live in memory only, so every start of the program is signed out. GUI thread, except
// authorizedClient().
#pragma once

#include <memory>
#include <mutex>

#include <QObject>

#include "app/DropboxClientsManager.h"
#include "platform/OAuthCodeFlow.h"

class TokenSource;

class DropboxAuth : public QObject, public DropboxClientsManager
{
    Q_OBJECT
public:
    static constexpr const char *kScopes
        = "account_info.read files.content.read files.content.write files.metadata.read";

    explicit DropboxAuth(QObject *parent = nullptr);
    ~DropboxAuth() override;

    // The application's instance, made (signed out) and installed as the clients manager on first
    // use; it goes with the application object.
    static DropboxAuth *sharedAuth();
    // The signed-in token of the application's instance, or null. Any thread.
    static std::shared_ptr<TokenSource> sharedAuthorizedClient();

    static OAuthProvider provider();
    // Default: the desktop's browser.
    void setBrowserOpener(OAuthCodeFlow::BrowserOpener opener);

    // Opens the sign-in page; false when the flow could not start (no application key, say).
    bool authorizeFromControllerV2();
    std::shared_ptr<TokenSource> authorizedClient() const;

    void handleRedirectURL(const QUrl &url, Completion completion) override;
    bool isWaitingForRedirect() const override;
    void unlinkClients() override;
    void resetClients() override;

signals:
    // Every ending of a sign-in, also when the redirect came straight back from the listener.
    void signInFinished(const DropboxOAuthResult &result);

private:
    void finish(const DropboxOAuthResult &result);

    OAuthCodeFlow::BrowserOpener m_opener;
    std::unique_ptr<OAuthCodeFlow> m_flow;
    Completion m_pending;
    mutable std::mutex m_mutex;
    std::shared_ptr<TokenSource> m_authorized;
};

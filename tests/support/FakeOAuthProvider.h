// An OAuth provider on a FakeHttpServer: discovery document, an /authorize page that answers with
// the 302 back to the redirect address, and /token for the code (checking the PKCE verifier
// against the challenge) and refresh grants.
#pragma once

#include <mutex>

#include <QString>
#include <QUrl>

class FakeHttpServer;
struct FakeResponse;
struct RecordedRequest;

class FakeOAuthProvider
{
public:
    struct Script {
        QString code = QStringLiteral("code-1");
        QString accessToken = QStringLiteral("access-1");
        QString refreshToken = QStringLiteral("refresh-1");
        // Sent back instead of the request's state when not empty.
        QString stateOverride;
        // The redirect carries error=access_denied instead of a code.
        bool deny = false;
        bool failRefresh = false;
    };

    explicit FakeOAuthProvider(FakeHttpServer &server);
    FakeOAuthProvider(FakeHttpServer &server, Script script);

    QUrl authorizationEndpoint() const;
    QUrl tokenEndpoint() const;
    QUrl issuer() const;

    void setScript(const Script &script);
    // True when the last code grant's verifier matched the challenge of the authorization.
    bool verifierMatched() const;
    QString receivedCode() const;
    int codeGrants() const;
    int refreshGrants() const;
    QString issuedAccessToken() const;

private:
    FakeResponse authorize(const RecordedRequest &request);
    FakeResponse token(const RecordedRequest &request);

    FakeHttpServer &m_server;
    mutable std::mutex m_mutex;
    Script m_script;
    QString m_challenge;
    QString m_redirectUri;
    QString m_clientId;
    QString m_receivedCode;
    QString m_currentAccess;
    bool m_verifierMatched = false;
    int m_codeGrants = 0;
    int m_refreshGrants = 0;
};

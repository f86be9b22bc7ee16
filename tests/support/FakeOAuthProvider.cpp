#include "support/FakeOAuthProvider.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/FakeHttpServer.h"

namespace
{

QByteArray s256(const QString &verifier)
{
    return QCryptographicHash::hash(verifier.toLatin1(), QCryptographicHash::Sha256)
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

FakeResponse tokenAnswer(const QString &access, const QString &refresh)
{
    QJsonObject object { { "access_token", access }, { "token_type", "bearer" }, { "expires_in", 3600 } };
    if (!refresh.isEmpty())
        object.insert(QStringLiteral("refresh_token"), refresh);
    return FakeResponse::json(200, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

FakeResponse grantError(const char *error)
{
    return FakeResponse::json(400, QByteArray("{\"error\": \"") + error + "\"}");
}

} // namespace

FakeOAuthProvider::FakeOAuthProvider(FakeHttpServer &server)
    : FakeOAuthProvider(server, Script())
{
}

FakeOAuthProvider::FakeOAuthProvider(FakeHttpServer &server, Script script)
    : m_server(server)
    , m_script(std::move(script))
{
    const QByteArray discovery
        = QJsonDocument(QJsonObject {
                            { "issuer", issuer().toString() },
                            { "authorization_endpoint", authorizationEndpoint().toString() },
                            { "token_endpoint", tokenEndpoint().toString() },
                        })
              .toJson(QJsonDocument::Compact);
    server.script(
        "GET", QStringLiteral("/.well-known/openid-configuration"), { FakeResponse::json(200, discovery) });
    server.handle(
        "GET", QStringLiteral("/authorize"), [this](const RecordedRequest &r) { return authorize(r); });
    server.handle("POST", QStringLiteral("/token"), [this](const RecordedRequest &r) { return token(r); });
}

QUrl FakeOAuthProvider::authorizationEndpoint() const
{
    return m_server.url(QStringLiteral("/authorize"));
}

QUrl FakeOAuthProvider::tokenEndpoint() const
{
    return m_server.url(QStringLiteral("/token"));
}

QUrl FakeOAuthProvider::issuer() const
{
    return QUrl(m_server.base());
}

void FakeOAuthProvider::setScript(const Script &script)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_script = script;
}

FakeResponse FakeOAuthProvider::authorize(const RecordedRequest &request)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_challenge = request.queryValue(QStringLiteral("code_challenge"));
    m_redirectUri = request.queryValue(QStringLiteral("redirect_uri"));
    m_clientId = request.queryValue(QStringLiteral("client_id"));
    const QString state = m_script.stateOverride.isEmpty() ? request.queryValue(QStringLiteral("state"))
                                                           : m_script.stateOverride;
    QByteArray location = m_redirectUri.toUtf8() + (m_redirectUri.contains(QLatin1Char('?')) ? "&" : "?");
    if (m_script.deny)
        location += "error=access_denied&error_description=The+user+declined";
    else
        location += "code=" + QUrl::toPercentEncoding(m_script.code);
    location += "&state=" + QUrl::toPercentEncoding(state);
    FakeResponse response;
    response.status = 302;
    response.headers.append(qMakePair(QByteArray("Location"), location));
    return response;
}

FakeResponse FakeOAuthProvider::token(const RecordedRequest &request)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const QMap<QString, QString> form = request.form();
    const QString grant = form.value(QStringLiteral("grant_type"));
    if (grant == QLatin1String("authorization_code")) {
        ++m_codeGrants;
        m_receivedCode = form.value(QStringLiteral("code"));
        m_verifierMatched
            = !m_challenge.isEmpty() && s256(form.value(QStringLiteral("code_verifier"))) == m_challenge;
        if (!m_verifierMatched || m_receivedCode != m_script.code
            || form.value(QStringLiteral("redirect_uri")) != m_redirectUri
            || form.value(QStringLiteral("client_id")) != m_clientId)
            return grantError("invalid_grant");
        m_currentAccess = m_script.accessToken;
        return tokenAnswer(m_currentAccess, m_script.refreshToken);
    }
    if (grant == QLatin1String("refresh_token")) {
        ++m_refreshGrants;
        if (m_script.failRefresh || form.value(QStringLiteral("refresh_token")) != m_script.refreshToken)
            return grantError("invalid_grant");
        m_currentAccess = QStringLiteral("access-refreshed-%1").arg(m_refreshGrants);
        return tokenAnswer(m_currentAccess, QString());
    }
    return grantError("unsupported_grant_type");
}

bool FakeOAuthProvider::verifierMatched() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_verifierMatched;
}

QString FakeOAuthProvider::receivedCode() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_receivedCode;
}

int FakeOAuthProvider::codeGrants() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_codeGrants;
}

int FakeOAuthProvider::refreshGrants() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_refreshGrants;
}

QString FakeOAuthProvider::issuedAccessToken() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_currentAccess;
}

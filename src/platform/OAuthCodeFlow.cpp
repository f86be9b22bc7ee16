#include "platform/OAuthCodeFlow.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrlQuery>

#include "platform/Log.h"
#include "platform/LoopbackGuard.h"
#include "platform/OAuthRedirectHandler.h"
#include "platform/OAuthRedirectListener.h"
#include "platform/OAuthTokenSource.h"

namespace
{

constexpr int kVerifierBytes = 48; // 64 characters once encoded
constexpr int kStateBytes = 24;
// The listener answers the browser after handing over the redirect; it stays a moment so that
// answer is delivered before the socket goes.
constexpr int kListenerLingerMs = 2000;

OAuthCodeFlow::UrlEventHandler &urlEventHandler()
{
    static OAuthCodeFlow::UrlEventHandler handler;
    return handler;
}

QByteArray randomUrlSafe(int bytes)
{
    QByteArray raw(bytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(raw.begin(), raw.end());
    return raw.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

// Redirect values are form-encoded ("+" is a blank), whatever Qt's URL classes assume.
QString formDecoded(const QString &encoded)
{
    QByteArray bytes = encoded.toUtf8();
    bytes.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

QVariantMap redirectValues(const QUrl &url)
{
    QVariantMap values;
    const QUrlQuery query(url.query(QUrl::FullyEncoded));
    for (const auto &item : query.queryItems(QUrl::FullyEncoded))
        values.insert(formDecoded(item.first), formDecoded(item.second));
    return values;
}

bool sameRedirectTarget(const QUrl &url, const QUrl &redirect)
{
    auto path = [](const QUrl &u) { return u.path().isEmpty() ? QStringLiteral("/") : u.path(); };
    return url.scheme().compare(redirect.scheme(), Qt::CaseInsensitive) == 0
        && url.host().compare(redirect.host(), Qt::CaseInsensitive) == 0 && url.port() == redirect.port()
        && path(url) == path(redirect);
}

bool isLoopbackRedirect(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") && LoopbackGuard::isLoopbackUrl(url);
}

void replaceParameter(QMultiMap<QString, QVariant> *parameters, const QString &key, const QVariant &value)
{
    parameters->remove(key);
    parameters->insert(key, value);
}

} // namespace

OAuthCodeFlow::OAuthCodeFlow(OAuthProvider provider, QObject *parent)
    : QOAuth2AuthorizationCodeFlow(parent)
    , m_provider(std::move(provider))
    , m_openBrowser([](const QUrl &url) { return QDesktopServices::openUrl(url); })
    , m_handler(new OAuthRedirectHandler(this))
    , m_tokens(std::make_shared<OAuthTokenSource>(this, m_provider.apiBases))
{
    auto *manager = new QNetworkAccessManager(this);
    manager->setTransferTimeout(m_provider.transferTimeoutMs);
    setNetworkAccessManager(manager);
    setReplyHandler(m_handler);
    setClientIdentifier(m_provider.clientId);
    setClientIdentifierSharedKey(m_provider.clientSecret);
    setScope(m_provider.scope);
    setAuthorizationUrl(m_provider.authorizationEndpoint);
    setAccessTokenUrl(m_provider.tokenEndpoint);
    setModifyParametersFunction([this](Stage stage, QMultiMap<QString, QVariant> *parameters) {
        modifyParameters(stage, parameters);
    });
    connect(this, &QAbstractOAuth::authorizeWithBrowser, this, [this](const QUrl &url) {
        if (!m_openBrowser(url))
            fail(QStringLiteral("browser_unavailable"), QStringLiteral("the browser could not be opened"));
    });
    connect(this, &QAbstractOAuth::tokenChanged, this,
        [this](const QString &token) { m_tokens->setToken(token); });
    connect(
        m_handler, &OAuthRedirectHandler::tokenRequestSucceeded, this, &OAuthCodeFlow::tokenRequestSucceeded);
    connect(m_handler, &OAuthRedirectHandler::tokenRequestFailed, this, &OAuthCodeFlow::tokenRequestFailed);
}

OAuthCodeFlow::~OAuthCodeFlow()
{
    m_tokens->detach();
}

void OAuthCodeFlow::setUrlEventHandler(UrlEventHandler handler)
{
    urlEventHandler() = std::move(handler);
}

void OAuthCodeFlow::setBrowserOpener(BrowserOpener opener)
{
    m_openBrowser = std::move(opener);
}

QByteArray OAuthCodeFlow::makeCodeVerifier()
{
    return randomUrlSafe(kVerifierBytes);
}

QByteArray OAuthCodeFlow::codeChallenge(const QByteArray &verifier)
{
    return QCryptographicHash::hash(verifier, QCryptographicHash::Sha256)
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

std::shared_ptr<TokenSource> OAuthCodeFlow::tokenSource() const
{
    return m_tokens;
}

bool OAuthCodeFlow::isListening() const
{
    return m_listener && m_listener->isListening();
}

bool OAuthCodeFlow::start()
{
    closeListener();
    m_phase = Phase::idle;
    if (m_provider.clientId.trimmed().isEmpty()) {
        fail(QStringLiteral("no_client_id"), QStringLiteral("no client identifier configured"));
        return false;
    }
    if (!LoopbackGuard::isSecureOrLoopbackUrl(m_provider.authorizationEndpoint)
        || !LoopbackGuard::isSecureOrLoopbackUrl(m_provider.tokenEndpoint)) {
        fail(QStringLiteral("no_endpoints"), QStringLiteral("the sign-in addresses are not configured"));
        return false;
    }
    if (!prepareRedirect())
        return false;
    m_verifier = makeCodeVerifier();
    m_state = QString::fromLatin1(randomUrlSafe(kStateBytes));
    m_code.clear();
    setState(m_state);
    m_phase = Phase::waitingForRedirect;
    Log::line(m_provider.name + QStringLiteral(" sign-in started, redirect ") + m_redirectUri);
    grant();
    return m_phase == Phase::waitingForRedirect;
}

bool OAuthCodeFlow::prepareRedirect()
{
    const QUrl configured(m_provider.redirectUri, QUrl::StrictMode);
    const bool listen = m_provider.redirectUri.isEmpty() || isLoopbackRedirect(configured);
    if (!m_provider.redirectUri.isEmpty() && (!configured.isValid() || configured.scheme().isEmpty())) {
        fail(QStringLiteral("invalid_redirect"), QStringLiteral("the redirect address is not valid"));
        return false;
    }
    if (!listen) {
        m_redirectUri = m_provider.redirectUri;
        m_handler->setCallback(m_redirectUri);
        return true;
    }
    const quint16 port
        = m_provider.redirectUri.isEmpty() ? m_provider.loopbackPort : quint16(configured.port(0));
    // Never QHostAddress::Any, Qt's default: the code must not be offered to the network.
    m_listener = new OAuthRedirectListener(this);
    m_listener->setAnswerText(m_provider.redirectAnswerText);
    if (!m_listener->listen(QHostAddress(QHostAddress::LocalHost), port, m_provider.redirectDeadlineMs)) {
        closeListener();
        fail(QStringLiteral("listen_failed"), QStringLiteral("the sign-in redirect cannot be received"));
        return false;
    }
    QString path = configured.path();
    m_listener->setCallbackPath(path);
    m_listener->setRedirectCheck([this](const QUrl &target) {
        return redirectValues(target).value(QStringLiteral("state")).toString() == m_state;
    });
    if (path.isEmpty())
        path = QStringLiteral("/");
    m_redirectUri
        = QStringLiteral("http://%1:%2%3")
              .arg(m_provider.redirectUri.isEmpty() ? QStringLiteral("127.0.0.1") : configured.host())
              .arg(m_listener->port())
              .arg(path);
    m_handler->setCallback(m_redirectUri);
    connect(m_listener, &OAuthRedirectListener::redirectReceived, this, &OAuthCodeFlow::listenerReceived);
    connect(m_listener, &OAuthRedirectListener::timedOut, this, [this] {
        if (m_phase == Phase::waitingForRedirect)
            fail(QStringLiteral("timed_out"), m_provider.timedOutText);
    });
    return true;
}

void OAuthCodeFlow::listenerReceived(const QUrl &target)
{
    QUrl url(m_redirectUri);
    url.setQuery(target.query(QUrl::FullyEncoded), QUrl::StrictMode);
    if (const UrlEventHandler &handler = urlEventHandler())
        handler(url.toString(QUrl::FullyEncoded));
    else
        resumeExternalUserAgentFlowWithURL(url);
    // The listener has closed; a redirect nobody took leaves nothing to wait for.
    if (m_phase == Phase::waitingForRedirect)
        fail(QStringLiteral("not_received"), m_provider.notReceivedText);
}

bool OAuthCodeFlow::resumeExternalUserAgentFlowWithURL(const QUrl &url)
{
    if (m_phase != Phase::waitingForRedirect)
        return false;
    if (!sameRedirectTarget(url, QUrl(m_redirectUri))) {
        Log::line(m_provider.name + QStringLiteral(" sign-in: a redirect to another address was ignored"));
        return false;
    }
    const QVariantMap values = redirectValues(url);
    if (values.value(QStringLiteral("state")).toString() != m_state) {
        Log::line(m_provider.name + QStringLiteral(" sign-in: a redirect with a foreign state was ignored"));
        return false;
    }
    const QString error = values.value(QStringLiteral("error")).toString();
    if (!error.isEmpty()) {
        fail(error, values.value(QStringLiteral("error_description")).toString());
        return true;
    }
    m_code = values.value(QStringLiteral("code")).toString();
    if (m_code.isEmpty()) {
        fail(QStringLiteral("no_code"), QStringLiteral("the redirect carried no authorization code"));
        return true;
    }
    m_phase = Phase::exchangingCode;
    m_handler->deliverRedirect(values);
    return true;
}

void OAuthCodeFlow::modifyParameters(Stage stage, QMultiMap<QString, QVariant> *parameters) const
{
    // Qt puts some values into the form as they are; every one is encoded here exactly once, so a
    // code holding "/" or "%" reaches the server as it was issued.
    auto encoded = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    switch (stage) {
    case Stage::RequestingAuthorization:
        replaceParameter(
            parameters, QStringLiteral("code_challenge"), QString::fromLatin1(codeChallenge(m_verifier)));
        replaceParameter(parameters, QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
        for (const auto &extra : m_provider.extraAuthorizationParameters)
            replaceParameter(parameters, extra.first, extra.second);
        break;
    case Stage::RequestingAccessToken:
        replaceParameter(parameters, QStringLiteral("code"), encoded(m_code));
        replaceParameter(parameters, QStringLiteral("code_verifier"), QString::fromLatin1(m_verifier));
        replaceParameter(parameters, QStringLiteral("redirect_uri"), encoded(m_redirectUri));
        replaceParameter(parameters, QStringLiteral("client_id"), encoded(m_provider.clientId));
        parameters->remove(QStringLiteral("client_secret"));
        if (!m_provider.clientSecret.isEmpty())
            parameters->insert(QStringLiteral("client_secret"), encoded(m_provider.clientSecret));
        break;
    case Stage::RefreshingAccessToken:
        replaceParameter(parameters, QStringLiteral("refresh_token"), encoded(refreshToken()));
        replaceParameter(parameters, QStringLiteral("client_id"), encoded(m_provider.clientId));
        parameters->remove(QStringLiteral("redirect_uri"));
        parameters->remove(QStringLiteral("client_secret"));
        if (!m_provider.clientSecret.isEmpty())
            parameters->insert(QStringLiteral("client_secret"), encoded(m_provider.clientSecret));
        break;
    case Stage::RequestingTemporaryCredentials:
        break;
    }
}

void OAuthCodeFlow::refreshForSource()
{
    if (m_refreshing)
        return;
    if (refreshToken().isEmpty() || m_phase != Phase::signedIn) {
        m_tokens->refreshFinished(false);
        return;
    }
    m_refreshing = true;
    refreshAccessToken();
    if (status() != Status::RefreshingToken) {
        m_refreshing = false;
        m_tokens->refreshFinished(false);
    }
}

void OAuthCodeFlow::tokenRequestSucceeded()
{
    if (m_refreshing) {
        m_refreshing = false;
        Log::line(m_provider.name + QStringLiteral(" access token refreshed"));
        m_tokens->refreshFinished(true);
        return;
    }
    if (m_phase != Phase::exchangingCode)
        return;
    m_phase = Phase::signedIn;
    closeListener();
    Log::line(m_provider.name + QStringLiteral(" sign-in succeeded"));
    emit signedIn();
}

void OAuthCodeFlow::tokenRequestFailed(const QString &error, const QString &description)
{
    if (m_refreshing) {
        m_refreshing = false;
        // The old token may still work, and a later refresh may succeed; Qt would stay "refreshing".
        setStatus(token().isEmpty() ? Status::NotAuthenticated : Status::Granted);
        Log::line(m_provider.name + QStringLiteral(" token refresh failed: ") + error + QLatin1Char(' ')
            + description);
        m_tokens->refreshFinished(false);
        return;
    }
    if (m_phase == Phase::exchangingCode)
        fail(error, description);
}

void OAuthCodeFlow::fail(const QString &error, const QString &description)
{
    m_phase = Phase::failed;
    setStatus(Status::NotAuthenticated);
    closeListener();
    Log::line(m_provider.name + QStringLiteral(" sign-in failed: ") + error + QLatin1Char(' ') + description);
    emit signInFailed(error, description);
}

void OAuthCodeFlow::closeListener()
{
    if (!m_listener)
        return;
    m_listener->close();
    disconnect(m_listener, nullptr, this, nullptr);
    QTimer::singleShot(kListenerLingerMs, m_listener, &QObject::deleteLater);
    m_listener = nullptr;
}

QJsonObject OAuthCodeFlow::tokenState() const
{
    QJsonObject state;
    state.insert(QStringLiteral("access_token"), token());
    state.insert(QStringLiteral("refresh_token"), refreshToken());
    state.insert(QStringLiteral("scope"), scope());
    if (expirationAt().isValid())
        state.insert(QStringLiteral("expires_at"), expirationAt().toUTC().toString(Qt::ISODate));
    return state;
}

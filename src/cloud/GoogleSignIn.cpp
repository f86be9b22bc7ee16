#include "cloud/GoogleSignIn.h"

#include <QJsonDocument>
#include <QPointer>

#include "app/LocalizedString.h"
#include "cloud/DriveService.h"
#include "platform/CloudConfiguration.h"
#include "platform/Log.h"
#include "platform/TokenSource.h"

namespace
{

HttpClient::Options discoveryOptions(int transferTimeoutMs)
{
    HttpClient::Options options;
    options.mode = HttpClient::Mode::guiThread;
    options.transferTimeoutMs = transferTimeoutMs;
    return options;
}

} // namespace

GoogleSignIn::Settings GoogleSignIn::Settings::fromConfiguration()
{
    Settings settings;
    settings.issuer = QUrl(CloudConfiguration::googleIssuer());
    settings.clientId = CloudConfiguration::googleClientId();
    settings.clientSecret = CloudConfiguration::googleClientSecret();
    settings.transferTimeoutMs = CloudConfiguration::transferTimeoutMs();
    return settings;
}

GoogleSignIn::GoogleSignIn(DriveService &service, Settings settings, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_settings(std::move(settings))
    , m_discoveryClient(discoveryOptions(m_settings.transferTimeoutMs))
{
}

GoogleSignIn::~GoogleSignIn() = default;

void GoogleSignIn::setBrowserOpener(OAuthCodeFlow::BrowserOpener opener)
{
    m_openBrowser = std::move(opener);
}

void GoogleSignIn::start()
{
    m_authorization.reset();
    const int generation = ++m_generation;
    if (m_settings.clientId.trimmed().isEmpty()) {
        const QString description = localizedString(QStringLiteral("ID_GOOGLE_DRIVE_NO_CLIENT_ID"));
        Log::line(QStringLiteral("Authorization error: ") + description);
        saveState();
        emit signInFailed(description);
        return;
    }
    Log::line(QStringLiteral("Fetching configuration for issuer: ") + m_settings.issuer.toString());
    QPointer<GoogleSignIn> self(this);
    OAuthDiscovery::discover(m_discoveryClient, m_settings.issuer,
        [self, generation](const std::optional<OAuthEndpoints> &endpoints, const QString &error) {
            if (self && generation == self->m_generation)
                self->startAuthorization(endpoints, error);
        });
}

void GoogleSignIn::startAuthorization(const std::optional<OAuthEndpoints> &endpoints, const QString &error)
{
    if (!endpoints) {
        Log::line(QStringLiteral("Error retrieving discovery document: ") + error);
        m_authorization.reset();
        saveState();
        emit discoveryFailed(error);
        return;
    }
    OAuthProvider provider;
    provider.name = QStringLiteral("Google Drive");
    provider.authorizationEndpoint = endpoints->authorizationEndpoint;
    provider.tokenEndpoint = endpoints->tokenEndpoint;
    provider.clientId = m_settings.clientId;
    provider.clientSecret = m_settings.clientSecret;
    provider.scope = QString::fromLatin1(kScope);
    provider.transferTimeoutMs = m_settings.transferTimeoutMs;
    provider.apiBases = { QUrl(m_service.apiBase()) };
    provider.redirectAnswerText = localizedString(QStringLiteral("ID_SIGN_IN_RECEIVED"));
    provider.timedOutText = localizedString(QStringLiteral("ID_SIGN_IN_TIMED_OUT"));
    provider.notReceivedText = localizedString(QStringLiteral("ID_SIGN_IN_NOT_RECEIVED"));
    // deleteLater: a replaced flow may be the sender of the signal being handled.
    std::shared_ptr<OAuthCodeFlow> flow(
        new OAuthCodeFlow(provider), [](OAuthCodeFlow *old) { old->deleteLater(); });
    if (m_openBrowser)
        flow->setBrowserOpener(m_openBrowser);
    const OAuthCodeFlow *key = flow.get();
    connect(flow.get(), &OAuthCodeFlow::signedIn, this,
        [this, key] { handleAuthorizationResult(key, true, QString()); });
    connect(flow.get(), &OAuthCodeFlow::signInFailed, this,
        [this, key](const QString &, const QString &description) {
            handleAuthorizationResult(key, false, description);
        });
    m_flow = flow;
    emit authorizationFlowStarted(flow);
    flow->start();
}

void GoogleSignIn::handleAuthorizationResult(const OAuthCodeFlow *flow, bool ok, const QString &description)
{
    if (flow != m_flow.get())
        return;
    if (ok) {
        m_authorization = m_flow->tokenSource();
        m_service.setAuthorizer(m_authorization);
        saveState();
        emit signedIn();
        return;
    }
    m_authorization.reset();
    saveState();
    Log::line(QStringLiteral("Authorization error: ") + description);
    emit signInFailed(description);
}

void GoogleSignIn::saveState()
{
    SecretStore store(m_settings.secretBackend);
    const QString name = QString::fromLatin1(kSecretName);
    if (m_authorization && m_flow && m_flow->isSignedIn())
        store.write(name, QJsonDocument(m_flow->tokenState()).toJson(QJsonDocument::Compact));
    else
        store.remove(name);
}

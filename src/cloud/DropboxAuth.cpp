#include "cloud/DropboxAuth.h"

#include <atomic>

#include <QCoreApplication>
#include <QDesktopServices>

#include "app/LocalizedString.h"
#include "cloud/DropboxApi.h"
#include "platform/CloudConfiguration.h"
#include "platform/Log.h"
#include "platform/TokenSource.h"

namespace
{

std::atomic<DropboxAuth *> &sharedInstance()
{
    static std::atomic<DropboxAuth *> instance { nullptr };
    return instance;
}

} // namespace

DropboxAuth::DropboxAuth(QObject *parent)
    : QObject(parent)
{
}

DropboxAuth::~DropboxAuth()
{
    DropboxAuth *self = this;
    if (sharedInstance().compare_exchange_strong(self, nullptr))
        DropboxClientsManager::setShared(nullptr);
}

DropboxAuth *DropboxAuth::sharedAuth()
{
    if (DropboxAuth *existing = sharedInstance().load())
        return existing;
    auto *auth = new DropboxAuth(QCoreApplication::instance());
    sharedInstance().store(auth);
    DropboxClientsManager::setShared(auth);
    // Nothing is stored between runs, so this is the sign-out every start begins with.
    auth->unlinkClients();
    auth->resetClients();
    return auth;
}

std::shared_ptr<TokenSource> DropboxAuth::sharedAuthorizedClient()
{
    DropboxAuth *auth = sharedInstance().load();
    return auth ? auth->authorizedClient() : nullptr;
}

OAuthProvider DropboxAuth::provider()
{
    OAuthProvider provider;
    provider.name = QStringLiteral("Dropbox");
    provider.authorizationEndpoint
        = DropboxApi::endpoint(QUrl(CloudConfiguration::dropboxAuthBase()), "/oauth2/authorize");
    provider.tokenEndpoint
        = DropboxApi::endpoint(QUrl(CloudConfiguration::dropboxApiBase()), "/oauth2/token");
    provider.clientId = CloudConfiguration::dropboxAppKey();
    provider.scope = QString::fromLatin1(kScopes);
    provider.extraAuthorizationParameters
        = { { QStringLiteral("token_access_type"), QStringLiteral("offline") } };
    provider.redirectUri = CloudConfiguration::dropboxRedirectUri();
    provider.transferTimeoutMs = CloudConfiguration::transferTimeoutMs();
    provider.apiBases
        = { QUrl(CloudConfiguration::dropboxApiBase()), QUrl(CloudConfiguration::dropboxContentBase()) };
    provider.redirectAnswerText = localizedString(QStringLiteral("ID_SIGN_IN_RECEIVED"));
    provider.timedOutText = localizedString(QStringLiteral("ID_SIGN_IN_TIMED_OUT"));
    provider.notReceivedText = localizedString(QStringLiteral("ID_SIGN_IN_NOT_RECEIVED"));
    return provider;
}

void DropboxAuth::setBrowserOpener(OAuthCodeFlow::BrowserOpener opener)
{
    m_opener = std::move(opener);
}

bool DropboxAuth::authorizeFromControllerV2()
{
    if (authorizedClient())
        return true;
    m_flow = std::make_unique<OAuthCodeFlow>(provider());
    m_flow->setBrowserOpener(m_opener ? m_opener : [](const QUrl &url) {
        const bool opened = QDesktopServices::openUrl(url);
        if (opened)
            Log::line(QStringLiteral("Dropbox sign-in page opened in the browser"));
        return opened;
    });
    connect(m_flow.get(), &OAuthCodeFlow::signedIn, this, [this] {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_authorized = m_flow->tokenSource();
        }
        finish(DropboxOAuthResult { DropboxOAuthResult::Kind::success, {} });
    });
    connect(m_flow.get(), &OAuthCodeFlow::signInFailed, this,
        [this](const QString &error, const QString &description) {
            // The user declining in the browser is a cancel, not a failure.
            if (error == QLatin1String("access_denied")) {
                finish(DropboxOAuthResult { DropboxOAuthResult::Kind::cancel, {} });
                return;
            }
            // Our own descriptions say it all; the provider's errors keep their code.
            const bool ours = error == QLatin1String("timed_out") || error == QLatin1String("not_received");
            const QString text = description.isEmpty() ? error
                : ours                                 ? description
                                                       : error + QStringLiteral(": ") + description;
            finish(DropboxOAuthResult { DropboxOAuthResult::Kind::error, text });
        });
    return m_flow->start();
}

std::shared_ptr<TokenSource> DropboxAuth::authorizedClient() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_authorized;
}

bool DropboxAuth::isWaitingForRedirect() const
{
    return m_flow && m_flow->isWaitingForRedirect();
}

void DropboxAuth::handleRedirectURL(const QUrl &url, Completion completion)
{
    // Set first: a refused redirect may end the flow before resume returns.
    m_pending = std::move(completion);
    if (m_flow && m_flow->resumeExternalUserAgentFlowWithURL(url))
        return;
    Completion pending = std::move(m_pending);
    m_pending = nullptr;
    if (pending)
        pending(std::nullopt);
}

void DropboxAuth::finish(const DropboxOAuthResult &result)
{
    Completion pending = std::move(m_pending);
    m_pending = nullptr;
    emit signInFinished(result);
    if (pending)
        pending(result);
}

void DropboxAuth::unlinkClients()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_authorized.reset();
}

void DropboxAuth::resetClients()
{
    m_pending = nullptr;
    if (!m_flow)
        return;
    // A flow on its way out answers no one: its handlers read m_flow, which is gone.
    m_flow->disconnect(this);
    m_flow.release()->deleteLater();
}

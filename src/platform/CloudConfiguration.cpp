#include "platform/CloudConfiguration.h"

#include <QUrl>

#include "platform/Configuration.h"
#include "platform/Log.h"
#include "platform/LoopbackGuard.h"

namespace
{

constexpr int kDefaultTransferTimeoutMs = 60000;

// Tokens, codes and files travel to these addresses: a configured one that is not https (or http
// on this machine, for local test servers) is refused, so nothing goes across the network in clear.
QString secureBase(const char *environmentVariable, const QString &settingsKey, const QString &builtIn)
{
    const QString configured = Configuration::value(environmentVariable, settingsKey, builtIn);
    const QUrl url(configured, QUrl::StrictMode);
    if (LoopbackGuard::isSecureOrLoopbackUrl(url))
        return configured;
    Log::line(QStringLiteral("Cloud address refused, not https: ") + settingsKey + QStringLiteral(" = ")
        + url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) + QStringLiteral("; using ")
        + builtIn);
    return builtIn;
}

} // namespace

QString CloudConfiguration::dropboxApiBase()
{
    return secureBase("QUENNARY_DROPBOX_API_BASE", QStringLiteral("cloudDropboxApiBase"),
        QStringLiteral("https://api.dropboxapi.com"));
}

QString CloudConfiguration::dropboxContentBase()
{
    return secureBase("QUENNARY_DROPBOX_CONTENT_BASE", QStringLiteral("cloudDropboxContentBase"),
        QStringLiteral("https://content.dropboxapi.com"));
}

QString CloudConfiguration::dropboxAuthBase()
{
    return secureBase("QUENNARY_DROPBOX_AUTH_BASE", QStringLiteral("cloudDropboxAuthBase"),
        QStringLiteral("https://www.dropbox.com"));
}

QString CloudConfiguration::dropboxAppKey()
{
    return Configuration::value("QUENNARY_DROPBOX_APP_KEY", QStringLiteral("cloudDropboxAppKey"));
}

QString CloudConfiguration::dropboxRedirectUri()
{
    return Configuration::value("QUENNARY_DROPBOX_REDIRECT_URI", QStringLiteral("cloudDropboxRedirectUri"));
}

QString CloudConfiguration::googleIssuer()
{
    return secureBase("QUENNARY_GOOGLE_ISSUER", QStringLiteral("cloudGoogleIssuer"),
        QStringLiteral("https://accounts.google.com"));
}

QString CloudConfiguration::googleApiBase()
{
    return secureBase("QUENNARY_GOOGLE_API_BASE", QStringLiteral("cloudGoogleApiBase"),
        QStringLiteral("https://www.googleapis.com"));
}

QString CloudConfiguration::googleClientId()
{
    return Configuration::value("QUENNARY_GOOGLE_CLIENT_ID", QStringLiteral("cloudGoogleClientId"));
}

QString CloudConfiguration::googleClientSecret()
{
    return Configuration::value("QUENNARY_GOOGLE_CLIENT_SECRET", QStringLiteral("cloudGoogleClientSecret"));
}

int CloudConfiguration::transferTimeoutMs()
{
    bool ok = false;
    const int seconds
        = Configuration::value("QUENNARY_CLOUD_TIMEOUT_SECONDS", QStringLiteral("cloudTimeoutSeconds"))
              .toInt(&ok);
    return ok && seconds > 0 ? seconds * 1000 : kDefaultTransferTimeoutMs;
}

#include "platform/LoopbackGuard.h"

#include <algorithm>
#include <atomic>

#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QUrl>

#include "platform/Log.h"

namespace
{

std::atomic<bool> installed { false };

int effectivePort(const QUrl &url)
{
    if (url.scheme() == QLatin1String("https"))
        return url.port(443);
    if (url.scheme() == QLatin1String("http"))
        return url.port(80);
    return url.port(-1);
}

// Qt asks the application's proxy factory before every connection that is not to a loopback
// address. The answer for any other host is a proxy without capabilities, which neither sockets nor
// network replies can use: sockets fail with UnsupportedSocketOperationError and replies with
// ProxyNotFoundError, before anything is opened or looked up. (An empty answer would not do: Qt
// reads it as "no proxy" and connects directly.)
class LoopbackOnlyProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        // Listening is not reaching out: fake servers bind their own loopback address.
        if (query.queryType() == QNetworkProxyQuery::TcpServer)
            return { QNetworkProxy(QNetworkProxy::NoProxy) };
        const QString host = query.peerHostName().isEmpty() ? query.url().host() : query.peerHostName();
        if (LoopbackGuard::isLoopbackHost(host))
            return { QNetworkProxy(QNetworkProxy::NoProxy) };
        Log::line(QStringLiteral("Refused connection to a host outside this machine: ") + host);
        QNetworkProxy unusable(QNetworkProxy::HttpProxy, QStringLiteral("0.0.0.0"), 9);
        unusable.setCapabilities({});
        return { unusable };
    }
};

} // namespace

bool LoopbackGuard::isLoopbackHost(const QString &host)
{
    QString name = host.trimmed().toLower();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    if (name == QLatin1String("localhost"))
        return true;
    QHostAddress address;
    return address.setAddress(name) && address.isLoopback();
}

bool LoopbackGuard::isLoopbackUrl(const QUrl &url)
{
    return isLoopbackHost(url.host());
}

bool LoopbackGuard::isSecureOrLoopbackUrl(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("https") || (scheme == QLatin1String("http") && isLoopbackUrl(url));
}

bool LoopbackGuard::isAllowedListedLink(const QUrl &url, const QList<QUrl> &configuredBases)
{
    if (!isSecureOrLoopbackUrl(url))
        return false;
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
        return true;
    return std::any_of(configuredBases.begin(), configuredBases.end(),
        [&url](const QUrl &base) { return isSecureOrLoopbackUrl(base) && isSameOrigin(url, base); });
}

bool LoopbackGuard::isSameOrigin(const QUrl &url, const QUrl &base)
{
    return url.scheme().compare(base.scheme(), Qt::CaseInsensitive) == 0
        && url.host().compare(base.host(), Qt::CaseInsensitive) == 0 && effectivePort(url) == effectivePort(base);
}

void LoopbackGuard::install()
{
    if (installed.exchange(true))
        return;
    QNetworkProxyFactory::setApplicationProxyFactory(new LoopbackOnlyProxyFactory);
}

bool LoopbackGuard::isInstalled()
{
    return installed.load();
}

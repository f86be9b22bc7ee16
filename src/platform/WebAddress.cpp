#include "platform/WebAddress.h"

QUrl WebAddress::page(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("https") || scheme == QLatin1String("http") ? url : QUrl();
}

#include "platform/TokenSource.h"

#include <utility>

TokenSource::TokenSource(QList<QUrl> apiBases)
    : m_apiBases(std::move(apiBases))
{
}

namespace
{

int effectivePort(const QUrl &url)
{
    if (url.scheme() == QLatin1String("https"))
        return url.port(443);
    if (url.scheme() == QLatin1String("http"))
        return url.port(80);
    return url.port(-1);
}

} // namespace

bool TokenSource::isApiHost(const QUrl &url) const
{
    for (const QUrl &base : m_apiBases) {
        if (base.isValid() && !base.host().isEmpty() && url.scheme() == base.scheme()
            && url.host().compare(base.host(), Qt::CaseInsensitive) == 0
            && effectivePort(url) == effectivePort(base))
            return true;
    }
    return false;
}

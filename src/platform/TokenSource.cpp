#include "platform/TokenSource.h"

#include <utility>

#include "platform/LoopbackGuard.h"

TokenSource::TokenSource(QList<QUrl> apiBases)
    : m_apiBases(std::move(apiBases))
{
}

bool TokenSource::isApiHost(const QUrl &url) const
{
    for (const QUrl &base : m_apiBases) {
        if (base.isValid() && !base.host().isEmpty() && LoopbackGuard::isSameOrigin(url, base))
            return true;
    }
    return false;
}
